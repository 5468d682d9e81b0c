// Tools for Lumoff's end-to-end tests: start programs, find and inspect their windows, press their buttons and menu
// items, inject mouse and keyboard input, create and delete registry keys, and take screenshots.
//
// The driver is a Win32 console program that runs in the same Wine prefix (and so the same virtual desktop) as the
// programs it drives; every call here is a plain Win32 call against another process's windows. Nothing here knows
// Lumoff's behaviour: tests state what they expect, these tools only look and act.
//
// Every function that waits takes a timeout and polls (every kPollInterval); none of them waits forever.

#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using Duration = std::chrono::milliseconds;

inline constexpr Duration kDefaultTimeout{5000};
inline constexpr Duration kPollInterval{15};

// Polls `condition` until it holds or `timeout` passes; returns whether it held. The condition is always tried at
// least once, and once more after the timeout, so a zero timeout means "check now".
bool WaitUntil(const std::function<bool()>& condition, Duration timeout = kDefaultTimeout);

// Lets the other process run for a while when there is nothing to wait for (e.g. to prove something does NOT happen).
void Pause(Duration duration);

// ---- Programs under test -------------------------------------------------------------------------------------------

// Full Windows path of lumoff.exe: %LUMOFF_EXE% if set, else lumoff.exe next to the driver.
std::wstring LumoffExe();
// Full Windows path of the reference program: %LUMOFF_REFERENCE_EXE% if set, else reference.exe next to the driver.
std::wstring ReferenceExe();
// Full Windows path of this driver.
std::wstring DriverExe();
// Where a test may leave files for a person to look at (screenshots): %LUMOFF_E2E_ARTIFACTS% if set, else the
// driver's folder. Returns that folder joined with `fileName`; the folder is created if needed.
std::wstring ArtifactPath(std::wstring_view fileName);
bool FileExists(const std::wstring& path);

// ---- Processes -----------------------------------------------------------------------------------------------------

// A process this driver started. Owning: if it is still running when the object goes away, it is killed, so a failing
// test never leaves its program behind. Only processes started through Launch() are ever killed.
class Process {
public:
    Process() = default;
    Process(HANDLE handle, DWORD pid) : handle_(handle), pid_(pid) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool Valid() const { return handle_ != nullptr; }
    HANDLE Handle() const { return handle_; }
    DWORD Pid() const { return pid_; }

