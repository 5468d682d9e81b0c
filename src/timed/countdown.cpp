#include "timed/countdown.h"

#include <cmath>
#include <algorithm>

#include "monitor/idle_time.h"
#include "monitor/toggle.h"
#include "settings/settings_store.h"
#include "timed/time_fields.h"

namespace lumoff {

namespace {

constexpr double kSecondsPerHour = 3600;
constexpr double kSecondsPerMinute = 60;

// Floor division and the truncating remainder, as the caption's fields are defined.
long FloorDiv(long a, long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// The countdown's length as the timer's tag: whole seconds. A length beyond any real use (pasted digits) is kept
// at a bound that still never runs out, so the text stays short.
std::string WholeNumberText(double value) {
    constexpr double kLongest = 1e15;
    return std::to_string(static_cast<long long>(std::min(value, kLongest)));
}

}  // namespace

std::string FormatRemaining(long seconds) {
    long hours = FloorDiv(seconds, 3600);
    long minutes = FloorDiv(seconds % 3600, 60);
    long rest = seconds % 60;
    return std::to_string(hours) + ":" + std::to_string(minutes) + ":" + std::to_string(rest);
}

float TimeOfDay(platform::Clock& clock) {
    platform::LocalTime t = clock.Now();
    double seconds = t.hour * kSecondsPerHour + t.minute * kSecondsPerMinute + t.second + t.millisecond / 1000.0;
    return static_cast<float>(seconds);
}

long RemainingSeconds(double length, double start, float now) { return RoundHalfEven(length - (now - start)); }

void ShowRemaining(ui::Label& caption, long seconds) {
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
    const double length = kSecondsPerHour * LeadingNumber(o.timHrs1.text()) +
                          kSecondsPerMinute * LeadingNumber(o.timMin1.text()) + LeadingNumber(o.timSec1.text());
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
    CountdownStart = TimeOfDay(os.clock);
    ui::Timer& tick = (o.chkScr.value() == 1 && o.chkIdle.value() == 1) ? o.tmrScreen : o.tmrTimer;
    tick.tag = WholeNumberText(length);
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

void Countdown::tmrTimer_Timer() {
    auto& clock = ctx_.os.clock;
    OptionsDialog& o = ctx_.options;
    if (o.chkIdle.value() == 1) {
        if (IdleMs(clock) < kUserActiveBelowMs) CountdownStart = TimeOfDay(clock);
    }
    const float now = TimeOfDay(clock);
    if (static_cast<float>(CountdownStart) > now) CountdownStart -= kSecondsPerDay;
    const long remaining = RemainingSeconds(LeadingNumber(o.tmrTimer.tag), CountdownStart, now);
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
