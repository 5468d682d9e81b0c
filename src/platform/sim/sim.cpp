#include "platform/sim/sim.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace lumoff::platform::sim {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr unsigned kMinimumTimerMs = 10;  // the system's USER_TIMER_MINIMUM
constexpr std::uint32_t kWmMouseMove = 0x200;

bool SameIcon(const TrayIcon& a, const TrayIcon& b) { return a.window == b.window && a.id == b.id; }

// The keys a hotkey registration takes; the no-repeat flag is not one of them.
unsigned KeysOf(unsigned modifiers) { return modifiers & ~kModNoRepeat; }

}  // namespace

SimWorld::SimWorld() { last_input_tick_ = TickCount(); }

LocalTime SimWorld::Now() {
    const LocalTime& b = clock_base_;
    std::uint64_t ms = static_cast<std::uint64_t>(b.hour * 3600 + b.minute * 60 + b.second) * 1000 + b.millisecond +
                       now_ms_;
    long days = DaysFromCivil(b.year, b.month, b.day) + static_cast<long>(ms / 86400000);
    ms %= 86400000;
    LocalTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

void SimWorld::SetLocalTime(LocalTime t) {
    // Keep the base so that Now() returns t at the current virtual time.
    long days = DaysFromCivil(t.year, t.month, t.day);
    SetClockBase(static_cast<std::int64_t>(days) * 86400000 + (t.hour * 3600 + t.minute * 60 + t.second) * 1000LL +
                 t.millisecond - static_cast<std::int64_t>(now_ms_));
}

void SimWorld::StepLocalTime(std::int64_t seconds) {
    const LocalTime& b = clock_base_;
    SetClockBase(static_cast<std::int64_t>(DaysFromCivil(b.year, b.month, b.day)) * 86400000 +
                 (b.hour * 3600 + b.minute * 60 + b.second) * 1000LL + b.millisecond + seconds * 1000);
}

void SimWorld::SetClockBase(std::int64_t ms) {
    long base_days = static_cast<long>(ms >= 0 ? ms / 86400000 : (ms - 86399999) / 86400000);
    std::int64_t rest = ms - static_cast<std::int64_t>(base_days) * 86400000;
    CivilFromDays(base_days, clock_base_.year, clock_base_.month, clock_base_.day);
    clock_base_.hour = static_cast<int>(rest / 3600000);
    clock_base_.minute = static_cast<int>(rest / 60000 % 60);
    clock_base_.second = static_cast<int>(rest / 1000 % 60);
    clock_base_.millisecond = static_cast<int>(rest % 1000);
}

void SimWorld::Sleep(std::uint32_t ms) { RunParkedUntil(now_ms_ + ms); }

std::optional<SimWorld::CopyEvent> SimWorld::NextCopyEvent(const SimProcess* waiting) const {
    std::optional<CopyEvent> next;
    for (SimProcess* p : processes) {
        if (!p || (p != waiting && !p->Parked())) continue;
        if (!p->hotkey_messages.empty()) {
            if (!next || !next->hotkey) next = CopyEvent{p, now_ms_, true};
            continue;
        }
        auto due = p->NextTimer();
        if (due && (!next || (!next->hotkey && *due < next->at))) next = CopyEvent{p, *due, false};
    }
    return next;
}

void SimWorld::RunParkedUntil(std::uint64_t ms) {
    for (auto next = NextCopyEvent(nullptr); next && next->at <= ms; next = NextCopyEvent(nullptr)) {
        AdvanceTo(next->at);
        next->copy->RunParkedEvent();
    }
    AdvanceTo(ms);
}

void SimWorld::AdvanceTo(std::uint64_t ms) {
    if (ms > now_ms_) now_ms_ = ms;
}

int SimWorld::ShowMessage(WindowRef owner, const std::string& text, const std::string& title, unsigned style) {
    if (box_answers.empty()) throw std::logic_error("message box without a scripted answer: " + title + ": " + text);
    int answer = box_answers.front();
    box_answers.pop_front();
    std::uint32_t think_ms = 0;
    if (!box_think_ms.empty()) {
        think_ms = box_think_ms.front();
        box_think_ms.pop_front();
    }
    const size_t index = boxes.size();
    boxes.push_back({owner, text, title, style, answer, now_ms_, now_ms_});
    if (think_ms > 0) {
        // The thread that shows the box: the owner's, or the one running now, or the only copy alive.
        SimProcess* showing = OwnerOf(owner);
        if (!showing) showing = running_copy;
        if (!showing) {
            for (SimProcess* p : processes)
                if (!p->exited) showing = showing ? nullptr : p;
        }
        struct Open {
            int& count;
            ~Open() { --count; }
        } open{++open_boxes};
        const std::uint64_t answer_at = now_ms_ + think_ms;
        if (showing)
            showing->RunModalUntil(answer_at);
        else
            RunParkedUntil(answer_at);
    }
    boxes[index].answered_at_ms = now_ms_;
    return answer;
}

WindowRef SimWorld::FindWindowByTitle(const std::string& title) {
    for (const auto& [ref, w] : windows_) {
        if (w.owner && w.owner->exited) continue;  // its windows went with the process
        const std::string& t = w.form ? w.form->title() : w.title;
        if (SameText(t, title)) return ref;
    }
    return 0;
}

void SimWorld::SetWindowTitle(WindowRef window, const std::string& title) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    if (it->second.form)
        it->second.form->set_title(title);
    else
        it->second.title = title;
}

