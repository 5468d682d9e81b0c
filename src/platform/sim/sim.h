// The simulated platform for the tests: one world (registry, clock, desktop, input) shared by any number of
// program copies, each a SimProcess with its own command line, windows, timers and message queue.
//
// Time is virtual: it moves only when a copy waits for a message (to the next timer or scripted event) or
// sleeps. Scripted input and message-box answers are queued by the test beforehand. A copy that ends throws
// ProcessExited; a wait with nothing left to happen before the test's horizon throws SimStopped.
//
// One copy runs at a time (SimProcess::RunAsCurrent: a test starts or resumes it). Every other copy that has started
// and not ended is parked in its main loop, as a copy waiting for its next message on a real desktop: while the
// running copy waits, sleeps or shows a box, the parked ones get their due timers and hotkey messages, all in
// virtual-time order, so the ticks of two copies interleave as they do between two processes.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_downloads.h"
#include "platform/sim/sim_registry.h"
#include "ui/layout.h"

namespace lumoff::platform::sim {

struct ProcessExited {
    std::uint32_t at_ms;
};
struct SimStopped {};

struct ShownBox {
    WindowRef owner;
    std::string text;
    std::string title;
    unsigned style;
    int answer;
    // Virtual times at which the box opened and was answered; it stays open in between.
    std::uint64_t shown_at_ms = 0;
    std::uint64_t answered_at_ms = 0;
};

struct PowerRequest {
    WindowRef window;
    int state;
    std::uint32_t at_ms;
};

struct HotKeyRegistration {
    WindowRef window;
    int id;
    unsigned modifiers;
    unsigned vk;
};

class SimProcess;

struct TrayCall {
    bool add;  // false for a delete
    TrayIcon icon;
};

class SimWorld : public Clock, public Desktop, public Tray {
public:
    SimWorld();

    SimRegistry registry;
    SimDownloads downloads{*this};

    // Clock
    std::uint32_t TickCount() override { return tick_base_ + static_cast<std::uint32_t>(now_ms_); }
    std::uint32_t LastInputTick() override { return last_input_tick_; }
    LocalTime Now() override;
    void Sleep(std::uint32_t ms) override;
    std::string ShortDatePattern() override { return short_date_pattern; }

    // Desktop
    int ShowMessage(WindowRef owner, const std::string& text, const std::string& title, unsigned style) override;
    WindowRef FindWindowByTitle(const std::string& title) override;
    void SetWindowTitle(WindowRef window, const std::string& title) override;
    void SendMonitorPower(WindowRef window, int state) override;
    void SetForegroundWindow(WindowRef window) override { foreground = window; }
    void OpenUrl(WindowRef owner, const std::string& url) override { opened_urls.push_back({owner, url}); }
    std::int16_t AsyncKeyState(int virtual_key) override;
    bool RegisterHotKey(WindowRef window, int id, unsigned modifiers, unsigned virtual_key) override;
    void UnregisterHotKey(WindowRef window, int id) override;
    ui::TwipRect VirtualScreen() override;
    ui::TwipRect PrimaryMonitor() override;

    // Tray: one icon per window and id, as the shell keeps them, with the tip it shows (up to the first NUL, and only
    // when the flags name one). Adding an icon that is already there fails, and so does every add while the shell is
    // not up; deleting one that is not there does nothing; all are recorded.
    bool AddIcon(const TrayIcon& icon) override;
    void DeleteIcon(const TrayIcon& icon) override;
    std::vector<TrayIcon> tray_icons;
    std::vector<TrayCall> tray_calls;
    // The user's mouse action on an icon (a mouse message number such as 514, the left button's release): the shell
    // sends it to the icon's window as the icon's callback message. False when no such icon is shown.
    bool NotifyTrayIcon(WindowRef window, std::uint32_t id, int mouse_message);
    // The shell starts (again): it is up, every icon is gone, and every window of the running copies hears of it.
    void RestartShell();
    // Whether the shell's notification area takes icons: not yet at a slow logon, until it starts (RestartShell) or
    // the test says it is up.
    bool shell_up = true;

    // Test set-up and observation.
    std::string short_date_pattern = "M/d/yyyy";
    void SetTickBase(std::uint32_t tick) { tick_base_ = tick - static_cast<std::uint32_t>(now_ms_); }
    void SetLocalTime(LocalTime t);
    // The clock is set forward (or back, negative) by this many seconds, as by the user or a time sync; the tick
    // count goes on undisturbed.
    void StepLocalTime(std::int64_t seconds);
    std::uint64_t now_ms() const { return now_ms_; }
    // Advances virtual time; used by the copies' waits.
    void AdvanceTo(std::uint64_t ms);

