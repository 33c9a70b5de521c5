// hunt-soundbank: build, list, extract and replace, run as a user would run it.
#include "audio/sound_bank.h"
#include "audio/sound_wav.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace hunt {
namespace {

using namespace hunt::testing;

struct Result {
    int status = -1;
    std::string output; // standard output and error together
};

Result runTool(const std::string &arguments) {
    const std::string command = std::string("'") + HUNT_SOUNDBANK_TOOL + "' " + arguments + " 2>&1";
    Result result;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> chunk{};
    while (std::size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe))
        result.output.append(chunk.data(), got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

SoundItem wave(uint32_t rate, uint16_t channels, uint16_t bits, std::size_t frames) {
    SoundItem item;
    item.sampleRate = rate;
    item.channels = channels;
    item.bitsPerSample = bits;
    item.data.resize(frames * item.frameBytes());
    for (std::size_t i = 0; i < item.data.size(); ++i)
        item.data[i] = static_cast<uint8_t>(i * 31 % 256);
    return item;
}

TEST(SoundBankTool, BuildListExtractReplaceRoundTrip) {
    TempDir dir;
    const SoundItem tone = wave(28160, 1, 16, 1024);
    const SoundItem knock = wave(22050, 2, 8, 300);
    writeWavFile(dir.file("tone.wav"), tone);
    writeWavFile(dir.file("knock.wav"), knock);
    const std::string bank = "'" + dir.file("mine.dat") + "'";

    Result built = runTool("build " + bank + " --loop 'snd10=" + dir.file("tone.wav") +
                           "' 'click6=" + dir.file("knock.wav") + "'");
    ASSERT_EQ(built.status, 0) << built.output;

    Result listed = runTool("list " + bank);
    ASSERT_EQ(listed.status, 0) << listed.output;
    EXPECT_EQ(listed.output, "snd10 looped 28160 1 1024\nclick6 once 22050 2 300\n");

    ASSERT_EQ(runTool("extract " + bank + " CLICK6 '" + dir.file("out.wav") + "'").status, 0);
    EXPECT_EQ(readWavFile(dir.file("out.wav")).data, knock.data);

    // Replacing a sound keeps its name, place and looped flag.
    const SoundItem other = wave(44100, 1, 16, 64);
    writeWavFile(dir.file("other.wav"), other);
    ASSERT_EQ(runTool("replace " + bank + " snd10 '" + dir.file("other.wav") + "'").status, 0);
    const SoundBank after = readSoundBankFile(dir.file("mine.dat"));
    ASSERT_EQ(after.items.size(), 2u);
    EXPECT_EQ(after.items[0].name, "snd10");
    EXPECT_TRUE(after.items[0].looped);
    EXPECT_EQ(after.items[0].sampleRate, 44100u);
    EXPECT_EQ(after.items[0].data, other.data);
    EXPECT_EQ(after.items[1].data, knock.data);
}

TEST(SoundBankTool, MistakesAreReportedAndChangeNothing) {
    TempDir dir;
    writeWavFile(dir.file("tone.wav"), wave(28160, 1, 16, 64));
    const std::string bank = "'" + dir.file("mine.dat") + "'";
    ASSERT_EQ(runTool("build " + bank + " 'beep=" + dir.file("tone.wav") + "'").status, 0);
    const SoundBank before = readSoundBankFile(dir.file("mine.dat"));

    struct Case {
        std::string arguments;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"", 2, "usage"},
        {"frobnicate", 2, "usage"},
        {"build " + bank + " beep", 2, "NAME=FILE.wav"},
        {"build " + bank + " 'beep=" + dir.file("none.wav") + "'", 1, "none.wav"},
        {"build " + bank + " 'a=" + dir.file("tone.wav") + "' 'A=" + dir.file("tone.wav") + "'", 1,
         "two items"},
        {"extract " + bank + " click9 '" + dir.file("x.wav") + "'", 1, "no item named 'click9'"},
        {"list '" + dir.file("tone.wav") + "'", 1, "tone.wav: not a valid sound bank"},
        {"replace " + bank + " beep '" + dir.file("mine.dat") + "'", 1, "not a PCM WAV"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const Result result = runTool(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
    }
    const SoundBank after = readSoundBankFile(dir.file("mine.dat"));
    ASSERT_EQ(after.items.size(), 1u);
    EXPECT_EQ(after.items[0].data, before.items[0].data);
}

TEST(SoundBankTool, DefaultBankWasGeneratedIntoTheRuntimeDirectory) {
    const Result listed = runTool("list '" HUNT_RUNTIME_DIR "/sounds.dat'");
    ASSERT_EQ(listed.status, 0) << listed.output;
    EXPECT_NE(listed.output.find("snd10 looped 28160 1 1024\n"), std::string::npos);
    EXPECT_NE(listed.output.find("\nclick30 once 44100 1 "), std::string::npos);
}

} // namespace
} // namespace hunt