std::string SimWorld::TitleOf(WindowRef window) const {
    auto it = windows_.find(window);
    if (it == windows_.end()) return {};
    return it->second.form ? it->second.form->title() : it->second.title;
}

void SimWorld::SendMonitorPower(WindowRef window, int state) {
    power_requests.push_back({window, state, static_cast<std::uint32_t>(now_ms_)});
}

std::int16_t SimWorld::AsyncKeyState(int virtual_key) {
    KeyState& k = keys_[virtual_key];
    std::int16_t result = static_cast<std::int16_t>((k.down ? 0x8000 : 0) | (k.pressed_since_query ? 1 : 0));
    k.pressed_since_query = false;
    return result;
}

void SimWorld::PressKey(int vk) {
    keys_[vk].down = true;
    keys_[vk].pressed_since_query = true;
    UserInput();
}

void SimWorld::ReleaseKey(int vk) {
    keys_[vk].down = false;
    UserInput();
}

bool SimWorld::RegisterHotKey(WindowRef window, int id, unsigned modifiers, unsigned virtual_key) {
    for (const auto& h : hotkeys)
        if (KeysOf(h.modifiers) == KeysOf(modifiers) && h.vk == virtual_key) return false;
    hotkeys.push_back({window, id, modifiers, virtual_key});
    return true;
}

void SimWorld::UnregisterHotKey(WindowRef window, int id) {
    auto it = std::find_if(hotkeys.begin(), hotkeys.end(),
                           [&](const HotKeyRegistration& h) { return h.window == window && h.id == id; });
    if (it != hotkeys.end()) hotkeys.erase(it);
}

ui::TwipRect SimWorld::VirtualScreen() {
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const Monitor& m : monitors) {
        left = std::min(left, m.left);
        top = std::min(top, m.top);
        right = std::max(right, m.left + m.width);
        bottom = std::max(bottom, m.top + m.height);
    }
    const int dpi = SystemDpi();
    return {ui::PixelsToTwips(left, dpi), ui::PixelsToTwips(top, dpi), ui::PixelsToTwips(right - left, dpi),
            ui::PixelsToTwips(bottom - top, dpi)};
}

ui::TwipRect SimWorld::PrimaryMonitor() {
    if (monitors.empty()) return {};
    const int dpi = SystemDpi();
    return {0, 0, ui::PixelsToTwips(monitors.front().width, dpi), ui::PixelsToTwips(monitors.front().height, dpi)};
}

const SimWorld::Monitor& SimWorld::MonitorOf(const ui::PixelRect& r) const {
    static const Monitor kNone{0, 0, 0, 0};
    if (monitors.empty()) return kNone;
    const Monitor* best = &monitors.front();
    long long best_area = 0;
    for (const Monitor& m : monitors) {
        long long w = std::min(r.left + r.width, m.left + m.width) - std::max(r.left, m.left);
        long long h = std::min(r.top + r.height, m.top + m.height) - std::max(r.top, m.top);
        if (w > 0 && h > 0 && w * h > best_area) {
            best_area = w * h;
            best = &m;
        }
    }
    return *best;
}

ui::WindowFrame FrameOf(const ui::FormStyle& style, int dpi) {
    const bool framed = style.border == ui::Border::FixedToolWindow;
    auto scaled = [dpi](int px) { return (px * dpi + ui::kDefaultDpi / 2) / ui::kDefaultDpi; };
    return {framed ? scaled(6) : 0, framed ? scaled(22) : 0, scaled(17)};
}

