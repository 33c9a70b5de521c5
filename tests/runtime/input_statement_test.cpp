// INPUT of a number: the line from the input dialog, the comma-separated values, the retype
// request, and the number conversion under the user's locale.

#include "localization/codepage.h"
#include "runtime/queue_event_loop.h"
#include "runtime/runtime.h"
#include "support/doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace hunt::testing {
namespace {

using Answer = ScriptedInput::Answer;

class InputStatement : public ::testing::Test {
protected:
    std::vector<std::string> said() const {
        std::vector<std::string> texts;
        for (const auto &entry : log)
            if (entry.rfind("say:", 0) == 0)
                texts.push_back(toUtf8(entry.substr(4)));
        return texts;
    }
    int dialogs() const {
        return static_cast<int>(std::count(log.begin(), log.end(), std::string("input")));
    }

    EventLog log;
    PlainScreen screen;
    QueueEventLoop events;
    RecordingSpeech speech{log};
    RecordingSound sound{log};
    ScriptedInput input{log};
    FixedClock clock{log, {12, 0, 0}};
    GlobalSettings settings;
    ToneState tone;
    Runtime runtime{RuntimePorts{screen, events, speech, sound, input, clock, settings, tone}};
};

struct InputCase {
    const char *name;
    uint8_t mode;
    std::string bufferBefore;
    std::vector<Answer> answers;
    double number; // expected; the variable holds 8 before the call
    std::string bufferAfter;
    int dialogs;
    std::vector<std::string> said;
};

class InputCases : public InputStatement, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputCases, ReadsOneValue) {
    const InputCase &c = GetParam();
    runtime.inputbuffer = c.bufferBefore;
    for (const auto &answer : c.answers)
        input.answers.push_back(answer);
    double number = 8;
    runtime.inputnum(number, c.mode);
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(runtime.inputbuffer, c.bufferAfter);
    EXPECT_EQ(dialogs(), c.dialogs);
    EXPECT_EQ(said(), c.said);
}

const char *const retype = "Prosím přepiš";
const char *const prompt = "Vlož data";

