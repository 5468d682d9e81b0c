#include "timed/countdown.h"

#include <algorithm>

#include "monitor/idle_time.h"
#include "monitor/toggle.h"
#include "settings/settings_store.h"
#include "timed/time_fields.h"

namespace lumoff {

namespace {

constexpr double kSecondsPerHour = 3600;
constexpr double kSecondsPerMinute = 60;
constexpr std::int64_t kMsPerSecond = 1000;
// A length beyond any real use (pasted digits): it still never runs out, and in milliseconds it stays far inside
// 64 bits.
constexpr double kLongestSeconds = 1e15;

// Floor division and the truncating remainder, as the caption's fields are defined.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::int64_t WholeSeconds(double seconds) { return static_cast<std::int64_t>(std::min(seconds, kLongestSeconds)); }

}  // namespace

std::string FormatRemaining(std::int64_t seconds) {
    std::int64_t hours = FloorDiv(seconds, 3600);
    std::int64_t minutes = FloorDiv(seconds % 3600, 60);
    std::int64_t rest = seconds % 60;
    return std::to_string(hours) + ":" + std::to_string(minutes) + ":" + std::to_string(rest);
}

std::int64_t CountdownLength(std::string_view tag) { return WholeSeconds(LeadingNumber(tag)); }

std::int64_t RemainingSeconds(std::int64_t length, std::uint64_t elapsed_ms) {
    const std::int64_t left_ms = length * kMsPerSecond - static_cast<std::int64_t>(elapsed_ms);
    std::int64_t seconds = FloorDiv(left_ms, kMsPerSecond);
    const std::int64_t fraction_ms = left_ms - seconds * kMsPerSecond;
    constexpr std::int64_t kHalf = kMsPerSecond / 2;
    if (fraction_ms > kHalf || (fraction_ms == kHalf && seconds % 2 != 0)) ++seconds;
    return seconds;
}

void ShowRemaining(ui::Label& caption, std::int64_t seconds) {
    std::string text = FormatRemaining(seconds);
    if (caption.text() == text) return;
    caption.set_text(text);
    caption.Refresh();
}

void Countdown::Wire() {
    OptionsDialog& o = ctx_.options;
    o.cmdTimed.OnClick = [this] { cmdTimed_Click(); };
    o.chkOther1.OnClick = [this] { chkOther1_Click(); };
    o.chkIdle.OnClick = [this] { chkIdle_Click(); };
    o.tmrTimer.OnTimer = [this] { tmrTimer_Timer(); };
}

void Countdown::cmdTimed_Click() {
    if (ctx_.options.cmdTimed.text() == kGoCaption)
        Start();
    else
        Stop();
}

void Countdown::Start() {
    auto& os = ctx_.os;
    OptionsDialog& o = ctx_.options;
    const std::int64_t length =
        WholeSeconds(kSecondsPerHour * LeadingNumber(o.timHrs1.text()) +
                     kSecondsPerMinute * LeadingNumber(o.timMin1.text()) + LeadingNumber(o.timSec1.text()));
    if (length < kConfirmBelowSeconds) {
        int answer = os.desktop.ShowMessage(os.view.Handle(o), kShortCountdownText, kShortCountdownTitle,
                                            platform::kMbOkCancel | platform::kMbIconInformation);
        if (answer != platform::kIdOk) return;
    }
    o.cmdTimed.set_text(kStopCaption);
    using settings::ValueForm;
    settings::Store(os.registry, {{settings::kTimerHr, o.timHrs1.text(), ValueForm::TwoDigit},
                                  {settings::kTimerMn, o.timMin1.text(), ValueForm::TwoDigit},
                                  {settings::kTimerSc, o.timSec1.text(), ValueForm::TwoDigit}});
    LockTimeBoxes(o.timHrs1, o.timMin1, o.timSec1, true);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&o.chkIdle, &o.chkScr, &o.chkOther1, &o.Combo1})
        c->set_enabled(false);
    // Taken after the question: time spent answering it does not count.
    CountdownStart = Ticks();
    ui::Timer& tick = (o.chkScr.value() == 1 && o.chkIdle.value() == 1) ? o.tmrScreen : o.tmrTimer;
    tick.tag = std::to_string(length);
    tick.set_enabled(true);
}

void Countdown::Stop() {
    OptionsDialog& o = ctx_.options;
    o.cmdTimed.set_text(kGoCaption);
    LockTimeBoxes(o.timHrs1, o.timMin1, o.timSec1, false);
    o.chkIdle.set_enabled(true);
    o.chkOther1.set_enabled(true);
    if (o.chkOther1.value() == 1) o.Combo1.set_enabled(true);
    if (o.chkIdle.value() == 1) o.chkScr.set_enabled(true);
    // The check boxes cannot change while counting, so only the timer the start enabled is running; both are
    // stopped so that no tick can outlive the countdown whatever set them.
    o.tmrScreen.set_enabled(false);
    o.tmrTimer.set_enabled(false);
    ctx_.main.lblCaption.set_text(kIdleCaption);
}

std::uint64_t Countdown::Ticks() {
    const std::uint32_t now = ctx_.os.clock.TickCount();
    ticks_ += static_cast<std::uint32_t>(now - last_tick_);
    last_tick_ = now;
    return ticks_;
}

void Countdown::tmrTimer_Timer() {
    OptionsDialog& o = ctx_.options;
    const std::uint64_t now = Ticks();
    if (o.chkIdle.value() == 1 && IdleMs(ctx_.os.clock) < kUserActiveBelowMs) CountdownStart = now;
    const std::int64_t remaining = RemainingSeconds(CountdownLength(o.tmrTimer.tag), now - CountdownStart);
    ShowRemaining(ctx_.main.lblCaption, remaining);
    if (remaining > 0 || o.chkOther1.value() == 1) return;
    // A countdown turns the monitor off; one that ends while the monitor is already kept off leaves it off.
    if (!monitor_.KeepingOff()) monitor_.imgTurnOff_Click();
    cmdTimed_Click();
}

void Countdown::chkOther1_Click() {
    OptionsDialog& o = ctx_.options;
    o.Combo1.set_enabled(o.chkOther1.value() != 0);
    settings::Store(ctx_.os.registry, settings::kTimerOther, std::to_string(o.chkOther1.value()),
                    settings::ValueForm::Flag);
}

void Countdown::chkIdle_Click() {
    OptionsDialog& o = ctx_.options;
    o.chkScr.set_enabled(o.chkIdle.value() == 1);
    settings::Store(ctx_.os.registry, settings::kTimerIdle, std::to_string(o.chkIdle.value()),
                    settings::ValueForm::Flag);
}

}  // namespace lumoff
