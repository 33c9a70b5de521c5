// The treasure hunt played through with scripted keys and lines: what it shows, says and plays.

#include "game_harness.h"

#include "localization/codepage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace hunt::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The hint for a tried square, composed independently of the program's table.
std::string expectedDirection(double row, double col, double trow, double tcol) {
    const std::string ns = row < trow ? "juh" : row > trow ? "sever" : "";
    const std::string ew = col < tcol ? "východ" : col > tcol ? "západ" : "";
    if (ns.empty())
        return ew + ".";
    if (ew.empty())
        return ns + ".";
    return ns + "o" + ew + ".";
}

// The log without the pauses of leading punctuation.
std::vector<std::string> withoutSleeps(const std::vector<std::string> &events) {
    std::vector<std::string> kept;
    std::copy_if(events.begin(), events.end(), std::back_inserter(kept),
                 [](const std::string &e) { return e.rfind("sleep:", 0) != 0; });
    return kept;
}

// The count entries after the nth (0-based) occurrence of entry, sleeps left out.
std::vector<std::string> after(const GameHarness &game, const std::string &entry, int nth,
                               std::size_t count) {
    const auto events = withoutSleeps(game.events());
    auto at = events.begin();
    for (int k = 0; k <= nth; ++k) {
        at = std::find(k == 0 ? events.begin() : at + 1, events.end(), entry);
        if (at == events.end())
            return {"<no " + entry + " #" + std::to_string(nth) + ">"};
    }
    ++at;
    return {at, at + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                         count, static_cast<std::size_t>(events.end() - at)))};
}

std::vector<std::string> closingTones() {
    std::vector<std::string> tones;
    for (int f = 1300; f >= 50; f -= 50)
        tones.push_back("tone:" + std::to_string(f) + "/60/0");
    return tones;
}

const std::vector<std::string> openingMelody = {"tone:500/90/5", "tone:600/90/10", "tone:720/90/10",
                                                "tone:360/90/10", "tone:500/300/10"};

void playToTheEnd(GameHarness &game) {
    ASSERT_NO_THROW(game.play());
    EXPECT_TRUE(game.vars.returnstack.cells.empty());
}

TEST(TreasureHunt, OneGameFromGreetingToClosingTones) {
    GameHarness game(7, {10, 0, 0});
    game.press({" ", " ", " ", " ", " "}).miss().miss().hit();
    playToTheEnd(game);

    const double trow = game.vars.treasurerow, tcol = game.vars.treasurecol;
    const double missRow = trow == 1 ? 2 : 1, missCol = tcol == 10 ? 9 : tcol;
    const std::string hint = expectedDirection(missRow, missCol, trow, tcol);
    EXPECT_THAT(game.said(),
                ElementsAre("dobrý ďeň;", "hra zlato.",
                            "keď chceš kódy stlač hociktorú klávesu okrem medzerníka.",
                            "chceš pravidlá?", "zadaj polohu pokladu!", "vlož číslo riadku",
                            "vlož číslo stlpca", "neuhádol si. choď na", hint,
                            "chceš zopakovať smer ďalšieho hladaňia?", "vlož číslo riadku",
                            "vlož číslo stlpca", "neuhádol si. choď na", hint, "vlož číslo riadku",
                            "vlož číslo stlpca", "gratulujem!", "na nájďeňie pokladu si potreboval",
                            "tri pokusy.", "čas:,;", "10 00", "chceš pokračovať v hre?",
                            "koňiec. počet hier", "1", "zlatý poklad si našiel na", "tri pokusy."));

    // The greeting, the opening melody, the first question and its key wait.
    const auto events = withoutSleeps(game.events());
    std::vector<std::string> start = {"say:dobrý ďeň;"};
    start.insert(start.end(), openingMelody.begin(), openingMelody.end());
    for (const char *e :
         {"say:hra zlato.", "say:keď chceš kódy stlač hociktorú klávesu okrem medzerníka.",
          "click:19", "click:6", "press: ", "say:chceš pravidlá?", "click:19", "click:6",
          "press: ", "say:zadaj polohu pokladu!"})
        start.push_back(e);
    ASSERT_GE(events.size(), start.size());
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + start.size()), start);

    // The pause after placing the treasure: a blank line and ten beeps. Each attempt: four
    // random tones of 90 to 689 Hz, each followed by a blank line.
    const auto pause = after(game, "say:zadaj polohu pokladu!", 0, 11);
    EXPECT_EQ(std::count(pause.begin(), pause.end(), "beep"), 10);
    const auto tries = game.entries("tone:");
    int randomTones = 0;
    for (const auto &t : tries) {
        if (t.size() < 9 || t.substr(t.size() - 6) != "/120/5")
            continue;
        const int f = std::stoi(t.substr(5));
        EXPECT_GE(f, 90);
        EXPECT_LE(f, 689);
        ++randomTones;
    }
    EXPECT_EQ(randomTones, 12);

    // The game ends with the falling run of tones.
    const auto closing = closingTones();
    ASSERT_GE(events.size(), closing.size());
    EXPECT_EQ(std::vector<std::string>(events.end() - static_cast<std::ptrdiff_t>(closing.size()),
                                       events.end()),
              closing);

    // The end of the screen: time, question, pause line, report, and the cursor's empty line.
    const auto lines = game.screenLines();
    EXPECT_THAT(std::vector<std::string>(lines.end() - 7, lines.end()),
                ElementsAre(";čas:,; 10 00", ";chceš pokračovať v hre?", "",
                            ";koňiec. počet hier     1", ";zlatý poklad si našiel na",
                            "tri pokusy.", ""));
    for (int row = 0; row < game.screen.count(); ++row)
        EXPECT_TRUE(game.screen.line(row).empty() || game.screen.line(row).size() == 80) << row;
    EXPECT_EQ(game.screen.count(), 24);
}