INSTANTIATE_TEST_SUITE_P(
    Lines, InputCases,
    ::testing::Values(
        InputCase{"Seven", 0, "", {{"7"}}, 7, "", 1, {}},
        InputCase{"FirstOfTwo", 0, "", {{"3,4"}}, 3, "4", 1, {}},
        InputCase{"NextFromBuffer", 1, "4", {}, 4, "", 0, {}},
        InputCase{"ModeZeroDiscardsBuffer", 0, "4", {{"9"}}, 9, "", 1, {}},
        InputCase{"LeadingComma", 0, "", {{",5"}}, 0, "5", 1, {}},
        InputCase{"EmptyLine", 0, "", {{""}}, 0, "", 1, {}},
        InputCase{"BlankLine", 0, "", {{"   "}}, 0, "", 1, {}},
        InputCase{"BlanksAround", 0, "", {{"  12\t"}}, 12, "", 1, {}},
        InputCase{"BlanksInsideValues", 0, "", {{" 3 ,  4 , 5 "}}, 3, "4 , 5", 1, {}},
        InputCase{"SignAndExponent", 0, "", {{"+1e1"}}, 10, "", 1, {}},
        InputCase{"NegativeFraction", 0, "", {{"-0.25"}}, -0.25, "", 1, {}},
        InputCase{"NoWholePart", 0, "", {{".5"}}, 0.5, "", 1, {}},
        InputCase{"NoFraction", 0, "", {{"5."}}, 5, "", 1, {}},
        InputCase{"LonePointAsksAgain", 0, "", {{"."}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"BlankInsideAsksAgain", 0, "", {{"1 2"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"HexAsksAgain", 0, "", {{"0x10"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"InfinityAsksAgain", 0, "", {{"inf"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"LettersAskAgain", 0, "", {{"abc"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"TrailingLettersAskAgain", 0, "", {{"12abc"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"LoneExponentAskAgain", 0, "", {{"1e"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"OverflowAsksAgain", 0, "", {{"1e400"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"LoneSignAsksAgain", 0, "", {{"-"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"BadFirstValueDropsTheLine", 0, "", {{"x,4"}, {"6"}}, 6, "", 2, {retype}},
        InputCase{"ModeTwoPrompts", 2, "", {{"5"}}, 5, "", 1, {prompt}},
        InputCase{"ModeTwoPromptsAgainAfterRetype",
                  2,
                  "",
                  {{"?"}, {"5"}},
                  5,
                  "",
                  2,
                  {prompt, retype, prompt}},
        InputCase{"ModeOneEmptyBufferPrompts", 1, "", {{"5"}}, 5, "", 1, {prompt}},
        InputCase{"ModeOneLeftoverLetter", 1, "x", {}, 0, "", 0, {}},
        InputCase{"ModeOneLeftoverBeforeComma", 1, "x,5", {}, 0, "5", 0, {}},
        InputCase{"ClosedWithoutOk", 0, "", {{"5", modalCancel}}, 8, "", 1, {}},
        InputCase{"ClosedAfterRetype", 0, "", {{"abc"}, {"5", modalCancel}}, 8, "", 2, {retype}}),
    [](const ::testing::TestParamInfo<InputCase> &param) { return param.param.name; });

TEST_F(InputStatement, ValuesOfOneLineFeedTheNextVariables) {
    input.answers = {{"3,4"}, {"9"}};
    double first = 0, second = 0, third = 0;
    runtime.inputnum(first, 0);
    runtime.inputnum(second, 1);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 4);
    EXPECT_EQ(dialogs(), 1);
    runtime.inputnum(third, 1); // the buffer is empty: the prompt and a new dialog
    EXPECT_EQ(third, 9);
    EXPECT_EQ(dialogs(), 2);
    EXPECT_THAT(said(), ::testing::ElementsAre(prompt));
}

TEST_F(InputStatement, RetypeRequestOnItsOwnLineThenTheDialogAgain) {
    input.answers = {{"abc"}, {"2"}};
    double number = 0;
    runtime.inputnum(number, 0);
    EXPECT_EQ(number, 2);
    EXPECT_THAT(log, ::testing::ElementsAre("input", "say:" + toCp1250(retype), "input"));
    EXPECT_EQ(screen.line(0), toCp1250(retype) + std::string(80 - 13, ' '));
    EXPECT_EQ(runtime.scrcursor.row, 1);
    EXPECT_EQ(runtime.scrcursor.column, 0);
}

TEST_F(InputStatement, TextsFollowTheLanguage) {
    settings.languagebase = 2000;
    input.answers = {{"abc"}, {"2"}};
    double number = 0;
    runtime.inputnum(number, 2);
    EXPECT_THAT(said(), ::testing::ElementsAre("Enter data", "Please retype", "Enter data"));
}

// Sets LC_NUMERIC for one test and restores it afterwards.
class NumericLocale {
public:
    explicit NumericLocale(const char *name) {
        const char *current = std::setlocale(LC_NUMERIC, nullptr);
        old_ = current ? current : "C";
        ok_ = std::setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, old_.c_str()); }
    bool ok() const { return ok_; }

private:
    std::string old_;
    bool ok_ = false;
};

struct LocaleCase {
    const char *name;
    const char *locale;
    const char *line;
    double number;
    std::string bufferAfter;
    int dialogs;
};

class LocaleCases : public InputStatement, public ::testing::WithParamInterface<LocaleCase> {};

TEST_P(LocaleCases, DecimalSeparatorOfTheUsersLocale) {
    const LocaleCase &c = GetParam();
    NumericLocale locale(c.locale);
    ASSERT_TRUE(locale.ok()) << c.locale << " is missing: run scripts/setup";
    input.answers = {{c.line}, {"7"}};
    double number = 0;
    runtime.inputnum(number, 0);
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(runtime.inputbuffer, c.bufferAfter);
    EXPECT_EQ(dialogs(), c.dialogs);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleCases,
    ::testing::Values(LocaleCase{"CzechCommaSeparatesValues", "cs_CZ.UTF-8", "2,5", 2, "5", 1},
                      LocaleCase{"CzechRefusesPoint", "cs_CZ.UTF-8", "2.5", 7, "", 2},
                      LocaleCase{"EnglishCommaSeparatesValues", "en_US.UTF-8", "2,5", 2, "5", 1},
                      LocaleCase{"EnglishTakesPoint", "en_US.UTF-8", "2.5", 2.5, "", 1},
                      LocaleCase{"EnglishExponent", "en_US.UTF-8", "2.5E-1", 0.25, "", 1}),
    [](const ::testing::TestParamInfo<LocaleCase> &param) { return param.param.name; });

} // namespace
} // namespace hunt::testing
