// hunt-soundbank: builds, lists and takes apart sound banks (sounds.dat).
#include "audio/sound_bank.h"
#include "audio/sound_recipe.h"
#include "audio/sound_wav.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char *const usage =
    "usage:\n"
    "  hunt-soundbank build OUT.dat [--loop] NAME=FILE.wav ...\n"
    "      a bank of the WAV files in order; --loop makes the next item looped\n"
    "  hunt-soundbank generate RECIPE OUT.dat\n"
    "      a bank from a recipe (see data/sounds.recipe)\n"
    "  hunt-soundbank list BANK\n"
    "      one line per item: name, looped or once, sample rate, channels, frames\n"
    "  hunt-soundbank extract BANK NAME OUT.wav\n"
    "      writes one item as a WAV file\n"
    "  hunt-soundbank replace BANK NAME FILE.wav\n"
    "      puts the WAV file's sound in place of the item, keeping its name and looped flag\n";

hunt::SoundItem &findItem(hunt::SoundBank &bank, const std::string &bankPath,
                          const std::string &name) {
    for (hunt::SoundItem &item : bank.items)
        if (hunt::sameItemName(item.name, name))
            return item;
    throw hunt::HuntError(bankPath + ": no item named '" + name + "'");
}

int build(const std::vector<std::string> &args) {
    if (args.size() < 2)
        throw std::invalid_argument("build needs OUT.dat and at least one NAME=FILE.wav");
    hunt::SoundBank bank;
    bool loopNext = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--loop") {
            loopNext = true;
            continue;
        }
        const auto equals = args[i].find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == args[i].size())
            throw std::invalid_argument("'" + args[i] + "' is not NAME=FILE.wav");
        hunt::SoundItem item = hunt::readWavFile(args[i].substr(equals + 1));
        item.name = args[i].substr(0, equals);
        item.looped = loopNext;
        loopNext = false;
        for (const hunt::SoundItem &other : bank.items)
            if (hunt::sameItemName(other.name, item.name))
                throw hunt::HuntError("two items named '" + item.name + "'");
        hunt::validateSoundItem(item);
        bank.items.push_back(std::move(item));
    }
    if (loopNext)
        throw std::invalid_argument("--loop must come before an item");
    hunt::writeSoundBankFile(args[0], bank);
    return 0;
}

int run(const std::vector<std::string> &args) {
    if (args.empty())
        throw std::invalid_argument("no command");
    const std::string &command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "build")
        return build(rest);
    if (command == "generate" && rest.size() == 2) {
        hunt::writeSoundBankFile(rest[1], hunt::generateSoundBank(rest[0]));
        return 0;
    }
    if (command == "list" && rest.size() == 1) {
        const hunt::SoundBank bank = hunt::readSoundBankFile(rest[0]);
        for (const hunt::SoundItem &item : bank.items)
            std::cout << item.name << ' ' << (item.looped ? "looped" : "once") << ' '
                      << item.sampleRate << ' ' << item.channels << ' ' << item.frames() << '\n';
        return 0;
    }
    if (command == "extract" && rest.size() == 3) {
        hunt::SoundBank bank = hunt::readSoundBankFile(rest[0]);
        hunt::writeWavFile(rest[2], findItem(bank, rest[0], rest[1]));
        return 0;
    }
    if (command == "replace" && rest.size() == 3) {
        hunt::SoundBank bank = hunt::readSoundBankFile(rest[0]);
        hunt::SoundItem &item = findItem(bank, rest[0], rest[1]);
        hunt::SoundItem wave = hunt::readWavFile(rest[2]);
        wave.name = item.name;
        wave.looped = item.looped;
        wave.maxPlaying = item.maxPlaying;
        item = std::move(wave);
        hunt::writeSoundBankFile(rest[0], bank);
        return 0;
    }
    throw std::invalid_argument("unknown command or wrong number of arguments");
}

} // namespace

int main(int argc, char **argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument &error) {
        std::cerr << "hunt-soundbank: " << error.what() << '\n' << usage;
        return 2;
    } catch (const std::exception &error) {
        std::cerr << "hunt-soundbank: " << error.what() << '\n';
        return 1;
    }
}