void SimWorld::DragWindow(WindowRef window, int x, int y) {
    UserInput();
    SimProcess* owner = OwnerOf(window);
    ui::Form* form = FormOf(window);
    if (owner && form && !owner->exited) owner->MovedByUser(*form, x, y);
}

void SimWorld::PressHotKey(unsigned modifiers, unsigned vk) { HoldHotKey(modifiers, vk, 0); }

void SimWorld::HoldHotKey(unsigned modifiers, unsigned vk, int repeats) {
    UserInput();
    for (const auto& h : hotkeys) {
        if (KeysOf(h.modifiers) != modifiers || h.vk != vk) continue;
        SimProcess* p = OwnerOf(h.window);
        if (!p) return;
        const int messages = (h.modifiers & kModNoRepeat) ? 1 : 1 + repeats;
        for (int i = 0; i < messages; ++i) p->hotkey_messages.push_back({h.window, h.id});
        return;
    }
}

bool SimWorld::AddIcon(const TrayIcon& icon) {
    tray_calls.push_back({true, icon});
    if (!shell_up) return false;
    for (const auto& shown : tray_icons)
        if (SameIcon(shown, icon)) return false;
    tray_icons.push_back(icon);
    tray_icons.back().tip = (icon.flags & kNifTip) ? icon.tip.c_str() : "";
    return true;
}

void SimWorld::DeleteIcon(const TrayIcon& icon) {
    tray_calls.push_back({false, icon});
    tray_icons.erase(std::remove_if(tray_icons.begin(), tray_icons.end(),
                                    [&](const TrayIcon& shown) { return SameIcon(shown, icon); }),
                     tray_icons.end());
}

bool SimWorld::NotifyTrayIcon(WindowRef window, std::uint32_t id, int mouse_message) {
    auto it = std::find_if(tray_icons.begin(), tray_icons.end(),
                           [&](const TrayIcon& shown) { return shown.window == window && shown.id == id; });
    if (it == tray_icons.end()) return false;
    if (SimProcess* owner = OwnerOf(window); !owner || owner->exited) {
        // The icon of an ended process vanishes as soon as the mouse reaches it.
        tray_icons.erase(it);
        return false;
    }
    const std::uint32_t callback = (it->flags & kNifMessage) ? it->callback_message : 0;
    ui::Form* form = FormOf(window);
    // Forms of the program hear only of mouse moves; any other callback message goes unanswered.
    if (form && callback == kWmMouseMove && form->OnMouseMove) form->OnMouseMove(mouse_message, 0);
    return true;
}

void SimWorld::RestartShell() {
    shell_up = true;
    tray_icons.clear();
    std::vector<ui::Form*> forms;
    for (const auto& [ref, w] : windows_)
        if (w.form && w.owner && !w.owner->exited) forms.push_back(w.form);
    for (ui::Form* form : forms)
        if (form->OnShellRestarted) form->OnShellRestarted();
}

WindowRef SimWorld::AddForeignWindow(const std::string& title) {
    WindowRef ref = next_window_++;
    windows_[ref] = Window{nullptr, nullptr, title};
    return ref;
}

void SimWorld::At(std::uint64_t ms, std::function<void()> action) {
    scripted.push_back({ms, scripted_order_++, std::move(action)});
}

WindowRef SimWorld::NewWindow(SimProcess* owner, ui::Form* form) {
    WindowRef ref = next_window_++;
    windows_[ref] = Window{owner, form, {}};
    return ref;
}

ui::Form* SimWorld::FormOf(WindowRef window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.form;
}

SimProcess* SimWorld::OwnerOf(WindowRef window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.owner;
}

// ---- SimProcess -------------------------------------------------------------------------------------------------

class SimProcess::Host : public ui::FormHost {
public:
    explicit Host(SimProcess& p) : p_(p) {}
    void FormChanged(ui::Form& form, ui::Property what) override {
        if (what == ui::Property::Position && !p_.syncing_) p_.Place(form);
    }
    void ControlChanged(ui::Control&, ui::Property) override {}
    void TimerChanged(ui::Timer& timer) override {
        auto& timers = p_.timers_;
        timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const TimerState& t) { return t.timer == &timer; }),
                     timers.end());
        if (timer.enabled())
            timers.push_back({&timer, p_.world_.now_ms() + std::max(timer.interval(), kMinimumTimerMs)});
    }

private:
    SimProcess& p_;
};