    bool IsRunning() const;
    // True once the process has ended (within `timeout`).
    bool WaitForExit(Duration timeout = kDefaultTimeout) const;
    // Ends the process if it still runs and waits for it to be gone. Returns whether it is gone.
    bool Kill(UINT exitCode = 0xDEAD);
    // The exit code once the process has ended; nothing while it runs.
    std::optional<DWORD> ExitCode() const;

private:
    void Close();

    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

// Starts `exe` with the command-line arguments `args` (already quoted as needed). The working directory is the exe's
// folder. Returns an invalid Process if it could not be started.
Process Launch(const std::wstring& exe, const std::wstring& args = L"");
// Starts a whole command line as logon starts a Run value: CreateProcessW without an application name, so the system
// finds the program in the line itself (and, when the line starts with an unquoted path, tries its cut-offs at the
// spaces first). The working directory is the driver's.
Process LaunchCommandLine(const std::wstring& commandLine);
// The full path of the file the process runs, or empty.
std::wstring ImagePath(const Process& process);

// Waits until the process waits for input with an empty queue (its window is up and idle). Fails at once for console
// programs, such as this driver's helper programs: wait for their windows instead.
bool WaitForInputIdle(const Process& process, Duration timeout = kDefaultTimeout);

// ---- Helper programs -----------------------------------------------------------------------------------------------
//
// A helper program is a small Win32 program built into this driver, run in its own process when the driver is started
// with --e2e-helper=NAME. It stands in for "another program" where a test needs one that behaves in a known way (e.g.
// the browser the shell starts).

using HelperProgram = int (*)(const std::vector<std::wstring>& args);

struct HelperProgramRegistration {
    HelperProgramRegistration(const char* name, HelperProgram program);
};

// Defines a helper program: E2E_HELPER_PROGRAM(message_box) { ...; return exitCode; }. `args` are its arguments.
#define E2E_HELPER_PROGRAM(name)                                                                         \
    static int E2eHelper_##name(const std::vector<std::wstring>& args);                                  \
    static const ::e2e::HelperProgramRegistration e2eHelperRegistration_##name{#name, E2eHelper_##name}; \
    static int E2eHelper_##name([[maybe_unused]] const std::vector<std::wstring>& args)

// Called by main(): if the command line asks for a helper program, runs it and returns its exit code.
std::optional<int> RunHelperProgramIfAsked(int argc, wchar_t** argv);

// ---- Top-level windows ---------------------------------------------------------------------------------------------

// What a top-level window must match; empty or zero fields match anything.
struct WindowQuery {
    std::wstring title{};      // exact window text
    std::wstring className{};  // exact class name
    DWORD pid = 0;             // owning process
    bool visibleOnly = false;
};

HWND FindTopLevel(const WindowQuery& query);
std::vector<HWND> FindTopLevels(const WindowQuery& query);
HWND WaitForWindow(const WindowQuery& query, Duration timeout = kDefaultTimeout);
// True once the window is destroyed.
bool WaitForWindowGone(HWND window, Duration timeout = kDefaultTimeout);
// True once the window is hidden or destroyed.
bool WaitForHidden(HWND window, Duration timeout = kDefaultTimeout);
bool WaitForVisible(HWND window, Duration timeout = kDefaultTimeout);

bool IsVisible(HWND window);
RECT WindowRect(HWND window);
// The client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);
POINT Center(const RECT& rect);
int Width(const RECT& rect);
int Height(const RECT& rect);
LONG_PTR Style(HWND window);
LONG_PTR ExStyle(HWND window);
bool IsTopmost(HWND window);
// The shell's rule: a visible window gets a taskbar button if it has WS_EX_APPWINDOW, or if it is unowned and not a
// tool window.
bool HasTaskbarButton(HWND window);
// The window's text, asked of its owner with WM_GETTEXT so it is right for controls of other processes too.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
DWORD WindowPid(HWND window);
// "[class "text"]" in ASCII, for failure messages.
std::string Describe(HWND window);
// The middle of a window's close box, found by asking the window what each point of its title bar is.
std::optional<POINT> CloseBoxPoint(HWND window);
HWND Owner(HWND window);

// ---- Child controls ------------------------------------------------------------------------------------------------

std::vector<HWND> Children(HWND parent);  // all descendants
// The deepest visible child control of `parent` under a screen point (disabled ones included, group boxes only when
// nothing inside them is hit), or `parent` itself if there is none.
HWND ChildAt(HWND parent, POINT screenPoint);

// The selected entry of a combo box of any process (asked with the W messages, so the text arrives wide); empty if
// none.
std::wstring ComboSelectedText(HWND combo);

// ---- Message boxes -------------------------------------------------------------------------------------------------

inline constexpr wchar_t kDialogClass[] = L"#32770";

// A visible dialog (class #32770) with this exact title belonging to `pid` (0: any process).
HWND FindMessageBox(DWORD pid, std::wstring_view title);
HWND WaitForMessageBox(DWORD pid, std::wstring_view title, Duration timeout = kDefaultTimeout);
// The message of a message box (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Captions of the visible buttons of a dialog, in tab order, '&' removed.
std::vector<std::wstring> DialogButtons(HWND dialog);
// Presses the visible button with this caption ('&' ignored) with BM_CLICK. Posted, so a button that opens another
// modal window does not block the driver. Returns false if there is no such button.
bool PressDialogButton(HWND dialog, std::wstring_view caption);

// ---- Popup menus ---------------------------------------------------------------------------------------------------

inline constexpr wchar_t kPopupMenuClass[] = L"#32768";

// A visible popup menu window (class #32768), of `pid` if not 0.
HWND FindPopupMenu(DWORD pid = 0);
HWND WaitForPopupMenu(DWORD pid = 0, Duration timeout = kDefaultTimeout);
// Chooses an item of the open popup menu by keyboard messages posted to the menu window: Home, Down `position` times,
// Enter. `position` counts the items the keyboard stops at: every item but separators (0 = the first). Works across
// processes under Wine and Windows, because the menu's modal loop reads all of its thread's messages.
bool ChooseMenuItemByKeys(HWND menuWindow, int position);

// ---- Input ---------------------------------------------------------------------------------------------------------
//
// All input is injected with SendInput into the desktop's input queue, as a person's would arrive: it goes to whatever
// window is under the cursor or has the focus, and reaches GetAsyncKeyState, GetLastInputInfo and hotkeys.

enum Modifier : unsigned {
    kNoModifier = 0,
    kShift = 1u << 0,
    kControl = 1u << 1,
    kAlt = 1u << 2,
    kWin = 1u << 3,
};
using Modifiers = unsigned;

// Moves the cursor and returns once it has stayed there (see the .cpp for why that matters under Wine).
bool MoveCursor(POINT screenPoint);
POINT CursorPosition();
// The left button pressed or released at a point.
bool MouseButton(POINT screenPoint, bool down);
bool Click(POINT screenPoint);
bool DoubleClick(POINT screenPoint);
bool RightClick(POINT screenPoint);
// Presses and releases `virtualKey` with the modifiers held around it.
bool PressKey(WORD virtualKey, Modifiers modifiers = kNoModifier);

// ---- Notification area (tray) --------------------------------------------------------------------------------------

// The taskbar of the Wine desktop (class Shell_TrayWnd, owned by explorer.exe), which holds the notification icons.
HWND TaskbarWindow();
// Where the notification icon in `slot` is drawn on Wine's taskbar: slot 0 is the first icon shown, at the right end,
// and each further one sits one cell to the left (cells are a small icon plus 2 pixels on every side). Wine's own
// layout, not Windows'. Empty if there is no taskbar.
std::optional<RECT> TrayIconRect(int slot = 0);
// Whether an icon is drawn in that cell (it holds more than the taskbar's plain background).
bool TrayIconShown(int slot = 0);

// ---- Registry (HKEY_CURRENT_USER) ----------------------------------------------------------------------------------

inline constexpr wchar_t kLumoffKey[] = L"Software\\Lumoff";

bool KeyExists(const std::wstring& key);
bool CreateKey(const std::wstring& key);
// Deletes the key with everything below it. True if it is gone (also when it never existed).
bool DeleteKey(const std::wstring& key);

// ---- Screenshots ---------------------------------------------------------------------------------------------------

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};

