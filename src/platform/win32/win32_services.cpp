#include "platform/win32/win32_services.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace lumoff::platform::win32 {

namespace {
HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }
HWND ToHwnd(WindowRef window) { return reinterpret_cast<HWND>(window); }
std::string Str(std::string_view s) { return std::string(s); }

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The longest value name the registry allows, in characters, and its NUL.
constexpr DWORD kMaxValueNameChars = 16383 + 1;

// A function of shell32.dll, which is loaded the first time one is asked for: imported, the library (with the ones it
// loads in turn) would be loaded at every start, before the caption window, for a web page or a tray icon that most
// starts never show. It is taken from the system folder by its full path; null when it cannot be loaded. Called on
// the user-interface thread only.
HMODULE ShellLibrary() {
    static HMODULE library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        char folder[MAX_PATH];
        UINT length = GetSystemDirectoryA(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            library = LoadLibraryA((std::string(folder, length) + "\\shell32.dll").c_str());
    }
    return library;
}

template <typename Function>
Function FromShell(const char* name) {
    HMODULE library = ShellLibrary();
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}
}  // namespace

// ---- Registry --------------------------------------------------------------------------------------------------

RegKey Win32Registry::Keep(HKEY key) {
    open_.emplace_back(key);
    return FromHkey(key);
}

RegKey Win32Registry::Open(std::string_view subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Str(subkey).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
    return Keep(key);
}

RegKey Win32Registry::Create(std::string_view subkey) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    char key_class[] = "REG_DWORD";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, Str(subkey).c_str(), 0, key_class, 0, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return 0;
    return Keep(key);
}

void Win32Registry::Close(RegKey key) {
    for (auto it = open_.begin(); it != open_.end(); ++it) {
        if (it->get() == ToHkey(key)) {
            open_.erase(it);
            return;
        }
    }
}

long Win32Registry::SetValue(RegKey key, std::string_view name, std::uint32_t type, const void* data,
                             std::uint32_t length) {
    return RegSetValueExA(ToHkey(key), Str(name).c_str(), 0, type, static_cast<const BYTE*>(data), length);
}

long Win32Registry::QueryValue(RegKey key, std::string_view name, std::uint32_t* type, void* data,
                               std::uint32_t* length) {
    DWORD t = 0;
    DWORD len = *length;
    LONG result = RegQueryValueExA(ToHkey(key), Str(name).c_str(), nullptr, &t, static_cast<BYTE*>(data), &len);
    if (type) *type = t;
    *length = len;
    return result;
}

long Win32Registry::DeleteValue(RegKey key, std::string_view name) {
    return RegDeleteValueW(ToHkey(key), Wide(name).c_str());
}

long Win32Registry::DeleteKey(RegKey key, std::string_view subkey) {
    return RegDeleteKeyA(ToHkey(key), Str(subkey).c_str());
}

long Win32Registry::EnumValueName(RegKey key, std::uint32_t index, std::string* name) {
    std::vector<wchar_t> buffer(kMaxValueNameChars);
    DWORD length = kMaxValueNameChars;
    LONG result = RegEnumValueW(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) *name = Utf8(std::wstring_view(buffer.data(), length));
    return result;
}