struct GreetingCase {
    TimeOfDay time;
    const char *greeting;
};

class Greeting : public ::testing::TestWithParam<GreetingCase> {};

TEST_P(Greeting, FollowsTheHour) {
    GameHarness game(1, GetParam().time);
    game.press({" ", " ", " "}).hit();
    playToTheEnd(game);
    ASSERT_FALSE(game.said().empty());
    EXPECT_EQ(game.said().front(), GetParam().greeting);
}

INSTANTIATE_TEST_SUITE_P(BoundaryHours, Greeting,
                         ::testing::Values(GreetingCase{{2, 59, 59}, "dobrý večer;"},
                                           GreetingCase{{3, 0, 0}, "dobré ráno;"},
                                           GreetingCase{{8, 59, 59}, "dobré ráno;"},
                                           GreetingCase{{9, 0, 0}, "dobrý ďeň;"},
                                           GreetingCase{{17, 59, 59}, "dobrý ďeň;"},
                                           GreetingCase{{18, 0, 0}, "dobrý večer;"},
                                           GreetingCase{{0, 0, 0}, "dobrý večer;"},
                                           GreetingCase{{23, 59, 59}, "dobrý večer;"}),
                         [](const ::testing::TestParamInfo<GreetingCase> &param) {
                             const TimeOfDay &at = param.param.time;
                             return "At" + std::to_string(at.hour) + "h" +
                                    std::to_string(at.minute);
                         });

TEST(TreasureHunt, CodesRulesAndIgnoredKeys) {
    GameHarness game;
    // Any key but space: codes; again not space: codes again; space: the rules question, where
    // x and A are ignored, a gives the rules; space at their end starts the game.
    game.press({"q", "1", " ", "x", "A", "a", "x", " ", " "}).hit();
    playToTheEnd(game);

    const std::vector<std::string> codes = {"kódy.",
                                            "a,; kladná odpoveď na otázku.",
                                            "medzerník,; záporná odpoveď na otázku.",
                                            "e,; prerušeňie hry.",
                                            "po napísaní čísla stlač pravú hornú klávesu.",
                                            "chceš ešťe raz kódy?"};
    std::vector<std::string> expected = {
        "dobrý ďeň;", "hra zlato.", "keď chceš kódy stlač hociktorú klávesu okrem medzerníka."};
    expected.insert(expected.end(), codes.begin(), codes.end());
    expected.insert(expected.end(), codes.begin(), codes.end());
    for (const char *text :
         {"chceš pravidlá?", "stručné pravidlá.",
          "cielom hry je najsť zlatý poklad, ktorý je ukrytý v jednom z políčiek tabulky.",
          "tabulka má ďesať riadkov a ďesať stlpcov.",
          "horný riadok sa označuje číslom jedna, spodný číslom ďesať.",
          "lavý stlpec sa označuje číslom jedna, pravý číslom ďesať.", "príklad;",
          "v lavom hornom rohu je políčko, ktoré je v prvom riadku a prvom stlpci.",
          "polohu pokladu zadávaš vložením čísla riadku a stlpca tabulky.",
          "po každom ňeúspešnom pokuse ti oznámim smer ďalšieho hladaňia.",
          "chceš ešťe raz pravidlá?", "zadaj polohu pokladu!"})
        expected.push_back(text);
    const auto said = game.said();
    ASSERT_GE(said.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(said.begin(), said.begin() + expected.size()), expected);

    // Each code line and rule line is followed by a pause; the example has a beep of its own.
    EXPECT_EQ(after(game, "say:príklad;", 0, 1), std::vector<std::string>{"beep"});
    // An ignored key only waits again: no question, no prompt click.
    EXPECT_THAT(after(game, "press:x", 0, 4),
                ElementsAre("click:6", "press:A", "click:6", "press:a"));
    EXPECT_THAT(after(game, "press:x", 1, 3),
                ElementsAre("click:6", "press: ", "say:zadaj polohu pokladu!"));
    // The codes and the rules each begin with the opening melody.
    auto melody = after(game, "say:kódy.", 0, 5);
    EXPECT_EQ(melody, openingMelody);
    melody = after(game, "say:stručné pravidlá.", 0, 5);
    EXPECT_EQ(melody, openingMelody);
}

