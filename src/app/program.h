// The program: builds the windows, wires every handler, and runs the start-up that ends in the main loop.
#pragma once

#include <string>

#include "app/command_line.h"
#include "forms/context.h"
#include "app/housekeeping.h"
#include "hotkey/hotkey.h"
#include "monitor/toggle.h"
#include "monitor/wake_options.h"
#include "options/start_with_windows.h"
#include "options/uninstall.h"
#include "timed/countdown.h"
#include "timed/schedule.h"
#include "timed/screensaver.h"
#include "tray/tray.h"
#include "web/file_download.h"

namespace lumoff {

class Program {
public:
    explicit Program(platform::Platform os);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Creates the main window and runs its load handler, the whole start-up. Returns only when the process
    // ends some other way than by its own exit (the simulated platform's stop).
    void Run();

    Context ctx;
    MonitorControl monitor;
    TrayArea tray;
    GlobalHotKey hotkey;
    WakeOptions wake_options;
    StartWithWindows start_with_windows;
    Uninstall uninstall;
    Housekeeping housekeeping;
    Countdown countdown;
    Screensaver screensaver;
    Schedule schedule;
    // The download component behind "Check for Updates" and the install ping.
    FileDownloadControl FDC;

private:
    void Form_Load();
    void SelectModeFromProbe();
    void FeedbackPrompt(const std::string& install_date);
    void WireMainWindow();
    void LoadOptionsDialog();
    void ShowAbout();
    void ShowOptionsAbout();
};

// OsGeneration from the system's platform id and major version.
int ProbeOsGeneration(platform::Process& process);
std::string ReadCommandLine(platform::Process& process);

}  // namespace lumoff
