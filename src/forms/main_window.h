// frmMain: the small borderless, always-on-top caption window. Layout only; its behaviour is wired by the
// program (app/program.h) and the subsystems.
#pragma once

#include "ui/form.h"

namespace lumoff {

inline constexpr const char* kTurnOffTag = "Turn Off";
inline constexpr const char* kTurnOnTag = "Turn On";

class MainWindow : public ui::Form {
public:
    MainWindow();

    ui::Label& lblCaption;
    ui::Image& imgCaption;
    ui::Image& imgTurnOff;
    ui::Image& imgClose;
    ui::Image& imgMinToTray;
    ui::Image& imgSettings;
    ui::Timer& tmrSticky;
    ui::Timer& tmr;
    // Tries the tray icon again while the shell does not take it (tray/tray.h).
    ui::Timer& tmrTray;
};

}  // namespace lumoff
