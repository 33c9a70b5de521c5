#pragma once
#include <fstream>
#include <functional>

namespace hunt {

class Runtime;

// The menu items a run locks, in the order they are disabled and enabled again.
enum class RunMenuItem {
    Startsubmenu,
    soundssubmenu,
    environmentsubmenu,
    Voicesubmenu,
    usesapi5submenu,
    helpmenu,
};
inline constexpr RunMenuItem runmenuitems[] = {
    RunMenuItem::Startsubmenu, RunMenuItem::soundssubmenu,   RunMenuItem::environmentsubmenu,
    RunMenuItem::Voicesubmenu, RunMenuItem::usesapi5submenu, RunMenuItem::helpmenu,
};

// What the run driver needs of the main window's menu.
class RunMenus {
public:
    virtual ~RunMenus() = default;
    virtual void setEnabled(RunMenuItem item, bool enabled) = 0;
    virtual bool usesapi5Checked() const = 0; // the system speech service is in use
};

// Setting up the embedded engine's voice before a run.
class VoicePreparation {
public:
    virtual ~VoicePreparation() = default;
    virtual void loadvoicesettings() = 0; // select the stored voice, apply pitch, speed, volume
    virtual void selectvoice() = 0;       // open the engine for the chosen voice, set voiceready
    virtual void savevoicesettings() = 0;
};

// The Start command: runs the hosted program once, synchronously, with the menus locked.
class RunDriver {
public:
    using Program = std::function<void(Runtime &)>;

    RunDriver(Runtime &runtime, RunMenus &menus, VoicePreparation &voice);
    // Runs another program in place of the treasure hunt (tests).
    RunDriver(Runtime &runtime, RunMenus &menus, VoicePreparation &voice, Program program);

    // Locks the menus, prepares the voice, holds data.dta open (when it exists), runs the
    // program and prints the "ready" text. However the run ends, data.dta is closed and the
    // menus are unlocked again; an error (HuntError) then goes on to the caller.
    void StartsubmenuClick();

    bool datafileopen() const { return datafile.is_open(); }
    bool running() const { return running_; }

private:
    void setItemsEnabled(bool enabled);
    void preparevoice();
    void opendatafile();
    void closedatafile();

    Runtime &runtime_;
    RunMenus &menus_;
    VoicePreparation &voice_;
    Program program_;
    std::ifstream datafile; // data.dta, open for reading during a run; nothing reads it
    bool running_ = false;
};

} // namespace hunt