TEST(TreasureHunt, RowOrColumnOutOfRangeIsAskedAgainWithoutCountingAnAttempt) {
    GameHarness game;
    game.press({" ", " ", " "}).type("0").cancel().type("11").treasureRow();
    game.type("11").type("-1").treasureColumn();
    playToTheEnd(game);

    const auto said = game.said();
    EXPECT_EQ(std::count(said.begin(), said.end(), "vlož číslo riadku"), 4);
    EXPECT_EQ(std::count(said.begin(), said.end(), "vlož číslo stlpca"), 3);
    EXPECT_EQ(std::count(said.begin(), said.end(), "neuhádol si. choď na"), 0);
    EXPECT_THAT(after(game, "say:na nájďeňie pokladu si potreboval", 0, 1),
                ElementsAre("say:jeden pokus."));
    EXPECT_EQ(game.entries("input").size(), 7u);
}

TEST(TreasureHunt, FirstMissAsksAndFromTheFifthAttemptEveryMissWarns) {
    GameHarness game;
    game.press({" ", " "});
    for (int k = 0; k < 6; ++k)
        game.press({" "}).miss();
    game.hit().press({"a", " ", " "}).miss().hit();
    playToTheEnd(game);

    // What each miss adds after its hint (or the next prompt when it adds nothing).
    const auto said = game.said();
    std::vector<std::string> remarks;
    for (std::size_t k = 0; k + 2 < said.size(); ++k)
        if (said[k] == "neuhádol si. choď na")
            remarks.push_back(said[k + 2]);
    EXPECT_THAT(remarks,
                ElementsAre("chceš zopakovať smer ďalšieho hladaňia?", "vlož číslo riadku",
                            "vlož číslo riadku", "vlož číslo riadku", "ňepostupuješ správňe.",
                            "ňepostupuješ správňe.", "vlož číslo riadku"));
}

// Builds a screen line in Windows-1250 from pieces placed at columns.
std::string lineWith(std::initializer_list<std::pair<int, const char *>> pieces) {
    std::string line(80, ' ');
    for (const auto &[column, text] : pieces) {
        const std::string piece = toCp1250(text);
        line.replace(static_cast<std::size_t>(column), piece.size(), piece);
    }
    return line;
}

TEST(TreasureHunt, RepeatingTheTriedSquareShowsItOnOneLine) {
    GameHarness game;
    game.press({" ", " ", "x", "a", " "}).miss().hit();
    playToTheEnd(game);

    const double trow = game.vars.treasurerow, tcol = game.vars.treasurecol;
    const int missRow = trow == 1 ? 2 : 1, missCol = tcol == 10 ? 9 : static_cast<int>(tcol);
    const std::string hint = expectedDirection(missRow, missCol, trow, tcol);
    const std::string row = std::to_string(missRow), col = std::to_string(missCol);
    const std::string expected = lineWith({{0, ";typuješ riadok"},
                                           {16, row.c_str()},
                                           {18, "stlpec"},
                                           {24, col.c_str()},
                                           {26, ";choď na"},
                                           {40, hint.c_str()}});
    bool shown = false;
    for (int r = 0; r < game.screen.count(); ++r)
        shown = shown || game.screen.line(r) == expected;
    EXPECT_TRUE(shown) << "no line " << toUtf8(expected);
    EXPECT_THAT(after(game, "press:a", 0, 7),
                ElementsAre("say:typuješ riadok", "say:" + row, "say:stlpec", "say:" + col,
                            "say:choď na", "say:" + hint, "say:vlož číslo riadku"));
}