    // Message boxes are answered from this queue in order; a box with no answer queued fails the test.
    std::deque<int> box_answers;
    // How long the user takes to answer each box, in the same order; a box without an entry is answered at once.
    // While a box is open, virtual time passes and the copy that shows it keeps running its timers, hotkey
    // messages and the scripted events, as the modal loop of a real message box dispatches them.
    std::deque<std::uint32_t> box_think_ms;
    // Boxes on screen now.
    int open_boxes = 0;
    std::vector<ShownBox> boxes;
    std::vector<std::pair<WindowRef, std::string>> opened_urls;
    std::vector<PowerRequest> power_requests;
    std::vector<HotKeyRegistration> hotkeys;
    WindowRef foreground = 0;

    // The monitors in pixels, the primary one first and at 0, 0; the others around it. Each has its own scale; the
    // primary one's is the system DPI, at which screen positions convert to twips.
    struct Monitor {
        int left, top, width, height;
        int dpi = ui::kDefaultDpi;
        // No taskbar: the whole monitor is its work area.
        ui::PixelRect WorkArea() const { return {left, top, width, height}; }
    };
    std::vector<Monitor> monitors{{0, 0, 1920, 1080}};
    int SystemDpi() const { return monitors.empty() ? ui::kDefaultDpi : monitors.front().dpi; }
    // The monitor that holds the largest part of the rectangle (the nearest one, the primary, when none does).
    const Monitor& MonitorOf(const ui::PixelRect& r) const;
    // The user drags a window of a copy by its caption so that its top-left corner stands at x, y (screen pixels).
    // A window that comes onto a monitor of another scale hears of its new DPI first, with the rectangle the system
    // suggests for it there.
    void DragWindow(WindowRef window, int x, int y);

    // Input: the user's actions at the current virtual time.
    void PressKey(int vk);
    void ReleaseKey(int vk);
    void UserInput() { last_input_tick_ = TickCount(); }
    // The system's last-input tick as it reports it, which need not stay behind the tick count.
    void SetLastInputTick(std::uint32_t tick) { last_input_tick_ = tick; }
    // A key combination pressed: the copy holding it as a hotkey gets the message.
    void PressHotKey(unsigned modifiers, unsigned vk);
    // The combination held down for this many of the keyboard's auto-repeats, all posted before the copy runs again
    // (as while it is busy): each repeat is a message again unless the registration asked for none.
    void HoldHotKey(unsigned modifiers, unsigned vk, int repeats);

    // Windows of copies that are not simulated themselves (another program, or a copy started elsewhere).
    WindowRef AddForeignWindow(const std::string& title);
    std::string TitleOf(WindowRef window) const;

    // Scripted events run at their virtual time, inside whichever copy is waiting then.
    void At(std::uint64_t ms, std::function<void()> action);
    // The copy whose code runs now; null while the test itself acts.
    SimProcess* running_copy = nullptr;
    // The next event of the parked copies and of `waiting` (null for none): its copy and its time. Hotkey messages
    // are due at once and come before timers; at the same time the copy that started first goes first.
    struct CopyEvent {
        SimProcess* copy;
        std::uint64_t at;
        bool hotkey;
    };
    std::optional<CopyEvent> NextCopyEvent(const SimProcess* waiting) const;
    // Time passes to `ms` while the running copy runs nothing (it sleeps, or shows a box of no copy's); the parked
    // copies run what comes due meanwhile.
    void RunParkedUntil(std::uint64_t ms);
    // Waits that reach past this time stop the run (SimStopped).
    std::uint64_t horizon_ms = 600000;

    // Bookkeeping for copies.
    WindowRef NewWindow(SimProcess* owner, ui::Form* form);
    ui::Form* FormOf(WindowRef window) const;
    SimProcess* OwnerOf(WindowRef window) const;
    std::vector<SimProcess*> processes;

    struct Scripted {
        std::uint64_t at;
        std::uint64_t order;
        std::function<void()> action;
    };
    std::vector<Scripted> scripted;

private:
    struct Window {
        SimProcess* owner;
        ui::Form* form;  // null for a foreign window
        std::string title;  // foreign windows only
    };
    std::map<WindowRef, Window> windows_;
    WindowRef next_window_ = 0x1000;
    std::uint64_t now_ms_ = 0;
    std::uint32_t tick_base_ = 1000000;
    std::uint32_t last_input_tick_ = 0;
    LocalTime clock_base_{2026, 12, 6, 12, 0, 0, 0};
    // The local time at virtual time 0, in milliseconds from 1970-01-01.
    void SetClockBase(std::int64_t ms);
    std::uint64_t scripted_order_ = 0;
    struct KeyState {
        bool down = false;
        bool pressed_since_query = false;
    };
    std::map<int, KeyState> keys_;
};

// Two UTF-8 paths compared as the system compares file names: one UTF-16 unit for one, each letter by its upper
// case. The simulated upper case is the system's for ASCII, Latin-1, Latin Extended-A, the Greek letters (with their
// tonos forms and the final sigma) and Cyrillic (U+0400 to U+04FF); other characters, and the letters of those
// blocks without one upper case of their own or whose case the tables disagree on (µ ß ı ĸ ŉ ſ ΐ ΰ ӏ), must be equal.
bool SameFileNameIgnoringCase(std::string_view a, std::string_view b);

// The frame the system draws around a window of this style at this DPI: a tool window's borders and small title bar
// (6 x 22 pixels at 96 dpi) and a scroll bar's width (17), at the DPI's scale.
ui::WindowFrame FrameOf(const ui::FormStyle& style, int dpi);

class SimProcess : public Process, public View, public EventLoop {
public:
    SimProcess(SimWorld& world, std::string command_line, std::string exe_name = "Lumoff");
    ~SimProcess() override;

