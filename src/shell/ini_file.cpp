#include "ini_file.h"

#include "runtime/errors.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace hunt {
namespace {

// A settings file is a few hundred bytes; anything far larger is not one of ours, and is
// neither loaded into memory for a read nor rewritten.
constexpr off_t maxFileSize = 16 * 1024 * 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

std::string describeErrno(int error) {
    return std::strerror(error);
}

// The whole file, or why it could not be had.
struct FileContent {
    enum class State { Read, Missing, Failed } state = State::Missing;
    std::string bytes;
    std::string error;   // when Failed
    struct stat info {}; // when Read
};

FileContent readWholeFile(const std::string &path) {
    FileContent result;
    // O_NONBLOCK keeps a FIFO at the path from blocking the open; regular files ignore it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            result.state = FileContent::State::Missing;
        } else {
            result.state = FileContent::State::Failed;
            result.error = describeErrno(error);
        }
        return result;
    }
    result.state = FileContent::State::Failed;
    if (::fstat(fd, &result.info) != 0) {
        result.error = describeErrno(errno);
    } else if (!S_ISREG(result.info.st_mode)) {
        result.error = "not a regular file";
    } else if (result.info.st_size > maxFileSize) {
        result.error = "the file is too large to be a settings file";
    } else {
        result.bytes.reserve(static_cast<std::size_t>(result.info.st_size));
        char buffer[8192];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                result.error = describeErrno(errno);
                break;
            }
            if (got == 0) {
                result.state = FileContent::State::Read;
                break;
            }
            result.bytes.append(buffer, static_cast<std::size_t>(got));
            if (result.bytes.size() > static_cast<std::size_t>(maxFileSize)) {
                result.error = "the file is too large to be a settings file";
                break;
            }
        }
    }
    ::close(fd);
    if (result.state != FileContent::State::Read)
        result.bytes.clear();
    return result;
}

// Where a section and a key sit in the file's bytes.
struct Location {
    bool sectionFound = false;
    std::size_t sectionEnd = 0; // just past the line ending of the section's last non-blank line
    bool keyFound = false;
    std::size_t valueBegin = 0; // the value's bytes, blanks around it excluded
    std::size_t valueEnd = 0;
};

Location locate(std::string_view content, std::string_view section, std::string_view key) {
    Location found;
    std::size_t pos = 0;
    // A UTF-8 byte order mark left by an editor is not part of the first line.
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        pos = 3;
    bool inSection = false;
    while (pos < content.size()) {
        const std::size_t newline = content.find('\n', pos);
        const std::size_t lineEnd = newline == std::string_view::npos ? content.size() : newline;
        const std::size_t next = newline == std::string_view::npos ? content.size() : newline + 1;
        const std::string_view line = content.substr(pos, lineEnd - pos);
        const std::string_view text = trim(line);
        const std::size_t lineBegin = pos;
        pos = next;

        if (!text.empty() && text.front() == '[' && text.find(']') != std::string_view::npos) {
            // Only the first section of a name counts; later duplicates are left alone.
            const std::string_view name = trim(text.substr(1, text.find(']') - 1));
            inSection = !found.sectionFound && sameName(name, section);
            if (inSection) {
                found.sectionFound = true;
                found.sectionEnd = next;
            }
            continue;
        }
        if (!inSection || text.empty())
            continue;
        found.sectionEnd = next;
        if (found.keyFound || text.front() == ';' || text.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !sameName(trim(line.substr(0, equals)), key))
            continue;
        found.keyFound = true;
        std::size_t begin = lineBegin + equals + 1;
        std::size_t end = lineEnd;
        while (begin < end && isBlank(content[begin]))
            ++begin;
        while (end > begin && isBlank(content[end - 1]))
            --end;
        found.valueBegin = begin;
        found.valueEnd = end;
    }
    return found;
}

std::optional<std::string> lookUp(const std::string &path, std::string_view section,
                                  std::string_view key) {
    const FileContent file = readWholeFile(path);
    if (file.state != FileContent::State::Read)
        return std::nullopt;
    const Location where = locate(file.bytes, section, key);
    if (!where.keyFound)
        return std::nullopt;
    return file.bytes.substr(where.valueBegin, where.valueEnd - where.valueBegin);
}

