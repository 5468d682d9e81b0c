// Lumoff under test: starts lumoff.exe, finds its caption window, and reads what it left behind (the monitor-power
// requests it sent, which the exe writes to the file named by LUMOFF_POWER_LOG).
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "lumoff_version.h"

namespace e2e {

inline constexpr wchar_t kLumoffClass[] = L"LumoffForm";
inline constexpr wchar_t kOptionsTitle[] = L"Lumoff Options";

// Writes a Settings value exactly as the program does: single-byte characters through the A function, without a
// terminating NUL (the W functions would take the same bytes as UTF-16). Any other type takes the bytes as given.
inline bool WriteRaw(const char* name, const std::string& text, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lumoff", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return false;
    LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                                 static_cast<DWORD>(text.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// The text of a Settings value as the program's A functions see it (without the NUL that they add to text stored
// without one), or nothing when it is missing.
inline std::optional<std::string> ReadRaw(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Lumoff", 0, KEY_READ, &key)) return std::nullopt;
    char buf[512];
    DWORD length = sizeof buf;
    LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    if (length > 0 && buf[length - 1] == '\0') --length;
    return std::string(buf, length);
}

// The Settings key as a returning user of this version has it: only `Version`, the running version, written as the
// program writes it. The program then starts without its first-run or upgrade message, and every control keeps the
// state the dialog gives it. Every test that starts lumoff.exe and is not about the first run or an upgrade calls
// this first (and may write further values with WriteRaw afterwards).
inline bool SeedSettings() {
    return WriteRaw("Version", LUMOFF_VERSION_TEXT);
}

// The window that has the keyboard focus in the thread that owns `window` (of any process), or null.
inline HWND FocusInThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

class Lumoff {
public:
    explicit Lumoff(const std::wstring& args = L"", const std::wstring& exe = LumoffExe()) {
        PreparePowerLog();
        process = Launch(exe, args);
    }
    // A whole command line, started as logon starts a Run value (LaunchCommandLine).
    struct AsLogon {
        std::wstring commandLine;
    };
    explicit Lumoff(const AsLogon& line) {
        PreparePowerLog();
        process = LaunchCommandLine(line.commandLine);
    }

    // The visible caption window of this copy.
    // Also waits until the program idles and the desktop's own taskbar is up: input injected while Wine's desktop
    // is still starting can be lost.
    HWND WaitForMain(Duration timeout = kDefaultTimeout) {
        HWND main = WaitForWindow({.className = kLumoffClass, .pid = process.Pid(), .visibleOnly = true}, timeout);
        if (main) WaitUntilReady(timeout);
        return main;
    }
    // A point of the caption window, in its own pixels from its top-left corner.
    POINT ScreenPoint(int x, int y) {
        RECT r = WindowRect(WaitForMain());
        return {r.left + x, r.top + y};
    }
    // The Options dialog of this copy, shown or hidden (it is created hidden at start-up).
    HWND Options() { return FindTopLevel({.title = kOptionsTitle, .className = kLumoffClass, .pid = process.Pid()}); }
    POINT CaptionPoint() { return ScreenPoint(40, 8); }
    // Drags the caption with the left button held, in small steps as a hand would, by (dx, dy) pixels.
    bool DragCaption(int dx, int dy) {
        POINT from = CaptionPoint();
        MoveCursor(from);
        if (!MouseButton(from, true)) return false;
        constexpr int kSteps = 10;
        for (int step = 1; step <= kSteps; ++step) {
            MoveCursor({from.x + dx * step / kSteps, from.y + dy * step / kSteps});
            Pause(Duration(20));
        }
        return MouseButton({from.x + dx, from.y + dy}, false);
    }
    POINT TurnOffPoint() { return ScreenPoint(32, 40); }
    POINT SettingsPoint() { return ScreenPoint(72, 56); }
    POINT TrayPoint() { return ScreenPoint(72, 40); }

    // The caption window of this copy, shown or hidden: the status screen has the same title and class, but covers
    // the screen. Null once the caption's title has changed.
    HWND Caption() {
        for (HWND w : FindTopLevels({.title = L"Lumoff", .className = kLumoffClass, .pid = process.Pid()}))
            if (!CoversScreen(w)) return w;
        return nullptr;
    }
    // The status screen of this copy (made the first time the monitor is turned off), or null.
    HWND StatusScreen() {
        for (HWND w : FindTopLevels({.title = L"Lumoff", .className = kLumoffClass, .pid = process.Pid()}))
            if (CoversScreen(w)) return w;
        return nullptr;
    }
    bool StatusScreenShown() { return IsVisible(StatusScreen()); }
    // As WaitForMain, for a copy whose caption window may be hidden (a start in the tray shows it only for a moment):
    // the caption window, shown or hidden, once the program idles.
    HWND WaitForCaption(Duration timeout = kDefaultTimeout) {
        HWND caption = nullptr;
        WaitUntil([&] { return (caption = Caption()) != nullptr; }, timeout);
        if (caption) WaitUntilReady(timeout);
        return caption;
    }

    struct PowerRequest {
        DWORD tick;
        int state;
    };
    // The power requests sent so far, with the tick count at which each was sent (state 2 is off).
    std::vector<PowerRequest> PowerLog() const {
        std::vector<PowerRequest> requests;
        std::ifstream in(std::string(log_.begin(), log_.end()));
        unsigned long tick = 0;
        int state = 0;
        while (in >> tick >> state) requests.push_back({static_cast<DWORD>(tick), state});
        return requests;
    }
    std::vector<int> PowerRequests() const {
        std::vector<int> states;
        for (const auto& r : PowerLog()) states.push_back(r.state);
        return states;
    }

    Process process;

private:
    static bool CoversScreen(HWND window) {
        const RECT r = WindowRect(window), screen = ScreenRect();
        return EqualRect(&r, &screen) != FALSE;
    }
    void PreparePowerLog() {
        static int counter = 0;
        log_ = ArtifactPath(L"power-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
                            L".log");
        DeleteFileW(log_.c_str());
        SetEnvironmentVariableW(L"LUMOFF_POWER_LOG", log_.c_str());
    }
    // Once per copy: the program idles and the desktop's own taskbar is up.
    void WaitUntilReady(Duration timeout) {
        if (ready_) return;
        WaitForWindow({.className = L"Shell_TrayWnd", .visibleOnly = true}, timeout);
        WaitForInputIdle(process, timeout);
        Pause(Duration(200));
        ready_ = true;
    }
    std::wstring log_;
    bool ready_ = false;
};

}  // namespace e2e
