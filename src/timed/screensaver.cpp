#include "timed/screensaver.h"

#include "monitor/idle_time.h"
#include "monitor/toggle.h"
#include "settings/settings_store.h"
#include "timed/countdown.h"
#include "timed/time_fields.h"

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
    const double length = LeadingNumber(o.tmrScreen.tag);
    const double remaining = length - idle / 1000.0;
    const bool period_complete = length * 1000 <= static_cast<double>(idle);
    if (saver_flag == kSaverArmed && period_complete) {
        os.desktop.SendMonitorPower(os.view.Handle(o), kMonitorPowerOff);
        saver_flag = kSaverFired;
    } else if (saver_flag != kSaverArmed && idle < kRearmBelowMs) {
        saver_flag = kSaverArmed;
    }
    ShowRemaining(ctx_.main.lblCaption, RoundHalfEven(remaining));
}

}  // namespace lumoff