SimProcess::SimProcess(SimWorld& world, std::string command_line, std::string exe_name)
    : world_(world), command_line_(std::move(command_line)), exe_name_(std::move(exe_name)),
      host_(std::make_unique<Host>(*this)) {
    world_.processes.push_back(this);
    PreviousInstanceRunning();  // the instance is the new copy's when no other holds it
}

SimProcess::~SimProcess() {
    auto& ps = world_.processes;
    ps.erase(std::remove(ps.begin(), ps.end(), this), ps.end());
}

bool SimProcess::PreviousInstanceRunning() {
    if (owns_instance_) return false;
    for (SimProcess* p : world_.processes)
        if (p != this && p->owns_instance_ && !p->exited && SameText(p->exe_name_, exe_name_)) return true;
    owns_instance_ = true;
    return false;
}

std::string SimProcess::EnvironmentVariable(const std::string& name) {
    auto it = environment.find(name);
    return it == environment.end() ? std::string() : it->second;
}

void SimProcess::Exit() {
    exited = true;
    // The system releases what the process held.
    auto& hk = world_.hotkeys;
    hk.erase(std::remove_if(hk.begin(), hk.end(), [&](const HotKeyRegistration& h) { return world_.OwnerOf(h.window) == this; }),
             hk.end());
    timers_.clear();
    // Its open files close, and a download's temporary file with them.
    world_.downloads.CancelAll();
    throw ProcessExited{static_cast<std::uint32_t>(world_.now_ms())};
}

void SimProcess::Create(ui::Form& form) {
    if (handles_.count(&form)) return;
    handles_[&form] = world_.NewWindow(this, &form);
    form.native = handles_[&form];
    form.host = host_.get();
    SimWindow& w = windows_[&form];
    w.dpi = world_.SystemDpi();
    Fit(form);  // on the primary monitor, where it stands until it is placed
    Place(form);
    for (const auto& t : form.timers())
        if (t->enabled()) host_->TimerChanged(*t);
}

const SimProcess::SimWindow* SimProcess::WindowOf(const ui::Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : &it->second;
}

void SimProcess::Place(ui::Form& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    SimWindow& w = it->second;
    const int system_dpi = world_.SystemDpi();
    w.rect.width = w.layout.window_width;
    w.rect.height = w.layout.window_height;
    if (form.style().centred && !world_.monitors.empty()) {
        const ui::PixelRect work = world_.monitors.front().WorkArea();
        w.rect.left = ui::CentredStart(work.left, work.width, w.rect.width);
        w.rect.top = ui::CentredStart(work.top, work.height, w.rect.height);
    } else {
        w.rect.left = ui::TwipsToPixels(form.left(), system_dpi);
        w.rect.top = ui::TwipsToPixels(form.top(), system_dpi);
    }
    FollowMonitor(form);
}

void SimProcess::MovedByUser(ui::Form& form, int x, int y) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    it->second.rect.left = x;
    it->second.rect.top = y;
    FollowMonitor(form);
    // The move itself, as the window reports it.
    syncing_ = true;
    const int system_dpi = world_.SystemDpi();
    form.set_position(static_cast<float>(ui::PixelsToTwips(x, system_dpi)),
                      static_cast<float>(ui::PixelsToTwips(y, system_dpi)));
    syncing_ = false;
}

void SimProcess::FollowMonitor(ui::Form& form) {
    SimWindow& w = windows_[&form];
    const int dpi = world_.MonitorOf(w.rect).dpi;
    if (dpi == w.dpi) return;
    // The system's suggestion: the same corner, the size scaled to the new DPI.
    ui::PixelRect suggested{w.rect.left, w.rect.top, w.rect.width * dpi / w.dpi, w.rect.height * dpi / w.dpi};
    syncing_ = true;
    w.layout = ui::OnDpiChanged(form, dpi, suggested, world_.SystemDpi(), world_.MonitorOf(suggested).WorkArea(),
                                FrameOf(form.style(), dpi));
    syncing_ = false;
    w.dpi = dpi;
    w.rect = suggested;
    if (form.style().fits_work_area) {  // as the Win32 view, which sizes only these windows from their layout
        w.rect.width = w.layout.window_width;
        w.rect.height = w.layout.window_height;
    }
    ++w.dpi_changes;
}

void SimProcess::Fit(ui::Form& form) {
    SimWindow& w = windows_[&form];
    w.layout = ui::LayOutToFit(form, w.dpi, world_.MonitorOf(w.rect).WorkArea(), FrameOf(form.style(), w.dpi));
    w.rect.width = w.layout.window_width;
    w.rect.height = w.layout.window_height;
}