    Platform platform() { return Platform{world_.registry, world_, *this, world_, *this, *this, world_, world_.downloads}; }

    // Process
    std::string CommandLine() override { return command_line_; }
    std::string ExeName() override { return exe_name_; }
    std::string ExeFolder() override { return exe_folder; }
    std::string ExePath() override { return exe_path.empty() ? exe_folder + "\\" + exe_name_ + ".exe" : exe_path; }
    bool SameFileName(std::string_view a, std::string_view b) override { return SameFileNameIgnoringCase(a, b); }
    bool PreviousInstanceRunning() override;
    void HideFromTaskList() override { hidden_from_task_list = true; }
    OsVersion QueryOsVersion() override { return os_version; }
    std::string EnvironmentVariable(const std::string& name) override;
    [[noreturn]] void Exit() override;

    // View
    void Create(ui::Form& form) override;
    WindowRef Handle(const ui::Form& form) override;
    void PopupMenu(ui::Form& owner, const ui::Menu& menu) override;
    void BeginCaptionDrag(ui::Form& form) override { drags.push_back(&form); }

    // The modal loop of a message box shown by this copy: dispatches what comes due until the given virtual time,
    // then leaves the clock there.
    void RunModalUntil(std::uint64_t ms);

    // Runs code of this copy (its start, or its main loop resumed) as the copy that runs now; see the top of this
    // file. Exceptions pass through.
    void RunAsCurrent(const std::function<void()>& code);
    // Started, not ended, and not running code now: waiting in its main loop for its next message.
    bool Parked() const { return started_ && !exited && running_ == 0; }
    // Runs this parked copy's next event (a hotkey message, else its earliest timer), which is due, as the current
    // copy; when it ends in its handler it is marked ended while the copy that was running goes on.
    void RunParkedEvent();

    // EventLoop
    void WaitMessage() override;
    bool TakeHotKeyMessage(WindowRef window) override;
    void DoEvents() override;

    // Set-up and observation.
    std::string exe_folder = "C:\\Program Files\\Lumoff";
    // The full path when it is not the folder, the name and ".exe" (UTF-8, as the system's Unicode path).
    std::string exe_path;
    OsVersion os_version{2, 6};
    std::map<std::string, std::string> environment;
    bool hidden_from_task_list = false;
    bool exited = false;
    // Answers to popup menus: the caption of the item to choose, or "" to dismiss.
    std::deque<std::string> menu_choices;
    std::vector<std::vector<std::string>> menus_shown;
    // The foreground window at the moment each menu opened.
    std::vector<WindowRef> menu_foreground;
    std::vector<ui::Form*> drags;
    // What the view gave a form's window: its DPI, where it stands on the screen (pixels, its frame included) and its
    // layout at that DPI, fitted to the work area of its monitor.
    struct SimWindow {
        int dpi = ui::kDefaultDpi;
        ui::PixelRect rect;
        ui::FormPixels layout;
        int dpi_changes = 0;
    };
    const SimWindow* WindowOf(const ui::Form& form) const;
    // The window moved by the user to x, y; see SimWorld::DragWindow.
    void MovedByUser(ui::Form& form, int x, int y);
    std::deque<std::pair<WindowRef, int>> hotkey_messages;  // (window, id)
    // Tick counts at which each timer fired, by timer name.
    std::map<std::string, std::vector<std::uint32_t>> timer_ticks;

    // When this copy's earliest timer is due, if it has one running.
    std::optional<std::uint64_t> NextTimer() const;

private:
    class Host;
    void RunNextEvent();
    std::optional<std::uint64_t> NextDue() const;
    bool RunOneDue();
    // Puts the window where its form says and lets it hear of the DPI of the monitor it lands on, as the system
    // does for a window of a program aware of each monitor's scale.
    void Place(ui::Form& form);
    void FollowMonitor(ui::Form& form);
    void Fit(ui::Form& form);
    std::map<const ui::Form*, SimWindow> windows_;
    bool syncing_ = false;  // a change coming from the window itself
    SimWorld& world_;
    std::string command_line_;
    std::string exe_name_;
    std::unique_ptr<Host> host_;
    std::map<const ui::Form*, WindowRef> handles_;
    struct TimerState {
        ui::Timer* timer;
        std::uint64_t due;
    };
    std::vector<TimerState> timers_;
    // The instance of this executable name is this copy's: no copy that started earlier runs (see Process).
    bool owns_instance_ = false;
    bool started_ = false;
    int running_ = 0;  // frames of RunAsCurrent on the stack
    friend class Host;
};

}  // namespace lumoff::platform::sim