std::optional<int32_t> parseInteger(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// A name that would not be found again when the file is read back is refused: empty, with
// blanks around it, a line break, or a character that ends it early (forbidden).
void checkName(std::string_view name, const char *what, std::string_view forbidden) {
    const bool readable = !name.empty() && trim(name) == name &&
                          name.find_first_of("\r\n") == std::string_view::npos &&
                          name.find_first_of(forbidden) == std::string_view::npos;
    if (!readable)
        throw HuntError(std::string("Invalid settings ") + what + " name \"" + std::string(name) +
                        "\"");
}

std::string lineEndingOf(std::string_view content) {
    const std::size_t newline = content.find('\n');
    return newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n"
                                                                                            : "\n";
}

bool endsWithBlankLine(std::string_view content) {
    // content ends with a line ending here; look at the line before it.
    std::string_view body = content.substr(0, content.size() - 1);
    const std::size_t newline = body.rfind('\n');
    const std::string_view last =
        newline == std::string_view::npos ? body : body.substr(newline + 1);
    return trim(last).empty();
}

// The file's content with the key set to value, every other byte kept.
std::string withValue(std::string content, std::string_view section, std::string_view key,
                      std::string_view value) {
    const Location where = locate(content, section, key);
    const std::string eol = lineEndingOf(content);
    if (where.keyFound) {
        content.replace(where.valueBegin, where.valueEnd - where.valueBegin, value);
        return content;
    }
    std::string entry = std::string(key) + "=" + std::string(value) + eol;
    if (where.sectionFound) {
        if (where.sectionEnd == content.size() && !content.empty() && content.back() != '\n')
            entry.insert(0, eol);
        content.insert(where.sectionEnd, entry);
        return content;
    }
    if (!content.empty()) {
        if (content.back() != '\n')
            content += eol;
        if (!endsWithBlankLine(content))
            content += eol;
    }
    content += "[" + std::string(section) + "]" + eol + entry;
    return content;
}

std::atomic<unsigned> temporaryCounter{0};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// Replaces the file at target by content: a temporary file beside it is written, synced and
// renamed over the target, so the target holds either the old or the new content, never a mix.
void replaceFile(const std::string &target, const std::string &content, const struct stat *old) {
    auto fail = [&target](const std::string &why) {
        throw HuntError("Cannot write the settings file " + target + ": " + why);
    };
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" +
                    std::to_string(temporaryCounter.fetch_add(1));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            fail(describeErrno(errno));
    }
    if (fd < 0)
        fail("no free name for a temporary file");

    if (old != nullptr) {
        // Keep the old file's permissions and, where allowed, its owner.
        (void)::fchmod(fd, old->st_mode & 07777);
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            // Only a privileged process may give a file away; the content matters more.
        }
    }
    std::string error;
    if (!writeAll(fd, content) || ::fsync(fd) != 0)
        error = describeErrno(errno);
    if (::close(fd) != 0 && error.empty())
        error = describeErrno(errno);
    if (error.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = describeErrno(errno);
    if (!error.empty()) {
        ::unlink(temporary.c_str());
        fail(error);
    }

    // Make the rename itself durable; the new content is in place either way.
    std::filesystem::path directory = std::filesystem::path(target).parent_path();
    if (directory.empty())
        directory = ".";
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

// A symbolic link at the path is followed, so that the file it points to is rewritten rather
// than the link replaced by a plain file.
std::string writeTarget(const std::string &path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char *resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

void writeValue(const std::string &path, std::string_view section, std::string_view key,
                std::string_view value) {
    checkName(section, "section", "]");
    checkName(key, "key", "=");
    if (key.front() == '[' || key.front() == ';' || key.front() == '#')
        throw HuntError("Invalid settings key name \"" + std::string(key) + "\"");
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw HuntError("A settings value cannot hold a line break (key \"" + std::string(key) +
                        "\")");

    const std::string target = writeTarget(path);
    const FileContent file = readWholeFile(target);
    if (file.state == FileContent::State::Failed)
        throw HuntError("Cannot read the settings file " + target + " to change it: " + file.error);
    const bool existed = file.state == FileContent::State::Read;
    replaceFile(target, withValue(file.bytes, section, key, value), existed ? &file.info : nullptr);
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::exists() const {
    struct stat info {};
    return ::stat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IniFile::readFlag(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    const std::optional<std::string> text = lookUp(path_, section, key);
    if (!text)
        return defaultValue;
    return parseInteger(*text).value_or(defaultValue);
}

std::string IniFile::readText(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    return lookUp(path_, section, key).value_or(std::string(defaultValue));
}

void IniFile::writeFlag(std::string_view section, std::string_view key, bool value) {
    writeValue(path_, section, key, value ? "1" : "0");
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
    writeValue(path_, section, key, std::to_string(value));
}

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view value) {
    writeValue(path_, section, key, value);
}

std::string settingsFilePathFor(const std::string &executablePath) {
    std::filesystem::path path(executablePath);
    path.replace_extension(".ini");
    return path.string();
}

std::string settingsFilePath() {
    std::error_code error;
    std::string executable = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error || executable.empty())
        throw HuntError("Cannot find the program's own path to locate its settings file: " +
                        error.message());
    // The kernel marks an executable replaced or removed while running; its old name counts.
    constexpr std::string_view deleted = " (deleted)";
    if (executable.size() > deleted.size() && executable.ends_with(deleted))
        executable.resize(executable.size() - deleted.size());
    return settingsFilePathFor(executable);
}

} // namespace hunt