long Win32Registry::SetUnicodeText(RegKey key, std::string_view name, std::string_view text) {
    std::wstring data = Wide(text);
    return RegSetValueExW(ToHkey(key), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

long Win32Registry::QueryUnicodeText(RegKey key, std::string_view name, std::string* text) {
    std::wstring value_name = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(ToHkey(key), value_name.c_str(), nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
    // Room for a NUL the data may lack.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    result = RegQueryValueExW(ToHkey(key), value_name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                              &size);
    if (result != ERROR_SUCCESS) return result;
    *text = Utf8(buffer.data());
    return ERROR_SUCCESS;
}

// ---- Clock -----------------------------------------------------------------------------------------------------

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

std::uint32_t Win32Clock::LastInputTick() {
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    GetLastInputInfo(&info);
    return info.dwTime;
}

LocalTime Win32Clock::Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// Blocks the thread, but still answers messages that other threads and processes send to its windows: another copy
// that retitles this copy's window waits for the answer, and must not wait out the whole sleep.
void Win32Clock::Sleep(std::uint32_t ms) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        const auto left = static_cast<std::int32_t>(end - GetTickCount());
        if (left <= 0) return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

std::string Win32Clock::ShortDatePattern() {
    char buf[80] = {};
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof buf)) return "M/d/yyyy";
    return buf;
}

// ---- Process ---------------------------------------------------------------------------------------------------

Win32Process::Win32Process() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            path_.assign(buf.data(), n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    std::vector<wchar_t> wide(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
        if (n < wide.size()) {
            unicode_path_ = Utf8(std::wstring_view(wide.data(), n));
            break;
        }
        wide.resize(wide.size() * 2);
    }
    // One mutex per executable name and user session, owned by the first copy: a second copy of the same file name
    // finds it owned, and the system releases it when that copy ends, whichever way.
    std::string exe = ExeName();
    CharLowerA(exe.data());
    std::string name = "Local\\Lumoff.Instance." + exe;
    instance_mutex_ = CreateMutexA(nullptr, FALSE, name.c_str());
    PreviousInstanceRunning();
}

bool Win32Process::PreviousInstanceRunning() {
    if (!instance_mutex_ || owns_instance_) return false;
    const DWORD taken = WaitForSingleObject(instance_mutex_, 0);
    owns_instance_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    return !owns_instance_;
}

Win32Process::~Win32Process() {
    if (instance_mutex_) CloseHandle(instance_mutex_);
}

std::string Win32Process::CommandLine() {
    const char* line = GetCommandLineA();
    return line ? std::string(line, static_cast<size_t>(lstrlenA(line))) : std::string();
}

std::string Win32Process::ExeName() {
    size_t slash = path_.find_last_of("\\/");
    std::string file = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    size_t dot = file.find_last_of('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

std::string Win32Process::ExeFolder() {
    size_t slash = path_.find_last_of("\\/");
    if (slash == std::string::npos) return {};
    // The root of a drive keeps its separator ("C:\"), as the folder of a file is reported there.
    return slash == 2 && path_[1] == ':' ? path_.substr(0, 3) : path_.substr(0, slash);
}

bool Win32Process::SameFileName(std::string_view a, std::string_view b) {
    const std::wstring wa = Wide(a);
    const std::wstring wb = Wide(b);
    return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()),
                                TRUE) == CSTR_EQUAL;
}

// The program's windows are tool windows without a taskbar button, so there is nothing further to hide.
void Win32Process::HideFromTaskList() {}

OsVersion Win32Process::QueryOsVersion() {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;  // the extended record, 156 bytes
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // the reported version is exactly what the program asks for
#endif
    GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
    return {info.dwPlatformId, info.dwMajorVersion};
}

std::string Win32Process::EnvironmentVariable(const std::string& name) {
    char buf[1024];
    DWORD n = GetEnvironmentVariableA(name.c_str(), buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

void Win32Process::Exit() { ExitProcess(0); }

// ---- Desktop ---------------------------------------------------------------------------------------------------

namespace {
std::string PathFromEnvironment(const char* name) {
    char buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}
}  // namespace

Win32Desktop::Win32Desktop()
    : power_log_(PathFromEnvironment("LUMOFF_POWER_LOG")), live_log_(PathFromEnvironment("LUMOFF_LIVE_LOG")) {}

int Win32Desktop::ShowMessage(WindowRef owner, const std::string& text, const std::string& title, unsigned style) {
    return MessageBoxA(ToHwnd(owner), text.c_str(), title.c_str(), style);
}

WindowRef Win32Desktop::FindWindowByTitle(const std::string& title) {
    return reinterpret_cast<WindowRef>(FindWindowA(nullptr, title.c_str()));
}

void Win32Desktop::SetWindowTitle(WindowRef window, const std::string& title) {
    SetWindowTextA(ToHwnd(window), title.c_str());
}

void Win32Desktop::SendMonitorPower(WindowRef window, int state) {
    if (!power_log_.empty()) {
        if (FILE* f = std::fopen(power_log_.c_str(), "a")) {
            std::fputs((std::to_string(GetTickCount()) + " " + std::to_string(state) + "\n").c_str(), f);
            std::fclose(f);
        }
    }
    if (!live_log_.empty()) {
        if (FILE* f = std::fopen(live_log_.c_str(), "a")) {
            WriteLiveCounts(f, GetTickCount());
            std::fclose(f);
        }
    }
    SendMessageA(ToHwnd(window), WM_SYSCOMMAND, SC_MONITORPOWER, state);
}

void Win32Desktop::SetForegroundWindow(WindowRef window) { ::SetForegroundWindow(ToHwnd(window)); }

void Win32Desktop::OpenUrl(WindowRef owner, const std::string& url) {
    if (auto open = FromShell<decltype(&::ShellExecuteA)>("ShellExecuteA"))
        open(ToHwnd(owner), nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::int16_t Win32Desktop::AsyncKeyState(int virtual_key) { return GetAsyncKeyState(virtual_key); }

ui::TwipRect Win32Desktop::VirtualScreen() {
    ScreenDc screen;
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    auto twips = [dpi](int metric) { return MulDiv(GetSystemMetrics(metric), 1440, dpi > 0 ? dpi : 96); };
    return {twips(SM_XVIRTUALSCREEN), twips(SM_YVIRTUALSCREEN), twips(SM_CXVIRTUALSCREEN), twips(SM_CYVIRTUALSCREEN)};
}

ui::TwipRect Win32Desktop::PrimaryMonitor() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    auto twips = [dpi](int metric) { return MulDiv(GetSystemMetrics(metric), 1440, dpi > 0 ? dpi : 96); };
    return {0, 0, twips(SM_CXSCREEN), twips(SM_CYSCREEN)};
}

bool Win32Desktop::RegisterHotKey(WindowRef window, int id, unsigned modifiers, unsigned virtual_key) {
    return ::RegisterHotKey(ToHwnd(window), id, modifiers, virtual_key) != FALSE;
}

void Win32Desktop::UnregisterHotKey(WindowRef window, int id) { ::UnregisterHotKey(ToHwnd(window), id); }

// ---- Tray ------------------------------------------------------------------------------------------------------

namespace {

// The record as the shell takes it: the structure of the headers in use, whatever its size on this system.
NOTIFYICONDATAA NotifyData(const TrayIcon& icon) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = ToHwnd(icon.window);
    data.uID = icon.id;
    data.uFlags = icon.flags;
    data.uCallbackMessage = icon.callback_message;
    // The window's small icon is the size the notification area shows; the large one and the class's stand in.
    HICON handle = reinterpret_cast<HICON>(SendMessageA(data.hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!handle) handle = reinterpret_cast<HICON>(SendMessageA(data.hWnd, WM_GETICON, ICON_BIG, 0));
    if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrA(data.hWnd, GCLP_HICONSM));
    data.hIcon = handle;
    // The zeroed rest of the longer field ends the text; the shell shows it up to its first NUL.
    std::memcpy(data.szTip, icon.tip.data(), std::min(icon.tip.size(), sizeof data.szTip - 1));
    return data;
}

}  // namespace

bool Win32Tray::AddIcon(const TrayIcon& icon) {
    NOTIFYICONDATAA data = NotifyData(icon);
    auto notify = FromShell<decltype(&::Shell_NotifyIconA)>("Shell_NotifyIconA");
    return notify && notify(NIM_ADD, &data);
}

// The result is not looked at: an icon that is not there is what a delete wants.
void Win32Tray::DeleteIcon(const TrayIcon& icon) {
    NOTIFYICONDATAA data = NotifyData(icon);
    if (auto notify = FromShell<decltype(&::Shell_NotifyIconA)>("Shell_NotifyIconA")) notify(NIM_DELETE, &data);
}

}  // namespace lumoff::platform::win32
