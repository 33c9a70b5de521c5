// The Start command: menus locked during a run and unlocked after it however it ends, the voice
// prepared, data.dta held open, the "ready" text, and runs following one another on the screen.

#include "game_harness.h"

#include "localization/codepage.h"
#include "runtime/errors.h"
#include "shell/run_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hunt::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

const char *itemName(RunMenuItem item) {
    switch (item) {
    case RunMenuItem::Startsubmenu:
        return "Startsubmenu";
    case RunMenuItem::soundssubmenu:
        return "soundssubmenu";
    case RunMenuItem::environmentsubmenu:
        return "environmentsubmenu";
    case RunMenuItem::Voicesubmenu:
        return "Voicesubmenu";
    case RunMenuItem::usesapi5submenu:
        return "usesapi5submenu";
    case RunMenuItem::helpmenu:
        return "helpmenu";
    }
    return "?";
}

class RecordingMenus final : public RunMenus {
public:
    explicit RecordingMenus(EventLog &log) : log_(log) {}
    void setEnabled(RunMenuItem item, bool enabled) override {
        state[item] = enabled;
        log_.push_back(std::string(enabled ? "enable:" : "disable:") + itemName(item));
    }
    bool usesapi5Checked() const override { return usesapi5; }
    bool allEnabled(bool enabled) const {
        for (RunMenuItem item : runmenuitems) {
            const auto found = state.find(item);
            if (found == state.end() ? !enabled : found->second != enabled)
                return false;
        }
        return true;
    }

    std::map<RunMenuItem, bool> state;
    bool usesapi5 = false;

private:
    EventLog &log_;
};

class RecordingVoice final : public VoicePreparation {
public:
    RecordingVoice(EventLog &log, GlobalSettings &settings) : log_(log), settings_(settings) {}
    void loadvoicesettings() override { log_.push_back("loadvoicesettings"); }
    void selectvoice() override {
        log_.push_back("selectvoice");
        settings_.voiceready = true;
    }
    void savevoicesettings() override { log_.push_back("savevoicesettings"); }

private:
    EventLog &log_;
    GlobalSettings &settings_;
};

// Whether this process holds a descriptor on data.dta.
bool dataFileHeldOpen() {
    for (const auto &entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const fs::path target = fs::read_symlink(entry.path(), error);
        if (!error && target.filename() == "data.dta")
            return true;
    }
    return false;
}

class RunDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "hunt-run-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        fs::current_path(directory_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(directory_);
    }

    // A run of the real treasure hunt: one game found at the first attempt.
    RunDriver::Program quickGame() {
        game.press({" ", " ", " "}).hit();
        return [this](Runtime &runtime) {
            duringRun.push_back(menus.allEnabled(false));
            duringRunDataFile.push_back(dataFileHeldOpen());
            hostedprogram(runtime, game.vars);
        };
    }

    GameHarness game;
    RecordingMenus menus{game.log};
    RecordingVoice voice{game.log, game.settings};
    std::vector<bool> duringRun, duringRunDataFile;

private:
    fs::path previous_, directory_;
};

TEST_F(RunDriverTest, LocksTheMenusRunsTheGameAndSaysReady) {
    RunDriver driver(game.runtime, menus, voice, quickGame());
    ASSERT_NO_THROW(driver.StartsubmenuClick());

    EXPECT_THAT(duringRun, ElementsAre(true));
    EXPECT_TRUE(menus.allEnabled(true));
    EXPECT_TRUE(game.settings.runstarted);
    EXPECT_TRUE(game.vars.returnstack.cells.empty());

    const auto events = game.events();
    const std::vector<std::string> disabled = {
        "disable:Startsubmenu", "disable:soundssubmenu",   "disable:environmentsubmenu",
        "disable:Voicesubmenu", "disable:usesapi5submenu", "disable:helpmenu"};
    const std::vector<std::string> enabled = {"say:hotovo",           "enable:Startsubmenu",
                                              "enable:soundssubmenu", "enable:environmentsubmenu",
                                              "enable:Voicesubmenu",  "enable:usesapi5submenu",
                                              "enable:helpmenu"};
    ASSERT_GT(events.size(), disabled.size() + enabled.size());
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 6), disabled);
    EXPECT_EQ(events[6], "say:dobrý ďeň;");
    EXPECT_EQ(std::vector<std::string>(events.end() - 7, events.end()), enabled);

    // "hotovo" on its own line below the program's output; the cursor on the next line.
    const auto lines = game.screenLines();
    const auto ready = std::find(lines.begin(), lines.end(), "hotovo");
    ASSERT_NE(ready, lines.end());
    ASSERT_NE(ready, lines.begin());
    EXPECT_EQ(*(ready - 1), "jeden pokus.");
    const auto readyRow = ready - lines.begin();
    EXPECT_EQ(game.runtime.scrcursor.row, readyRow + 1);
    EXPECT_EQ(game.runtime.scrcursor.column, 0);
}

