#include "memory_image.h"

#include "errors.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hunt {

namespace {

std::string describe(const std::string &what, const std::string &path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

// Closes the descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::string directoryOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

void MemoryImage::loadram(const std::string &path) {
    // Non-blocking open, so that a pipe or device named like the image cannot hang start-up.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT)
            return; // no image yet: it stays as it is
        throw HuntError(describe("Cannot open", path, errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw HuntError(describe("Cannot read", path, errno));
    if (!S_ISREG(info.st_mode))
        throw HuntError("Cannot read " + path + ": it is not a regular file");
    // Bytes beyond the image are not read; a shorter file leaves the rest as it was.
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(file.get(), bytes.data() + filled, size - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw HuntError(describe("Cannot read", path, errno));
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    if (::close(file.release()) != 0)
        throw HuntError(describe("Cannot close", path, errno));
}

void MemoryImage::saveram(const std::string &givenPath) const {
    // A symbolic link keeps pointing at the image: the file it names is the one replaced.
    std::string path = givenPath;
    struct stat link {};
    if (::lstat(givenPath.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char *target = ::realpath(givenPath.c_str(), nullptr)) {
            path = target;
            std::free(target);
        }
    }
    // The old file is replaced only by a complete new one: the image is written to a temporary
    // file beside it, flushed to the disk and renamed over it.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            throw HuntError("Cannot write " + path + ": it is not a regular file");
        // A write-protected image stays as it is, as it would if it were overwritten in place;
        // a file without any write permission counts as protected even for the superuser.
        if (::access(path.c_str(), W_OK) != 0)
            throw HuntError(describe("Cannot write", path, errno));
        if ((old.st_mode & 0222) == 0)
            throw HuntError("Cannot write " + path + ": the file is read-only");
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temporary = path + ".XXXXXX";
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0)
        throw HuntError(describe("Cannot create a temporary file beside", path, errno));
    auto fail = [&](const std::string &what) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw HuntError(describe(what, path, error));
    };

    std::size_t written = 0;
    while (written < size) {
        const ssize_t put = ::write(file.get(), bytes.data() + written, size - written);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail("Cannot write");
        }
        written += static_cast<std::size_t>(put);
    }
    if (::fchmod(file.get(), mode) != 0)
        fail("Cannot set the permissions of");
    if (::fsync(file.get()) != 0)
        fail("Cannot write");
    if (::close(file.release()) != 0)
        fail("Cannot write");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail("Cannot replace");

    // Make the rename itself durable; the new file is complete either way.
    FileDescriptor directory(::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
}

uint8_t MemoryImage::peek(double address) const {
    const double whole = std::trunc(address);
    // Addresses outside the image read as 0.
    if (!(whole >= 0 && whole < static_cast<double>(size)))
        return 0;
    return bytes[static_cast<std::size_t>(whole)];
}

} // namespace hunt
