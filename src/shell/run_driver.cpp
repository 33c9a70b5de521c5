#include "run_driver.h"

#include "localization/string_table.h"
#include "program/hosted_program.h"
#include "runtime/errors.h"
#include "runtime/runtime.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace hunt {
namespace {

constexpr const char *dataFileName = "data.dta";
constexpr int32_t readyText = 25; // "hotovo"

} // namespace

RunDriver::RunDriver(Runtime &runtime, RunMenus &menus, VoicePreparation &voice)
    : RunDriver(runtime, menus, voice, [](Runtime &rt) { hostedprogram(rt); }) {}

RunDriver::RunDriver(Runtime &runtime, RunMenus &menus, VoicePreparation &voice, Program program)
    : runtime_(runtime), menus_(menus), voice_(voice), program_(std::move(program)) {}

void RunDriver::setItemsEnabled(bool enabled) {
    for (RunMenuItem item : runmenuitems)
        menus_.setEnabled(item, enabled);
}

void RunDriver::preparevoice() {
    if (menus_.usesapi5Checked())
        return;
    GlobalSettings &settings = runtime_.ports.settings;
    if (settings.voiceallowed)
        voice_.loadvoicesettings();
    if (!settings.voiceready && settings.voiceallowed) {
        voice_.selectvoice();
        voice_.savevoicesettings();
        voice_.loadvoicesettings();
    }
}

void RunDriver::opendatafile() {
    std::error_code error;
    const auto status = std::filesystem::status(dataFileName, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return;
    // Opening a pipe or a device could block the run or read without end.
    if (!std::filesystem::is_regular_file(status))
        throw HuntError(std::string("Cannot open ") + dataFileName + ": not a regular file");
    datafile.close();
    datafile.clear();
    errno = 0;
    datafile.open(dataFileName, std::ios::in);
    if (!datafile.is_open()) {
        const int code = errno;
        throw HuntError(std::string("Cannot open ") + dataFileName + ": " +
                        (code ? std::strerror(code) : "I/O error"));
    }
}

void RunDriver::closedatafile() {
    if (datafile.is_open())
        datafile.close();
    datafile.clear();
}

void RunDriver::StartsubmenuClick() {
    // The disabled menu item keeps a second run from starting inside the first; should the
    // command still arrive (a queued shortcut), it does nothing.
    if (running_)
        return;
    running_ = true;
    struct Running {
        bool &flag;
        ~Running() { flag = false; }
    } running{running_};
    setItemsEnabled(false);
    try {
        preparevoice();
        opendatafile();
        runtime_.ports.settings.runstarted = true;
        runtime_.resetrun();
        program_(runtime_);
        runtime_.printstr(
            TResourceLocalizer::GetText(runtime_.ports.settings.languagebase, readyText), 0);
    } catch (...) {
        // An error ends the run: unlock the menus so that the user can start again.
        closedatafile();
        setItemsEnabled(true);
        throw;
    }
    closedatafile();
    setItemsEnabled(true);
}

} // namespace hunt
