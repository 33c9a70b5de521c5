#pragma once
#include <cstdio>
#include <mutex>
#include <string>

namespace hunt {

// A record of every text the speech layer was asked to say: one line per request,
// "<operation>\t<mode>\t<text>", the text in UTF-8 with backslash, tab, carriage return and
// line feed written as \\, \t, \r and \n. Lines are flushed as they are written, so a test or
// a user can read the file while the program runs.
class SpeechLog {
public:
    // Appends to the file; throws HuntError when it cannot be opened.
    explicit SpeechLog(const std::string &path);
    ~SpeechLog();
    SpeechLog(const SpeechLog &) = delete;
    SpeechLog &operator=(const SpeechLog &) = delete;

    // text is Windows-1250.
    void write(const std::string &operation, const std::string &mode, const std::string &text);

    // The line write() produces, without its line feed.
    static std::string formatLine(const std::string &operation, const std::string &mode,
                                  const std::string &text);

private:
    std::mutex mutex_;
    std::FILE *file_ = nullptr;
};

} // namespace hunt