// A picture of part of the screen, kept as 24-bit pixels and addressed in screen coordinates.
class Screenshot {
public:
    Screenshot() = default;
    Screenshot(RECT bounds, std::vector<std::uint8_t> bgrTopDown);

    bool Empty() const { return pixels_.empty(); }
    RECT Bounds() const { return bounds_; }
    bool Contains(POINT screenPoint) const;
    // The pixel at a screen point; black outside the picture.
    Rgb PixelAt(POINT screenPoint) const;
    // How many pixels of `screenRect` (clipped to the picture) are within `tolerance` of `color`, as a fraction 0..1.
    double FractionOf(const RECT& screenRect, Rgb color, int tolerance = 0) const;
    bool AllPixels(const RECT& screenRect, Rgb color, int tolerance = 0) const;
    // Writes a 24-bit BMP (Windows path).
    bool SaveBmp(const std::wstring& path) const;

private:
    int Stride() const;

    RECT bounds_{};
    std::vector<std::uint8_t> pixels_;  // rows top-down, BGR, each row padded to 4 bytes as in a BMP
};

Rgb SystemColor(int index);  // GetSysColor as Rgb

RECT ScreenRect();  // the whole (virtual) screen
Screenshot CaptureScreen();
Screenshot CaptureRect(const RECT& screenRect);

}  // namespace e2e
