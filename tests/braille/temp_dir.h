#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace hunt::test {

// Runs each test in its own fresh temporary directory as the current directory, since the
// readers open their files relative to it.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "hunt-braille-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    // Writes `bytes` exactly as given (no newline translation).
    static void writeFile(const std::string &name, const std::string &bytes) {
        std::ofstream out(name, std::ios::binary);
        out << bytes;
    }

private:
    std::filesystem::path dir_, previous_;
};

} // namespace hunt::test