struct FanfareCase {
    int attempts;
    bool fanfare;
};

class Fanfare : public ::testing::TestWithParam<FanfareCase> {};

TEST_P(Fanfare, PlaysBelowFiveAttempts) {
    GameHarness game;
    game.press({" ", " "});
    for (int k = 1; k < GetParam().attempts; ++k)
        game.miss().press({" "});
    game.hit().press({" "});
    playToTheEnd(game);

    const std::vector<std::string> fanfare = {"tone:1000+500/225/1", "tone:1250+625/225/10",
                                              "tone:1500+750/225/10", "tone:2000+1000/760/10"};
    if (GetParam().fanfare) {
        EXPECT_EQ(after(game, "say:gratulujem!", 0, 5),
                  (std::vector<std::string>{fanfare[0], fanfare[1], fanfare[2], fanfare[3],
                                            "say:na nájďeňie pokladu si potreboval"}));
    } else {
        EXPECT_TRUE(game.entries("say:gratulujem!").empty());
        EXPECT_TRUE(game.entries(fanfare[0]).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Attempts, Fanfare,
                         ::testing::Values(FanfareCase{1, true}, FanfareCase{4, true},
                                           FanfareCase{5, false}, FanfareCase{6, false}),
                         [](const ::testing::TestParamInfo<FanfareCase> &param) {
                             return std::to_string(param.param.attempts);
                         });

// Plays games of the given numbers of attempts in one run, then ends it.
void playGames(GameHarness &game, std::initializer_list<int> games) {
    game.press({" ", " "});
    bool first = true;
    for (int attempts : games) {
        if (!first)
            game.press({"a"});
        first = false;
        for (int k = 1; k < attempts; ++k)
            game.miss().press({" "});
        game.hit();
    }
    game.press({" "});
}

TEST(TreasureHunt, RecordsOfTheRun) {
    GameHarness game;
    playGames(game, {3, 2, 2, 4});
    playToTheEnd(game);

    // First found game: no record message.
    EXPECT_THAT(after(game, "say:tri pokusy.", 0, 1), ElementsAre(openingMelody[0]));
    // Fewer attempts: the record melody, the message, a pause, the old record.
    std::vector<std::string> record = {"tone:200/380/0",  "tone:270/380/10", "tone:200/190/10",
                                       "tone:335/190/10", "tone:270/190/10", "tone:200/190/10",
                                       "tone:270/380/10", "tone:270/380/10", "tone:300/190/10",
                                       "tone:335/190/10", "tone:300/190/10", "tone:255/190/10",
                                       "tone:270/380/10", "tone:270/380/10", "say:nový rekord!"};
    for (int k = 0; k < 10; ++k)
        record.push_back("beep");
    for (const char *e : {"say:doterajší bol:", "say:3", "tone:500/90/5"})
        record.push_back(e);
    const auto afterSecond = after(game, "say:dva pokusy.", 0, record.size() + 1);
    // The pause's blank line may or may not be spoken; compare without it.
    std::vector<std::string> cleaned;
    std::copy_if(afterSecond.begin(), afterSecond.end(), std::back_inserter(cleaned),
                 [](const std::string &e) { return e != "say: "; });
    cleaned.resize(std::min(cleaned.size(), record.size()));
    EXPECT_EQ(cleaned, record);
    // The same number: eight rising sweeps, then the message.
    std::vector<std::string> sweeps;
    for (int i = 0; i < 8; ++i)
        for (int f = 200; f <= 1400; f += 100)
            sweeps.push_back("tone:" + std::to_string(f) + "/15/3");
    sweeps.push_back("say:vyrovnaňie doterajšieho rekordu!");
    EXPECT_EQ(after(game, "say:dva pokusy.", 1, sweeps.size()), sweeps);
    // More attempts: nothing.
    EXPECT_THAT(after(game, "say:štyri pokusy.", 0, 1), ElementsAre(openingMelody[0]));

    const auto said = game.said();
    EXPECT_THAT(std::vector<std::string>(said.end() - 6, said.end()),
                ElementsAre("koňiec. počet hier", "4", "najkratšia hra,", "dva pokusy.",
                            "najdlhšia hra,", "štyri pokusy."));
}

TEST(TreasureHunt, ReportsShortestAndLongestGame) {
    GameHarness game;
    playGames(game, {2, 6});
    playToTheEnd(game);
    const auto said = game.said();
    EXPECT_THAT(std::vector<std::string>(said.end() - 7, said.end()),
                ElementsAre("koňiec. počet hier", "2", "najkratšia hra,", "dva pokusy.",
                            "najdlhšia hra,", "6", "pokusov."));
    const auto lines = game.screenLines();
    EXPECT_EQ(lines[22], "6 pokusov.");
}

TEST(TreasureHunt, AbandonedGameIsNotCounted) {
    GameHarness game;
    // A game found in 3 attempts, then one abandoned after a miss.
    game.press({" ", " "}).miss().press({" "}).miss().press({" "}).hit();
    game.press({"a"}).miss().press({"x", "e", "x", " "});
    playToTheEnd(game);

    EXPECT_THAT(after(game, "press:e", 0, 8),
                ElementsAre(openingMelody[0], openingMelody[1], openingMelody[2], openingMelody[3],
                            openingMelody[4], "say:čas:,;", "say:10 00",
                            "say:chceš pokračovať v hre?"));
    const auto said = game.said();
    EXPECT_THAT(std::vector<std::string>(said.end() - 4, said.end()),
                ElementsAre("koňiec. počet hier", "1", "zlatý poklad si našiel na", "tri pokusy."));
}

TEST(TreasureHunt, EveryGameAbandoned) {
    GameHarness game;
    game.press({" ", " "}).miss().press({"e", "a"}).miss().press({"e", " "});
    playToTheEnd(game);
    const auto said = game.said();
    EXPECT_THAT(
        std::vector<std::string>(said.end() - 5, said.end()),
        ElementsAre("koňiec. počet hier", "0", "zlatý poklad si našiel na", "0", "pokusov."));
}

TEST(TreasureHunt, DirectionTableOverEverySquare) {
    std::set<std::string> seen;
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        GameHarness game(seed);
        // Try every square in turn, row by row, the treasure's last.
        auto tried = std::make_shared<std::vector<std::pair<int, int>>>();
        for (int k = 0; k < 100; ++k) {
            game.moves.push_back([tried](const HuntVariables &v) {
                for (int r = 1; r <= 10; ++r)
                    for (int c = 1; c <= 10; ++c) {
                        const bool isTreasure = r == v.treasurerow && c == v.treasurecol;
                        const bool done = std::find(tried->begin(), tried->end(),
                                                    std::pair{r, c}) != tried->end();
                        if (!done && (!isTreasure || tried->size() == 99)) {
                            tried->push_back({r, c});
                            return ScriptedInput::Answer{std::to_string(r)};
                        }
                    }
                return ScriptedInput::Answer{"0"};
            });
            game.moves.push_back([tried](const HuntVariables &) {
                return ScriptedInput::Answer{std::to_string(tried->back().second)};
            });
        }
        game.press({" ", " "});
        for (int k = 0; k < 99; ++k)
            game.press({" "});
        game.press({" "});
        playToTheEnd(game);

        const auto said = game.said();
        std::vector<std::string> hints, expected;
        for (std::size_t k = 0; k + 1 < said.size(); ++k)
            if (said[k] == "neuhádol si. choď na")
                hints.push_back(said[k + 1]);
        ASSERT_EQ(tried->size(), 100u);
        for (std::size_t k = 0; k < 99; ++k)
            expected.push_back(expectedDirection((*tried)[k].first, (*tried)[k].second,
                                                 game.vars.treasurerow, game.vars.treasurecol));
        EXPECT_EQ(hints, expected) << "seed " << seed;
        seen.insert(hints.begin(), hints.end());
    }
    EXPECT_THAT(seen,
                ::testing::UnorderedElementsAre("juh.", "sever.", "juhovýchod.", "severovýchod.",
                                                "východ.", "západ.", "juhozápad.", "severozápad."));
}

TEST(TreasureHunt, SameSeedSameGame) {
    GameHarness one(42), two(42);
    for (GameHarness *game : {&one, &two}) {
        game->press({" ", " ", " "}).hit();
        playToTheEnd(*game);
    }
    EXPECT_EQ(one.events(), two.events());
    EXPECT_EQ(one.vars.treasurerow, two.vars.treasurerow);
}

} // namespace
} // namespace hunt::testing