TEST_F(RunDriverTest, AnErrorEndsTheRunButUnlocksTheMenus) {
    std::ofstream("data.dta") << "1\n";
    RunDriver driver(game.runtime, menus, voice, [this](Runtime &runtime) {
        duringRun.push_back(menus.allEnabled(false));
        runtime.printstr("beh", 0);
        throw HuntError("'x' is not a valid integer value");
    });
    EXPECT_THROW(driver.StartsubmenuClick(), HuntError);
    EXPECT_THAT(duringRun, ElementsAre(true));
    EXPECT_TRUE(menus.allEnabled(true));
    EXPECT_FALSE(driver.datafileopen());
    EXPECT_FALSE(dataFileHeldOpen());
    EXPECT_TRUE(game.entries("say:hotovo").empty());

    // The user can start again.
    RunDriver again(game.runtime, menus, voice,
                    [](Runtime &runtime) { runtime.printstr("beh", 0); });
    ASSERT_NO_THROW(again.StartsubmenuClick());
    EXPECT_EQ(game.entries("say:hotovo").size(), 1u);
}

TEST_F(RunDriverTest, DataFileIsOpenDuringTheRunAndClosedAfterIt) {
    std::ofstream("data.dta") << "12\n";
    RunDriver driver(game.runtime, menus, voice, quickGame());
    driver.StartsubmenuClick();
    EXPECT_THAT(duringRunDataFile, ElementsAre(true));
    EXPECT_FALSE(driver.datafileopen());
    EXPECT_FALSE(dataFileHeldOpen());
    EXPECT_EQ(game.entries("say:hotovo").size(), 1u);
}

TEST_F(RunDriverTest, WithoutDataFileTheRunGoesOn) {
    RunDriver driver(game.runtime, menus, voice, quickGame());
    ASSERT_NO_THROW(driver.StartsubmenuClick());
    EXPECT_THAT(duringRunDataFile, ElementsAre(false));
    EXPECT_EQ(game.entries("say:hotovo").size(), 1u);
    EXPECT_TRUE(menus.allEnabled(true));
}

TEST_F(RunDriverTest, UnreadableDataFileIsAnErrorAndUnlocksTheMenus) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    std::ofstream("data.dta") << "1\n";
    fs::permissions("data.dta", fs::perms::none);
    bool ran = false;
    RunDriver driver(game.runtime, menus, voice, [&ran](Runtime &) { ran = true; });
    try {
        driver.StartsubmenuClick();
        FAIL() << "no error";
    } catch (const HuntError &error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("data.dta"));
    }
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menus.allEnabled(true));
}

TEST_F(RunDriverTest, DataFileOpenFailureIsAnErrorAndUnlocksTheMenus) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' own runtime needs free descriptors";
#endif
    std::ofstream("data.dta") << "1\n";
    bool ran = false;
    RunDriver driver(game.runtime, menus, voice, [&ran](Runtime &) { ran = true; });
    // Leave the process no free descriptor, so that opening data.dta fails (EMFILE).
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    const int lowestFree = dup(0);
    ASSERT_GE(lowestFree, 0);
    close(lowestFree);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    std::string message;
    try {
        driver.StartsubmenuClick();
    } catch (const HuntError &error) {
        message = error.what();
    }
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_THAT(message, ::testing::HasSubstr("data.dta"));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menus.allEnabled(true));
    EXPECT_TRUE(game.entries("say:hotovo").empty());
}

