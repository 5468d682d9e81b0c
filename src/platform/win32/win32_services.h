// Win32 implementations of the platform services other than the view (see view_win.h).
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/handles_win.h"

namespace lumoff::platform::win32 {

class Win32Registry : public Registry {
public:
    RegKey Open(std::string_view subkey) override;
    RegKey Create(std::string_view subkey) override;
    void Close(RegKey key) override;
    long SetValue(RegKey key, std::string_view name, std::uint32_t type, const void* data,
                  std::uint32_t length) override;
    long QueryValue(RegKey key, std::string_view name, std::uint32_t* type, void* data,
                    std::uint32_t* length) override;
    long DeleteValue(RegKey key, std::string_view name) override;
    long DeleteKey(RegKey key, std::string_view subkey) override;
    long EnumValueName(RegKey key, std::uint32_t index, std::string* name) override;
    long SetUnicodeText(RegKey key, std::string_view name, std::string_view text) override;
    long QueryUnicodeText(RegKey key, std::string_view name, std::string* text) override;

private:
    RegKey Keep(HKEY key);
    // The keys handed out and not yet closed: a program holds one or two at a time.
    std::vector<OwnedKey> open_;
};

class Win32Clock : public Clock {
public:
    std::uint32_t TickCount() override;
    std::uint32_t LastInputTick() override;
    LocalTime Now() override;
    void Sleep(std::uint32_t ms) override;
    std::string ShortDatePattern() override;
};

class Win32Process : public Process {
public:
    Win32Process();
    ~Win32Process() override;
    std::string CommandLine() override;
    std::string ExeName() override;
    std::string ExeFolder() override;
    std::string ExePath() override { return unicode_path_; }
    bool SameFileName(std::string_view a, std::string_view b) override;
    bool PreviousInstanceRunning() override;
    void HideFromTaskList() override;
    OsVersion QueryOsVersion() override;
    std::string EnvironmentVariable(const std::string& name) override;
    [[noreturn]] void Exit() override;

private:
    std::string path_;
    std::string unicode_path_;  // UTF-8
    HANDLE instance_mutex_ = nullptr;
    bool owns_instance_ = false;
};

class Win32Desktop : public Desktop {
public:
    Win32Desktop();
    int ShowMessage(WindowRef owner, const std::string& text, const std::string& title, unsigned style) override;
    WindowRef FindWindowByTitle(const std::string& title) override;
    void SetWindowTitle(WindowRef window, const std::string& title) override;
    void SendMonitorPower(WindowRef window, int state) override;
    void SetForegroundWindow(WindowRef window) override;
    void OpenUrl(WindowRef owner, const std::string& url) override;
    std::int16_t AsyncKeyState(int virtual_key) override;
    bool RegisterHotKey(WindowRef window, int id, unsigned modifiers, unsigned virtual_key) override;
    void UnregisterHotKey(WindowRef window, int id) override;
    ui::TwipRect VirtualScreen() override;
    ui::TwipRect PrimaryMonitor() override;

private:
    // LUMOFF_POWER_LOG names a file that receives one line per power request, for the end-to-end tests: the
    // request itself leaves no trace a test could see from outside. LUMOFF_LIVE_LOG names a file that receives,
    // with every power request, a line of the live object counts (handles_win.h), for the soak.
    std::string power_log_;
    std::string live_log_;
};

// The icon shown is the one the record's window carries (the program's icon).
class Win32Tray : public Tray {
public:
    bool AddIcon(const TrayIcon& icon) override;
    void DeleteIcon(const TrayIcon& icon) override;
};

}  // namespace lumoff::platform::win32
