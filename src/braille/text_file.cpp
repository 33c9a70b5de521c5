#include "braille/text_file.h"

#include <filesystem>
#include <istream>
#include <system_error>

#include "runtime/errors.h"

namespace hunt {

std::ifstream openDataFile(const std::string &fileName) {
    std::error_code ec;
    const auto status = std::filesystem::status(fileName, ec);
    if (!std::filesystem::exists(status))
        throw HuntError("File not found: " + fileName);
    if (std::filesystem::is_directory(status))
        throw HuntError("File access denied: " + fileName);
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw HuntError("File access denied: " + fileName);
    return in;
}

bool readTextLine(std::istream &in, std::string &line) {
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

void checkReadError(const std::istream &in, const std::string &fileName) {
    if (in.bad())
        throw HuntError("Read error: " + fileName);
}

} // namespace hunt