TEST_F(RunDriverTest, DataFileThatIsNoRegularFile) {
    // A directory is not a file: the run goes on without one.
    fs::create_directory("data.dta");
    RunDriver driver(game.runtime, menus, voice, [](Runtime &) {});
    ASSERT_NO_THROW(driver.StartsubmenuClick());
    EXPECT_EQ(game.entries("say:hotovo").size(), 1u);
    fs::remove("data.dta");

    // A pipe would block the open: refused with a message instead.
    ASSERT_EQ(mkfifo("data.dta", 0600), 0);
    bool ran = false;
    RunDriver piped(game.runtime, menus, voice, [&ran](Runtime &) { ran = true; });
    EXPECT_THROW(piped.StartsubmenuClick(), HuntError);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menus.allEnabled(true));
}

TEST_F(RunDriverTest, ASecondRunContinuesBelowTheFirst) {
    RunDriver driver(game.runtime, menus, voice,
                     [](Runtime &runtime) { runtime.printstr("beh", 0); });
    driver.StartsubmenuClick();
    game.runtime.scrcursor.column = 5; // whatever a key handler left, the next run starts at 0
    driver.StartsubmenuClick();
    const auto lines = game.screenLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 5),
                ElementsAre("beh", "hotovo", "beh", "hotovo", ""));
    EXPECT_EQ(game.runtime.scrcursor.row, 4);
}

TEST_F(RunDriverTest, StartInsideARunDoesNothing) {
    int runs = 0;
    RunDriver *self = nullptr;
    RunDriver driver(game.runtime, menus, voice, [&](Runtime &) {
        ++runs;
        EXPECT_TRUE(self->running());
        self->StartsubmenuClick();
    });
    self = &driver;
    driver.StartsubmenuClick();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(driver.running());
    EXPECT_EQ(game.entries("say:hotovo").size(), 1u);
    EXPECT_TRUE(menus.allEnabled(true));
}

TEST_F(RunDriverTest, ReadyTextFollowsTheLanguage) {
    game.settings.languagebase = 2000;
    RunDriver driver(game.runtime, menus, voice, [](Runtime &) {});
    driver.StartsubmenuClick();
    EXPECT_EQ(game.screenLines()[0], "ready");
}

struct VoiceCase {
    const char *name;
    bool usesapi5, voiceallowed, voiceready;
    std::vector<std::string> calls;
};

class VoicePreparationCases : public RunDriverTest,
                              public ::testing::WithParamInterface<VoiceCase> {};

TEST_P(VoicePreparationCases, BeforeTheRun) {
    const VoiceCase &c = GetParam();
    menus.usesapi5 = c.usesapi5;
    game.settings.voiceallowed = c.voiceallowed;
    game.settings.voiceready = c.voiceready;
    RunDriver driver(game.runtime, menus, voice,
                     [this](Runtime &) { game.log.push_back("program"); });
    driver.StartsubmenuClick();
    std::vector<std::string> calls;
    for (const auto &entry : game.log) {
        if (entry == "program")
            break;
        if (entry.find("voice") != std::string::npos)
            calls.push_back(entry);
    }
    EXPECT_EQ(calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, VoicePreparationCases,
    ::testing::Values(
        VoiceCase{"SystemServiceNeedsNothing", true, true, false, {}},
        VoiceCase{"NoVoiceAllowed", false, false, false, {}},
        VoiceCase{"ReadyVoiceLoadsSettings", false, true, true, {"loadvoicesettings"}},
        VoiceCase{"VoiceNotReadyIsSelected",
                  false,
                  true,
                  false,
                  {"loadvoicesettings", "selectvoice", "savevoicesettings", "loadvoicesettings"}}),
    [](const ::testing::TestParamInfo<VoiceCase> &param) { return param.param.name; });

} // namespace
} // namespace hunt::testing
