#include "timed/screensaver.h"

#include "monitor/idle_time.h"
#include "monitor/toggle.h"
#include "settings/settings_store.h"
#include "timed/countdown.h"

namespace lumoff {

void Screensaver::Wire() {
    OptionsDialog& o = ctx_.options;
    o.chkScr.OnClick = [this] { chkScr_Click(); };
    o.tmrScreen.OnTimer = [this] { tmrScreen_Timer(); };
}

void Screensaver::chkScr_Click() {
    settings::Store(ctx_.os.registry, settings::kTimerSaver, std::to_string(ctx_.options.chkScr.value()),
                    settings::ValueForm::Flag);
}

void Screensaver::tmrScreen_Timer() {
    auto& os = ctx_.os;
    auto& clock = os.clock;
    OptionsDialog& o = ctx_.options;
    std::string& saver_flag = o.chkScr.tag;
    const std::uint32_t idle = IdleMs(clock);
    const std::int64_t length = CountdownLength(o.tmrScreen.tag);
    // In milliseconds, in 64 bits: any length the countdown keeps compares without overflow.
    const bool period_complete = length * 1000 <= static_cast<std::int64_t>(idle);
    if (saver_flag == kSaverArmed && period_complete) {
        os.desktop.SendMonitorPower(os.view.Handle(o), kMonitorPowerOff);
        saver_flag = kSaverFired;
    } else if (saver_flag != kSaverArmed && idle < kRearmBelowMs) {
        saver_flag = kSaverArmed;
    }
    ShowRemaining(ctx_.main.lblCaption, RemainingSeconds(length, idle));
}

}  // namespace lumoff
