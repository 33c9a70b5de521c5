// The sound bank file: its round trip, its reader on damaged files, WAV files and the recipe.
#include "audio/sound_bank.h"
#include "audio/sound_recipe.h"
#include "audio/sound_wav.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>

namespace hunt {
namespace {

using namespace hunt::testing;

SoundBank smallBank() {
    SoundBank bank;
    SoundItem tone;
    tone.name = "snd10";
    tone.looped = true;
    tone.sampleRate = 28160;
    tone.data = sineBytes(64, 440, 28160);
    SoundItem stereo;
    stereo.name = "click\x9a"; // š in Windows-1250
    stereo.maxPlaying = 3;
    stereo.sampleRate = 22050;
    stereo.channels = 2;
    stereo.bitsPerSample = 8;
    stereo.data = {128, 130, 140, 120, 255, 0};
    bank.items = {tone, stereo};
    return bank;
}

void expectSameItems(const SoundBank &a, const SoundBank &b) {
    ASSERT_EQ(a.items.size(), b.items.size());
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        const SoundItem &x = a.items[i], &y = b.items[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.looped, y.looped);
        EXPECT_EQ(x.maxPlaying, y.maxPlaying);
        EXPECT_EQ(x.sampleRate, y.sampleRate);
        EXPECT_EQ(x.channels, y.channels);
        EXPECT_EQ(x.bitsPerSample, y.bitsPerSample);
        EXPECT_EQ(x.data, y.data);
    }
}

void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void put32(std::vector<uint8_t> &bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(SoundBankFile, RoundTripKeepsEveryField) {
    TempDir dir;
    writeSoundBankFile(dir.file("sounds.dat"), smallBank());
    expectSameItems(readSoundBankFile(dir.file("sounds.dat")), smallBank());
    EXPECT_FALSE(std::filesystem::exists(dir.file("sounds.dat.tmp")));
}

TEST(SoundBankFile, EveryTruncationIsAnErrorNamingTheFile) {
    const std::vector<uint8_t> whole = serializeSoundBank(smallBank());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        try {
            parseSoundBank(whole.data(), length, "sounds.dat");
            FAIL() << "accepted the first " << length << " bytes";
        } catch (const HuntError &error) {
            EXPECT_EQ(std::string(error.what()).rfind("sounds.dat: ", 0), 0u) << error.what();
        }
    }
}

TEST(SoundBankFile, DamagedFieldsAreErrors) {
    // Offsets in the serialized small bank: header 16 bytes, then the first item's name length
    // (16), name (18..22), flags (23), reserved (24), max playing (25), rate (27), channels
    // (31), bits (33), data length (35).
    struct Case {
        const char *what;
        std::function<void(std::vector<uint8_t> &)> damage;
        const char *message;
    };
    const Case cases[] = {
        {"magic", [](auto &b) { b[0] = 'X'; }, "no HUNTSNDB header"},
        {"version", [](auto &b) { b[8] = 2; }, "version 2"},
        {"header flags", [](auto &b) { b[10] = 1; }, "header flags"},
        {"huge count", [](auto &b) { put32(b, 12, 0xffffffffu); }, "items, at most"},
        {"count too large for the file", [](auto &b) { put32(b, 12, 1000); }, "cannot fit"},
        {"empty name", [](auto &b) { b[16] = 0; }, "name length 0"},
        {"name too long", [](auto &b) { b[17] = 0xff; }, "not in 1 to 255"},
        {"flags", [](auto &b) { b[23] = 7; }, "unknown flags"},
        {"reserved", [](auto &b) { b[24] = 1; }, "reserved"},
        {"max playing 0", [](auto &b) { b[25] = 0; }, "maximum playing count 0"},
        {"rate 0", [](auto &b) { put32(b, 27, 0); }, "sample rate 0"},
        {"3 channels", [](auto &b) { b[31] = 3; }, "3 channels"},
        {"24 bits", [](auto &b) { b[33] = 24; }, "24 bits"},
        {"huge data", [](auto &b) { put32(b, 35, 0xfffffff0u); }, "ends inside"},
        {"half a frame", [](auto &b) { put32(b, 35, 127); }, "not whole frames"},
        {"no data", [](auto &b) { put32(b, 35, 0); }, "not whole frames"},
        {"stray byte", [](auto &b) { b.push_back(0); }, "stray bytes"},
    };
    const std::vector<uint8_t> whole = serializeSoundBank(smallBank());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = whole;
        c.damage(bytes);
        try {
            parseSoundBank(bytes.data(), bytes.size(), "bank.dat");
            ADD_FAILURE() << "accepted";
        } catch (const HuntError &error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST(SoundBankFile, EmptyOversizedGarbageAndMissingFiles) {
    TempDir dir;
    writeBytes(dir.file("empty.dat"), {});
    EXPECT_THROW(readSoundBankFile(dir.file("empty.dat")), HuntError);

    std::vector<uint8_t> garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 7919 % 251);
    writeBytes(dir.file("garbage.dat"), garbage);
    EXPECT_THROW(readSoundBankFile(dir.file("garbage.dat")), HuntError);

    // A sparse file larger than any bank is refused before anything is read.
    writeBytes(dir.file("huge.dat"), serializeSoundBank(smallBank()));
    std::filesystem::resize_file(dir.file("huge.dat"), soundBankMaxFileBytes + 1);
    try {
        readSoundBankFile(dir.file("huge.dat"));
        FAIL() << "accepted";
    } catch (const HuntError &error) {
        EXPECT_NE(std::string(error.what()).find("larger than"), std::string::npos);
    }

    EXPECT_THROW(readSoundBankFile(dir.file("none.dat")), SoundBankMissing);
    std::filesystem::create_directory(dir.file("folder.dat"));
    try {
        readSoundBankFile(dir.file("folder.dat"));
        FAIL() << "accepted";
    } catch (const SoundBankMissing &) {
        FAIL() << "a folder is there, not missing";
    } catch (const HuntError &) {
    }
}

TEST(SoundBankFile, WriterRefusesItemsTheReaderWouldRefuse) {
    SoundBank bank = smallBank();
    bank.items[1].data.push_back(1); // half a stereo frame
    EXPECT_THROW(serializeSoundBank(bank), HuntError);
    bank = smallBank();
    bank.items[0].name.clear();
    EXPECT_THROW(serializeSoundBank(bank), HuntError);
}

TEST(SoundWavFile, RoundTripAndRefusals) {
    TempDir dir;
    for (const SoundItem &item : smallBank().items) {
        writeWavFile(dir.file("a.wav"), item);
        const SoundItem back = readWavFile(dir.file("a.wav"));
        EXPECT_EQ(back.sampleRate, item.sampleRate);
        EXPECT_EQ(back.channels, item.channels);
        EXPECT_EQ(back.bitsPerSample, item.bitsPerSample);
        EXPECT_EQ(back.data, item.data);
    }
    writeBytes(dir.file("text.wav"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_THROW(readWavFile(dir.file("text.wav")), HuntError);
    EXPECT_THROW(readWavFile(dir.file("none.wav")), HuntError);

    // A floating-point WAV file is refused with its reason.
    writeWavFile(dir.file("float.wav"), smallBank().items[0]);
    std::fstream file(dir.file("float.wav"), std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(20);
    file.put(3);
    file.close();
    try {
        readWavFile(dir.file("float.wav"));
        FAIL() << "accepted";
    } catch (const HuntError &error) {
        EXPECT_NE(std::string(error.what()).find("floating-point"), std::string::npos);
    }
}

TEST(DefaultSoundBank, HoldsEveryItemTheSystemPlays) {
    const SoundBank bank = defaultBank();
    std::set<std::string> names;
    for (const SoundItem &item : bank.items)
        names.insert(item.name);
    for (int k = 1; k <= 4; ++k)
        for (int t = 0; t <= 9; ++t)
            EXPECT_TRUE(names.count("snd" + std::to_string(k) + std::to_string(t)));
    EXPECT_TRUE(names.count("beep"));
    for (int n = 0; n <= 30; ++n)
        EXPECT_TRUE(names.count("click" + std::to_string(n)));
}

TEST(DefaultSoundBank, TonesLoopSeamlesslyWithAPeriodOf64Samples) {
    for (const SoundItem &item : defaultBank().items) {
        if (item.name.rfind("snd", 0) != 0)
            continue;
        SCOPED_TRACE(item.name);
        EXPECT_TRUE(item.looped);
        ASSERT_EQ(item.channels, 1);
        ASSERT_EQ(item.bitsPerSample, 16);
        const std::size_t frames = item.frames();
        ASSERT_EQ(frames % 64, 0u);
        // Periodic across the loop point: sample i equals sample i + 64, wrapping around.
        for (std::size_t i = 0; i < frames; ++i)
            ASSERT_EQ(std::memcmp(&item.data[2 * i], &item.data[2 * ((i + 64) % frames)], 2), 0);
    }
}

TEST(DefaultSoundBank, ShortSoundsAreShortAndDistinct) {
    std::vector<const SoundItem *> shots;
    for (const SoundItem &item : defaultBank().items)
        if (item.name == "beep" || item.name.rfind("click", 0) == 0) {
            EXPECT_FALSE(item.looped) << item.name;
            EXPECT_LT(static_cast<double>(item.frames()) / item.sampleRate, 0.25) << item.name;
            shots.push_back(&item);
        }
    for (std::size_t a = 0; a < shots.size(); ++a)
        for (std::size_t b = a + 1; b < shots.size(); ++b)
            EXPECT_NE(shots[a]->data, shots[b]->data) << shots[a]->name << " " << shots[b]->name;
}

TEST(SoundRecipe, MistakesNameTheLine) {
    struct Case {
        const char *recipe;
        const char *message;
    };
    const Case cases[] = {
        {"tones 4 28160 16\ntimbre 0 1 1 1 1 1 1 1 1 1 1 1\n", "recipe:2: more than 10"},
        {"tones 4 28160 16\ntimbre 12 1\n", "recipe:2: timbre numbers"},
        {"\n\nchirp x\n", "recipe:3: unknown statement"},
        {"shot beep 100 10 abc 440 1\n", "recipe:1: bad frequency"},
        {"shot beep 100 10 15000 15000 1 1\n", "half the sample rate"},
        {"timbre 0 1\n", "without a tones statement"},
        {"tones 1 28160 16\ntimbre 0 1\ntimbre 0 1 0.5\n", "recipe:3: timbre 0 given twice"},
        {"shot click1 40 8 330 330 1\nshot Click1 40 8 370 370 1\n",
         "recipe:2: a second sound named 'Click1'"},
        {"shot snd10 40 8 330 330 1\ntones 1 28160 16\ntimbre 0 1\n",
         "recipe:1: a second sound named 'snd10'"},
    };
    for (const Case &c : cases) {
        try {
            generateSoundBankFromText(c.recipe, "recipe");
            ADD_FAILURE() << c.recipe;
        } catch (const HuntError &error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace hunt
