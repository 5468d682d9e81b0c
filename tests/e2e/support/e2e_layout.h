// The Options dialog as it is designed: every control with its kind, initial caption, place and tab index, each frame
// before the controls it holds. The end-to-end tests find the real controls at these places, so a test names a
// control instead of repeating its numbers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Twips (15 to the pixel at 96 dpi).
struct TwipRect {
    int left, top, width, height;
};

enum class Kind { kFrame, kOption, kCheck, kCommand, kText, kList, kLabel };

struct Designed {
    const char* name;
    Kind kind;
    const wchar_t* caption;  // the initial text; lists show their selection instead
    const char* frame;       // null: directly on the dialog
    TwipRect place;          // from the frame's corner, or the client area's
    int tab;
    bool enabledAtStart = true;
};

// The window class of a control of each kind; labels are drawn by the program itself.
inline std::wstring WindowClassOf(Kind kind) {
    switch (kind) {
        case Kind::kText: return L"Edit";
        case Kind::kList: return L"ComboBox";
        case Kind::kLabel: return L"LumoffLite";
        default: return L"Button";
    }
}

// Whether a button's style is the one of its kind (any style fits what is no button).
inline bool ButtonStyleFits(Kind kind, LONG_PTR style) {
    const LONG_PTR type = style & BS_TYPEMASK;
    switch (kind) {
        case Kind::kFrame: return type == BS_GROUPBOX;
        case Kind::kOption: return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        case Kind::kCheck: return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
        case Kind::kCommand: return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
        default: return true;
    }
}

inline constexpr int kDialogWidthTwips = 2895;
inline constexpr int kDialogHeightTwips = 8535;

inline const std::vector<Designed>& DialogLayout() {
    constexpr int kLeft = 120, kWidth = 2655;
    static const std::vector<Designed> layout = {
        {"frameStartup", Kind::kFrame, L"Start on Windows Startup", nullptr, {kLeft, 120, kWidth, 615}, 0},
        {"frameTimer", Kind::kFrame, L"Timed Turn Off", nullptr, {kLeft, 840, kWidth, 1695}, 27},
        {"frameSchedule", Kind::kFrame, L"Schedule", nullptr, {kLeft, 2640, kWidth, 1335}, 34},
        {"frameHotKey", Kind::kFrame, L"HotKey", nullptr, {kLeft, 4080, kWidth, 2175}, 30},
        {"frameBehavior", Kind::kFrame, L"Behavior", nullptr, {kLeft, 6360, kWidth, 855}, 38},
        {"frameMisc", Kind::kFrame, L"Other Options", nullptr, {kLeft, 7320, kWidth, 1095}, 33},

        {"radStartOn", Kind::kOption, L"Enabled", "frameStartup", {120, 240, 1095, 255}, 1},
        {"radStartOff", Kind::kOption, L"Disabled", "frameStartup", {1440, 240, 975, 255}, 2},

        {"timHrs1", Kind::kText, L"00", "frameTimer", {120, 360, 375, 285}, 3},
        {"lblColon(0)", Kind::kLabel, L":", "frameTimer", {480, 360, 135, 255}, 28},
        {"timMin1", Kind::kText, L"00", "frameTimer", {600, 360, 375, 285}, 4},
        {"lblColon(1)", Kind::kLabel, L":", "frameTimer", {960, 360, 135, 255}, 29},
        {"timSec1", Kind::kText, L"30", "frameTimer", {1080, 360, 375, 285}, 5},
        {"cmdTimed", Kind::kCommand, L"Go", "frameTimer", {1560, 360, 975, 285}, 6},
        {"chkIdle", Kind::kCheck, L"Only if Idle", "frameTimer", {120, 720, 2415, 255}, 7},
        {"chkScr", Kind::kCheck, L"Like a Screensaver", "frameTimer", {840, 960, 1695, 255}, 39, false},
        {"chkOther1", Kind::kCheck, L"Other Action:", "frameTimer", {120, 1200, 1335, 375}, 8},
        {"Combo1", Kind::kList, L"", "frameTimer", {1440, 1200, 1095, 315}, 9, false},

        {"chkSchedule", Kind::kCheck, L"Enable Schedule", "frameSchedule", {120, 240, 2415, 255}, 10},
        {"timHrs2", Kind::kText, L"23", "frameSchedule", {120, 560, 375, 285}, 11},
        {"lblColon(4)", Kind::kLabel, L":", "frameSchedule", {480, 560, 135, 255}, 36},
        {"timMin2", Kind::kText, L"59", "frameSchedule", {600, 560, 375, 285}, 12},
        {"lblColon(3)", Kind::kLabel, L":", "frameSchedule", {960, 560, 135, 255}, 35},
        {"timSec2", Kind::kText, L"59", "frameSchedule", {1080, 560, 375, 285}, 13},
        {"lblSetTime", Kind::kLabel, L"Set Time", "frameSchedule", {1440, 580, 855, 255}, 37},
        {"chkOther2", Kind::kCheck, L"Other Action:", "frameSchedule", {120, 840, 1335, 375}, 14},
        {"Combo2", Kind::kList, L"", "frameSchedule", {1440, 870, 1095, 315}, 15, false},

        {"hkeyButton1", Kind::kList, L"", "frameHotKey", {120, 240, 1095, 315}, 16},
        {"lblColon(2)", Kind::kLabel, L"+", "frameHotKey", {1200, 240, 255, 255}, 32},
        {"hkeyButton2", Kind::kList, L"", "frameHotKey", {1440, 240, 1095, 315}, 17},
        {"cmdHotKey", Kind::kCommand, L"Set Global Hotkey", "frameHotKey", {120, 720, 2415, 255}, 18},
        {"lblAlso", Kind::kLabel, L"Also use these to turn back on:", "frameHotKey", {120, 1080, 2295, 255}, 31},
        {"chkMouse", Kind::kCheck, L"Mouse Click", "frameHotKey", {120, 1320, 2415, 255}, 19},
        {"chkEnter", Kind::kCheck, L"Enter Key", "frameHotKey", {120, 1560, 2415, 255}, 20},
        {"chkSpace", Kind::kCheck, L"Space Bar", "frameHotKey", {120, 1800, 2415, 255}, 21},

        {"radVista", Kind::kOption, L"Vista / Newer", "frameBehavior", {120, 240, 1335, 255}, 22},
        {"radXP", Kind::kOption, L"XP / Older", "frameBehavior", {1440, 240, 1095, 255}, 23},
        {"chkMsg", Kind::kCheck, L"Show monitor-off message", "frameBehavior", {120, 480, 2415, 255}, 40},

        {"cmdUpdate", Kind::kCommand, L"Check for Updates", "frameMisc", {120, 240, 2415, 255}, 24},
        {"cmdReadme", Kind::kCommand, L"Open the Readme file", "frameMisc", {120, 480, 2415, 255}, 25},
        {"cmdReg", Kind::kCommand, L"Uninstall Lumoff", "frameMisc", {120, 720, 2415, 255}, 26},
    };
    return layout;
}

// A control's place in the dialog's client area.
inline TwipRect Place(std::string_view name) {
    for (const Designed& d : DialogLayout()) {
        if (name != d.name) continue;
        TwipRect r = d.place;
        if (d.frame) {
            const TwipRect frame = Place(d.frame);
            r.left += frame.left;
            r.top += frame.top;
        }
        return r;
    }
    ADD_FAILURE() << "no control " << name << " in the layout";
    return {};
}

}  // namespace e2e