WindowRef SimProcess::Handle(const ui::Form& form) {
    auto it = handles_.find(&form);
    return it == handles_.end() ? 0 : it->second;
}

void SimProcess::PopupMenu(ui::Form&, const ui::Menu& menu) {
    std::vector<std::string> captions;
    for (const auto& item : menu.items) captions.push_back(item.caption);
    menus_shown.push_back(captions);
    menu_foreground.push_back(world_.foreground);
    if (menu_choices.empty()) return;
    std::string choice = menu_choices.front();
    menu_choices.pop_front();
    for (const auto& item : menu.items)
        if (item.caption == choice && item.OnClick) {
            item.OnClick();
            return;
        }
}

std::optional<std::uint64_t> SimProcess::NextTimer() const {
    std::optional<std::uint64_t> next;
    for (const auto& t : timers_)
        if (!next || t.due < *next) next = t.due;
    return next;
}

std::optional<std::uint64_t> SimProcess::NextDue() const {
    std::optional<std::uint64_t> next;
    if (auto copy = world_.NextCopyEvent(this)) next = copy->at;
    for (const auto& s : world_.scripted)
        if (!next || s.at < *next) next = s.at;
    return next;
}

void SimProcess::WaitMessage() {
    if (!hotkey_messages.empty()) return;
    auto next = NextDue();
    if (!next || *next > world_.horizon_ms) throw SimStopped{};
    world_.AdvanceTo(*next);
}

bool SimProcess::TakeHotKeyMessage(WindowRef window) {
    auto it = std::find_if(hotkey_messages.begin(), hotkey_messages.end(),
                           [&](const auto& m) { return m.first == window; });
    if (it == hotkey_messages.end()) return false;
    hotkey_messages.erase(it);
    return true;
}

bool SimProcess::RunOneDue() {
    const std::uint64_t now = world_.now_ms();
    // Hotkey messages first (posted messages come before timers), then the earliest of the scripted events and the
    // timers, a scripted event first at the same time.
    auto copy = world_.NextCopyEvent(this);
    const bool copy_due = copy && copy->at <= now;
    auto& scripted = world_.scripted;
    auto s = std::min_element(scripted.begin(), scripted.end(), [](const auto& a, const auto& b) {
        return a.at != b.at ? a.at < b.at : a.order < b.order;
    });
    const bool scripted_due = s != scripted.end() && s->at <= now;
    if (scripted_due && !(copy_due && (copy->hotkey || copy->at < s->at))) {
        auto action = std::move(s->action);
        scripted.erase(s);
        action();
        return true;
    }
    if (!copy_due) return false;
    if (copy->copy == this)
        RunNextEvent();
    else
        copy->copy->RunParkedEvent();
    return true;
}

void SimProcess::RunParkedEvent() {
    try {
        RunAsCurrent([this] { RunNextEvent(); });
    } catch (const ProcessExited&) {
        // It ended in its handler (Exit marked it); the copy that was running goes on.
    }
}

void SimProcess::RunNextEvent() {
    if (!hotkey_messages.empty()) {
        auto [window, id] = hotkey_messages.front();
        hotkey_messages.pop_front();
        if (ui::Form* form = world_.FormOf(window); form && form->OnHotKey) form->OnHotKey(id);
        return;
    }
    auto t = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) { return a.due < b.due; });
    if (t == timers_.end()) return;
    ui::Timer* timer = t->timer;
    t->due = world_.now_ms() + std::max(timer->interval(), kMinimumTimerMs);
    timer_ticks[timer->name()].push_back(world_.TickCount());
    timer->Tick();
}

void SimProcess::RunAsCurrent(const std::function<void()>& code) {
    struct Current {
        SimProcess& p;
        SimProcess* before;
        ~Current() {
            --p.running_;
            p.world_.running_copy = before;
        }
    } current{*this, world_.running_copy};
    started_ = true;
    ++running_;
    world_.running_copy = this;
    code();
}

void SimProcess::RunModalUntil(std::uint64_t ms) {
    for (;;) {
        DoEvents();
        auto next = NextDue();
        if (!next || *next >= ms) break;
        world_.AdvanceTo(*next);
    }
    world_.AdvanceTo(ms);
}

void SimProcess::DoEvents() {
    while (RunOneDue()) {
    }
}

}  // namespace lumoff::platform::sim
