// What every part of the program shares: the platform, the configuration, the windows and the few program-wide
// fields. The windows' controls are the live settings; nothing else caches them.
#pragma once

#include <cmath>
#include <functional>

#include "forms/config.h"
#include "forms/main_window.h"
#include "forms/status_screen.h"
#include "forms/options_dialog.h"
#include "platform/platform.h"

namespace lumoff {

// OsGeneration values.
inline constexpr int kOsUnknownNt = 0;
inline constexpr int kOsXpOrOlder = 1;
inline constexpr int kOsVistaOrNewer = 2;
inline constexpr int kOsUnsupported = -1;

struct Context {
    Context(platform::Platform os, Config config) : os(os), config(std::move(config)), options(this->config.web_host) {}

    platform::Platform os;
    Config config;
    MainWindow main;
    OptionsDialog options;

    // Gives the Options dialog its window and runs its load handler, once; every use of the dialog's window
    // goes through here.
    std::function<void()> load_options;
    bool options_loaded = false;
    OptionsDialog& Options() {
        if (!options_loaded && load_options) {
            options_loaded = true;
            load_options();
        }
        return options;
    }

    // The status screen gets its window the first time it is used, and keeps it.
    TurnedOffScreen turned_off;
    TurnedOffScreen& TurnedOff() {
        os.view.Create(turned_off);
        return turned_off;
    }

    platform::WindowRef MainHandle() { return os.view.Handle(main); }

    int os_generation = kOsUnknownNt;
    // This copy loaded its settings and is the one that runs: only it answers another copy's requests and stores the
    // window's place. A copy that asks another one, hands over to it or ends at start-up never becomes it.
    bool running_copy = false;
    // The main window's position as last loaded or saved, in whole twips.
    long last_top = 0;
    long last_left = 0;
};

// Rounds to the nearest whole number, a half going to the even neighbour.
inline long RoundHalfEven(double value) { return std::lrint(std::nearbyint(value)); }

}  // namespace lumoff
