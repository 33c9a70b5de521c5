#include "audio/speech_log.h"

#include "localization/codepage.h"
#include "runtime/errors.h"

#include <cerrno>
#include <cstring>

namespace hunt {

SpeechLog::SpeechLog(const std::string &path) : file_(std::fopen(path.c_str(), "a")) {
    if (!file_)
        throw HuntError("Cannot open the speech log " + path + ": " + std::strerror(errno));
}

SpeechLog::~SpeechLog() {
    std::fclose(file_);
}

std::string SpeechLog::formatLine(const std::string &operation, const std::string &mode,
                                  const std::string &text) {
    std::string line = operation + '\t' + mode + '\t';
    for (char c : toUtf8(text)) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\n':
            line += "\\n";
            break;
        default:
            line += c;
        }
    }
    return line;
}

void SpeechLog::write(const std::string &operation, const std::string &mode,
                      const std::string &text) {
    const std::string line = formatLine(operation, mode, text) + '\n';
    std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

} // namespace hunt
