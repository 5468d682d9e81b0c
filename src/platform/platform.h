// The one door to the operating system.
//
// Each service is a narrow interface of a few methods. The Win32 backend (platform/win32) implements them thinly
// and decides nothing; the simulated backend (platform/sim) holds the state in memory for the tests and records
// what was asked of it. Program logic sees only these interfaces and the ui objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/form.h"

namespace lumoff::platform {

// A top-level window of this or another process; 0 is none.
using WindowRef = std::uintptr_t;
// An open registry key under HKEY_CURRENT_USER; 0 is none.
using RegKey = std::uintptr_t;

// Registry value types and result codes, as the system defines them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorUnsupportedType = 1630;

// The registry of the current user (HKEY_CURRENT_USER), with the byte-level behaviour of the A functions: text data
// stored without its NUL reads back with one added.
class Registry {
public:
    virtual ~Registry() = default;
    // Opens with full access; 0 when the key does not exist or cannot be opened.
    virtual RegKey Open(std::string_view subkey) = 0;
    // Opens or creates with full access; 0 on failure.
    virtual RegKey Create(std::string_view subkey) = 0;
    virtual void Close(RegKey key) = 0;
    virtual long SetValue(RegKey key, std::string_view name, std::uint32_t type, const void* data,
                          std::uint32_t length) = 0;
    // On entry *length is the buffer's size; on success it is the data's length. Data longer than the buffer
    // gives kErrorMoreData.
    virtual long QueryValue(RegKey key, std::string_view name, std::uint32_t* type, void* data,
                            std::uint32_t* length) = 0;
    // The name is UTF-8 (the program's own names are plain ASCII), so a value of any name can be deleted.
    virtual long DeleteValue(RegKey key, std::string_view name) = 0;
    // Deletes the subkey of key; an empty subkey deletes the key itself.
    virtual long DeleteKey(RegKey key, std::string_view subkey) = 0;
    // The whole name of the value at this position, in UTF-8, whatever the value's size and type; kErrorNoMoreItems
    // past the last value.
    virtual long EnumValueName(RegKey key, std::uint32_t index, std::string* name) = 0;
    // REG_SZ text through the system's Unicode calls, for text that may lie outside the ANSI code page (a path).
    // The text is UTF-8 here; the data written is its characters without a terminating NUL.
    virtual long SetUnicodeText(RegKey key, std::string_view name, std::string_view text) = 0;
    // The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, in UTF-8; any other type is not read.
    virtual long QueryUnicodeText(RegKey key, std::string_view name, std::string* text) = 0;
};

struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since the system started; wraps after about 49.7 days.
    virtual std::uint32_t TickCount() = 0;
    // Tick count of the last keyboard or mouse input on the system.
    virtual std::uint32_t LastInputTick() = 0;
    virtual LocalTime Now() = 0;
    // Blocks the user-interface thread.
    virtual void Sleep(std::uint32_t ms) = 0;
    // The user's short date pattern, for example "M/d/yyyy" or "dd.MM.yyyy".
    virtual std::string ShortDatePattern() = 0;
};

struct OsVersion {
    std::uint32_t platform_id = 0;
    std::uint32_t major = 0;
};

// This process: how it was started, who it is, how it ends.
class Process {
public:
    virtual ~Process() = default;
    virtual std::string CommandLine() = 0;
    // The executable's file name without its extension, as this process sees it.
    virtual std::string ExeName() = 0;
    virtual std::string ExeFolder() = 0;
    // The full path of the program file as the system reports it, taken in Unicode and given as UTF-8, so that a
    // folder named outside the ANSI code page survives.
    virtual std::string ExePath() = 0;
    // Whether two paths (UTF-8) are the same text as the system compares file names: ordinal, ignoring letter case,
    // non-ASCII letters too ("ŁÓDŹ" is "łódź"), one character for one.
    virtual bool SameFileName(std::string_view a, std::string_view b) = 0;
    // Another copy of the same executable name that started earlier still runs in this user session, asked anew at
    // each call. The first copy holds the instance until it ends; a copy that asks once none holds it any more
    // holds it from then on.
    virtual bool PreviousInstanceRunning() = 0;
    virtual void HideFromTaskList() = 0;
    virtual OsVersion QueryOsVersion() = 0;
    // Empty when the variable is not set.
    virtual std::string EnvironmentVariable(const std::string& name) = 0;
    // Ends the process at once; no unload or exit steps of the program run.
    [[noreturn]] virtual void Exit() = 0;
};

// Message-box styles and answers, as the system numbers them.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbSetForeground = 0x10000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// The hotkey flag that keeps a held key from firing again with each of the keyboard's auto-repeats (MOD_NOREPEAT).
inline constexpr unsigned kModNoRepeat = 0x4000;

