#include "runtime/errors.h"
#include "runtime/memory_image.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace hunt {
namespace {

namespace fs = std::filesystem;

class MemoryImageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "hunt-ram-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "ram.dat").string();
    }
    void TearDown() override {
        ::chmod(dir_.c_str(), 0700);
        fs::remove_all(dir_);
    }

    void writeFile(const std::vector<uint8_t> &content) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(content.data()),
                  static_cast<std::streamsize>(content.size()));
    }
    std::vector<uint8_t> readFile() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<fs::path> filesInDirectory() const {
        std::vector<fs::path> files;
        for (const auto &entry : fs::directory_iterator(dir_))
            files.push_back(entry.path().filename());
        return files;
    }
    static std::vector<uint8_t> patterned(std::size_t n, uint8_t salt) {
        std::vector<uint8_t> content(n);
        for (std::size_t i = 0; i < n; ++i)
            content[i] = static_cast<uint8_t>((i * 7 + salt) % 251);
        return content;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(MemoryImageFiles, NoFileLeavesZerosAndSaveCreatesAFullImage) {
    MemoryImage image;
    image.loadram(path_);
    for (uint8_t byte : image.bytes)
        ASSERT_EQ(byte, 0);
    image.saveram(path_);
    EXPECT_EQ(readFile(), std::vector<uint8_t>(MemoryImage::size, 0));
    EXPECT_EQ(filesInDirectory(), std::vector<fs::path>{"ram.dat"});
}

TEST_F(MemoryImageFiles, LoadsMinOfFileSizeAndImageSize) {
    for (std::size_t n :
         {std::size_t{0}, std::size_t{100}, std::size_t{65536}, std::size_t{70000}}) {
        const auto content = patterned(n, 3);
        writeFile(content);
        MemoryImage image;
        image.loadram(path_);
        const std::size_t loaded = std::min(n, MemoryImage::size);
        for (std::size_t i = 0; i < MemoryImage::size; ++i)
            ASSERT_EQ(image.bytes[i], i < loaded ? content[i] : 0) << n << " bytes, address " << i;

        image.saveram(path_);
        const auto saved = readFile();
        ASSERT_EQ(saved.size(), MemoryImage::size) << n << " bytes";
        EXPECT_TRUE(std::equal(image.bytes.begin(), image.bytes.end(), saved.begin()));
    }
}

TEST_F(MemoryImageFiles, ReplacesTheOldFileAndKeepsItsPermissions) {
    writeFile(patterned(65536, 1));
    ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
    MemoryImage image;
    image.bytes.fill(0x5A);
    image.saveram(path_);
    EXPECT_EQ(readFile(), std::vector<uint8_t>(MemoryImage::size, 0x5A));
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesInDirectory(), std::vector<fs::path>{"ram.dat"});
}

TEST_F(MemoryImageFiles, SaveFailingHalfWayLeavesTheOldFileIntact) {
    const auto old = patterned(65536, 9);
    writeFile(old);
    // A child process with a 4 KiB file size limit: the new image cannot be written whole.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        MemoryImage image;
        image.bytes.fill(0x11);
        try {
            image.saveram(path_);
        } catch (const HuntError &error) {
            const std::string message = error.what();
            ::_exit(message.find(path_) != std::string::npos ? 0 : 3);
        }
        ::_exit(2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no error raised, 3: message lacks the file name";
    EXPECT_EQ(readFile(), old);
    EXPECT_EQ(filesInDirectory(), std::vector<fs::path>{"ram.dat"}) << "no temporary left behind";
}

TEST_F(MemoryImageFiles, ReadOnlyFileIsNotReplaced) {
    const auto old = patterned(100, 4);
    writeFile(old);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    MemoryImage image;
    image.bytes.fill(1);
    try {
        image.saveram(path_);
        ADD_FAILURE() << "no error";
    } catch (const HuntError &error) {
        EXPECT_NE(std::string(error.what()).find(path_), std::string::npos) << error.what();
    }
    EXPECT_EQ(readFile(), old);
    EXPECT_EQ(filesInDirectory(), std::vector<fs::path>{"ram.dat"});
}

TEST_F(MemoryImageFiles, MissingDirectoryIsAnErrorNamingTheFile) {
    const std::string path = (dir_ / "missing" / "ram.dat").string();
    MemoryImage image;
    try {
        image.saveram(path);
        ADD_FAILURE() << "no error";
    } catch (const HuntError &error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    EXPECT_NO_THROW(image.loadram(path)) << "a missing image is no error";
}

TEST_F(MemoryImageFiles, UnreadableFileIsAnErrorNamingIt) {
    fs::create_directory(path_); // a directory named ram.dat cannot be read as a file
    MemoryImage image;
    try {
        image.loadram(path_);
        ADD_FAILURE() << "no error";
    } catch (const HuntError &error) {
        EXPECT_NE(std::string(error.what()).find(path_), std::string::npos) << error.what();
    }
    EXPECT_THROW(image.saveram(path_), HuntError);
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(MemoryImageFiles, PipeNamedLikeTheImageIsAnErrorNotAHang) {
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    MemoryImage image;
    EXPECT_THROW(image.loadram(path_), HuntError);
}

TEST_F(MemoryImageFiles, SaveThroughASymbolicLinkReplacesItsTarget) {
    const fs::path target = dir_ / "image.bin";
    {
        std::ofstream out(target, std::ios::binary);
        out << "old";
    }
    fs::create_symlink(target, path_);
    MemoryImage image;
    image.bytes.fill(0x33);
    image.saveram(path_);
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(fs::file_size(target), MemoryImage::size);
    EXPECT_EQ(readFile(), std::vector<uint8_t>(MemoryImage::size, 0x33));
}

TEST(MemoryImagePeek, TruncatesTheAddressAndReadsZeroOutside) {
    MemoryImage image;
    image.bytes[MemoryImage::reviewswitch] = 1;
    image.bytes[0] = 7;
    image.bytes[65535] = 9;
    EXPECT_EQ(image.peek(50730), 1);
    EXPECT_EQ(image.peek(50730.9), 1);
    EXPECT_EQ(image.peek(0), 7);
    EXPECT_EQ(image.peek(0.5), 7);
    EXPECT_EQ(image.peek(-0.5), 7);
    EXPECT_EQ(image.peek(65535.99), 9);
    EXPECT_EQ(image.peek(65536), 0);
    EXPECT_EQ(image.peek(-1), 0);
    EXPECT_EQ(image.peek(1e300), 0);
    EXPECT_EQ(image.peek(std::numeric_limits<double>::quiet_NaN()), 0);
}

} // namespace
} // namespace hunt
