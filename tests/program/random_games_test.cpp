// Whole runs with random keys and random typed lines: whatever the player does, the program
// neither crashes nor hangs, ends with its closing tones and leaves the return stack empty.

#include "game_harness.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace hunt::testing {
namespace {

TEST(RandomGames, EndCleanlyWhateverThePlayerDoes) {
    const std::array<std::string, 10> keys = {"a", " ", " ", "a", "e", "x", "A", "E", "\xF8", "1"};
    const std::array<std::string, 20> lines = {
        "1", "2",  "3",  "4", "5",   "6", "7",   "8",   "9",   "10",
        "0", "11", "-3", "",  "abc", ",", "3,4", " 7 ", "1e1", "99999999999999999999"};
    std::vector<std::string> closing;
    for (int f = 1300; f >= 50; f -= 50)
        closing.push_back("tone:" + std::to_string(f) + "/60/0");

    for (uint64_t seed = 1; seed <= 300; ++seed) {
        std::mt19937_64 random(seed);
        auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        GameHarness game(seed, {static_cast<int>(pick(24)), static_cast<int>(pick(60)), 0});
        game.keys.more = [&] { return pick(5) == 0 ? std::string() : keys[pick(keys.size())]; };
        // A player who mostly aims at the treasure, sometimes a square off, and sometimes types
        // anything at all.
        game.more = [&] {
            const std::size_t roll = pick(20);
            if (roll == 0)
                return ScriptedInput::Answer{"5", modalCancel};
            if (roll == 1)
                return ScriptedInput::Answer{"5", 0};
            if (roll < 12) {
                std::string asked;
                for (auto entry = game.log.rbegin(); entry != game.log.rend(); ++entry)
                    if (entry->rfind("say:", 0) == 0) {
                        asked = *entry;
                        break;
                    }
                const bool row = asked.find("riadku") != std::string::npos;
                int target = static_cast<int>(row ? game.vars.treasurerow : game.vars.treasurecol);
                if (roll >= 8)
                    target += roll % 2 ? 1 : -1;
                return ScriptedInput::Answer{std::to_string(target)};
            }
            return ScriptedInput::Answer{lines[pick(lines.size())]};
        };

        try {
            game.play();
        } catch (const RunawayRun &error) {
            FAIL() << "seed " << seed << ": " << error.what();
        }
        EXPECT_TRUE(game.vars.returnstack.cells.empty()) << "seed " << seed;
        EXPECT_EQ(game.screen.count(), 24) << "seed " << seed;
        for (int row = 0; row < game.screen.count(); ++row) {
            const auto length = game.screen.line(row).size();
            EXPECT_TRUE(length == 0 || length == 80) << "seed " << seed << " row " << row;
        }
        const auto &log = game.log;
        ASSERT_GE(log.size(), closing.size());
        EXPECT_EQ(std::vector<std::string>(log.end() - static_cast<std::ptrdiff_t>(closing.size()),
                                           log.end()),
                  closing)
            << "seed " << seed;
    }
}

} // namespace
} // namespace hunt::testing