// Windows, input and the other desktop services of the user interface.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual int ShowMessage(WindowRef owner, const std::string& text, const std::string& title, unsigned style) = 0;
    // A top-level window of any process with exactly this title; 0 when there is none.
    virtual WindowRef FindWindowByTitle(const std::string& title) = 0;
    virtual void SetWindowTitle(WindowRef window, const std::string& title) = 0;
    // WM_SYSCOMMAND / SC_MONITORPOWER sent synchronously to one of the program's own windows.
    virtual void SendMonitorPower(WindowRef window, int state) = 0;
    virtual void SetForegroundWindow(WindowRef window) = 0;
    // Opens a web address in the user's browser.
    virtual void OpenUrl(WindowRef owner, const std::string& url) = 0;
    // GetAsyncKeyState: top bit while down, lowest bit when pressed since the previous query.
    virtual std::int16_t AsyncKeyState(int virtual_key) = 0;
    // Modifiers are the system's MOD_ flags. A combination is taken once, whatever else is added to its flags: a
    // registration fails while another holds the same keys.
    virtual bool RegisterHotKey(WindowRef window, int id, unsigned modifiers, unsigned virtual_key) = 0;
    virtual void UnregisterHotKey(WindowRef window, int id) = 0;
    // The virtual desktop (every monitor) in twips, measured from the primary monitor's top-left corner: its left
    // and top are negative when a monitor lies left of or above the primary one.
    virtual ui::TwipRect VirtualScreen() = 0;
    // The primary monitor in twips; its top-left corner is 0, 0.
    virtual ui::TwipRect PrimaryMonitor() = 0;
};

// One icon of the program in the notification area. The shell shows the icon of the window it belongs to and
// reports the user's mouse actions on it to that window as the callback message.
inline constexpr std::uint32_t kNifMessage = 0x1;
inline constexpr std::uint32_t kNifIcon = 0x2;
inline constexpr std::uint32_t kNifTip = 0x4;
inline constexpr std::size_t kTrayTipLength = 64;

struct TrayIcon {
    WindowRef window = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callback_message = 0;
    // The tip's characters; the shell shows them up to the first NUL.
    std::string tip;
};

// The notification area of the shell.
class Tray {
public:
    virtual ~Tray() = default;
    // False when the shell did not take the icon: its notification area is not up yet (a slow logon) or busy, or an
    // icon of the same window and id is already there.
    virtual bool AddIcon(const TrayIcon& icon) = 0;
    // Removes the icon of the same window and id.
    virtual void DeleteIcon(const TrayIcon& icon) = 0;
};

// Creates real windows for forms, mirrors them, and runs their events.
class View {
public:
    virtual ~View() = default;
    // Creates the native window of the form and its controls, hidden. The form's host becomes this view.
    virtual void Create(ui::Form& form) = 0;
    virtual WindowRef Handle(const ui::Form& form) = 0;
    // Shows a popup menu at the mouse pointer and runs the chosen item's handler.
    virtual void PopupMenu(ui::Form& owner, const ui::Menu& menu) = 0;
    // Lets the system move the form with the mouse as if its caption bar had been grabbed.
    virtual void BeginCaptionDrag(ui::Form& form) = 0;
};

// The message queue of the user-interface thread.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Blocks until a new message arrives.
    virtual void WaitMessage() = 0;
    // Takes at most one hotkey message addressed to the window out of the queue.
    virtual bool TakeHotKeyMessage(WindowRef window) = 0;
    // Dispatches every pending message to its handlers.
    virtual void DoEvents() = 0;
};

// A downloaded body, kept in a temporary file of its own. The file goes when this object goes, whatever happens in
// between (also when the process ends abruptly), so no caller can leave it behind.
class TempFile {
public:
    virtual ~TempFile() = default;
    virtual const std::string& path() const = 0;
    // The whole content; false when it cannot be read.
    virtual bool ReadAll(std::string& content) = 0;
};

struct DownloadLimits {
    // The body may be at most this long; a longer one fails the download.
    std::size_t max_bytes = 0;
    // The whole download, from the start to the last byte, fails once it takes longer.
    std::uint32_t timeout_ms = 0;
    // A redirect from one address to another is followed only when this answers true for the pair (a pure function,
    // called on any thread); any other redirect fails the download. None: no redirect is followed.
    bool (*may_redirect)(std::string_view from, std::string_view to) = nullptr;
};

// How a download ended: a file on success; no file and a short reason (for a person, not shown to the user) on
// failure. An answer with an HTTP error status is a failure.
struct DownloadResult {
    std::unique_ptr<TempFile> file;
    std::string error;
};

// HTTP GET in the background, one request at a time per Get call. Every request goes to the server itself: no
// cache anywhere on the way may answer it.
class Downloads {
public:
    using Completion = std::function<void(DownloadResult)>;
    virtual ~Downloads() = default;
    // Starts fetching `url` (http:// or https://). False when it cannot start; done then never runs. Otherwise done
    // runs exactly once, later, on the user-interface thread, from the event loop's dispatch of a message, unless
    // CancelAll comes first.
    virtual bool Get(const std::string& url, const DownloadLimits& limits, Completion done) = 0;
    // Stops every running download: their completions never run and no file of theirs is left.
    virtual void CancelAll() = 0;
};

struct Platform {
    Registry& registry;
    Clock& clock;
    Process& process;
    Desktop& desktop;
    View& view;
    EventLoop& events;
    Tray& tray;
    Downloads& downloads;
};

}  // namespace lumoff::platform
