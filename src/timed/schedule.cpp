#include "timed/schedule.h"

#include "monitor/toggle.h"
#include "settings/settings_store.h"
#include "settings/short_date.h"
#include "timed/time_fields.h"

namespace lumoff {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kMsPerDay = 86400 * kMsPerSecond;

std::int64_t LocalMs(const platform::LocalTime& t) {
    const long day = settings::DaysSinceEpoch({t.year, t.month, t.day});
    return day * kMsPerDay + ((t.hour * 60LL + t.minute) * 60 + t.second) * kMsPerSecond + t.millisecond;
}

}  // namespace

void Schedule::Wire() {
    OptionsDialog& o = ctx_.options;
    o.chkSchedule.OnClick = [this] { chkSchedule_Click(); };
    o.chkOther2.OnClick = [this] { chkOther2_Click(); };
}

void Schedule::chkSchedule_Click() {
    OptionsDialog& o = ctx_.options;
    LockTimeBoxes(o.timHrs2, o.timMin2, o.timSec2, o.chkSchedule.value() == 1);
    using settings::ValueForm;
    settings::Store(ctx_.os.registry, {{settings::kSchedule, std::to_string(o.chkSchedule.value()), ValueForm::Flag},
                                       {settings::kScheduleHr, o.timHrs2.text(), ValueForm::TwoDigit},
                                       {settings::kScheduleMn, o.timMin2.text(), ValueForm::TwoDigit},
                                       {settings::kScheduleSc, o.timSec2.text(), ValueForm::TwoDigit}});
}

void Schedule::chkOther2_Click() {
    OptionsDialog& o = ctx_.options;
    o.Combo2.set_enabled(o.chkOther2.value() != 0);
    settings::Store(ctx_.os.registry, settings::kScheduleOther, std::to_string(o.chkOther2.value()),
                    settings::ValueForm::Flag);
}

void Schedule::Check() {
    // The dialog's controls as they are: a copy that only hands over to another never loads the dialog, and its
    // schedule stays off.
    OptionsDialog& o = ctx_.options;
    const std::int64_t now_ms = LocalMs(ctx_.os.clock.Now());
    // The first check looks back one tick, as far as a tick on time would.
    const std::int64_t previous_ms =
        previous_ms_.value_or(now_ms - static_cast<std::int64_t>(ctx_.main.tmrSticky.interval()));
    previous_ms_ = now_ms;
    if (o.chkSchedule.value() != 1) return;

    const double hour = LeadingNumber(o.timHrs2.text());
    const double minute = LeadingNumber(o.timMin2.text());
    const double second = LeadingNumber(o.timSec2.text());
    // A time the clock never shows (a pasted 99 in a box nobody left) never comes.
    if (hour > kHoursBound || minute > kMinutesBound || second > kSecondsBound) return;
    const std::int64_t set_ms =
        ((static_cast<std::int64_t>(hour) * 60 + static_cast<std::int64_t>(minute)) * 60 +
         static_cast<std::int64_t>(second)) * kMsPerSecond;

    // The latest scheduled moment that has come: today's if its second has begun, else yesterday's.
    const std::int64_t today_ms = now_ms - now_ms % kMsPerDay;
    std::int64_t moment_ms = today_ms + set_ms;
    if (moment_ms > now_ms) moment_ms -= kMsPerDay;
    if (moment_ms <= previous_ms) return;  // it came before the previous check, or the clock went back
    if (fired_ms_ && moment_ms <= *fired_ms_) return;
    if (o.chkOther2.value() == 1) return;  // "Other Action:" does nothing at the moment
    fired_ms_ = moment_ms;
    // The schedule turns the monitor off; at a moment when it is already kept off, it stays off.
    if (!monitor_.KeepingOff()) monitor_.imgTurnOff_Click();
}

}  // namespace lumoff
