#include "monitor/toggle.h"

#include "monitor/idle_time.h"

namespace lumoff {

MonitorControl::MonitorControl(Context& ctx) : ctx_(ctx) {
    ctx_.main.tmr.OnTimer = [this] { tmr_Timer(); };
}

void MonitorControl::imgTurnOff_Click() {
    auto& os = ctx_.os;
    OptionsDialog& o = ctx_.Options();
    MainWindow& main = ctx_.main;
    const platform::WindowRef window = ctx_.MainHandle();
    if (!KeepingOff()) {
        // No modifiers; a held key wakes once, where its auto-repeats would toggle again and again.
        constexpr unsigned kWakeKeyFlags = platform::kModNoRepeat;
        if (o.chkEnter.value() == 1) os.desktop.RegisterHotKey(window, kHotKeyIdEnter, kWakeKeyFlags, kVkReturn);
        if (o.chkSpace.value() == 1) os.desktop.RegisterHotKey(window, kHotKeyIdSpace, kWakeKeyFlags, kVkSpace);
        main.imgTurnOff.tag = kTurnOnTag;
        TurnedOffScreen& screen = ctx_.TurnedOff();
        if (o.radVista.value()) screen.CoverScreen(os.desktop.VirtualScreen(), os.desktop.PrimaryMonitor());
        os.desktop.SendMonitorPower(window, kMonitorPowerOff);
        main.tmr.set_enabled(true);
    } else {
        os.desktop.UnregisterHotKey(window, kHotKeyIdSpace);
        os.desktop.UnregisterHotKey(window, kHotKeyIdEnter);
        main.imgTurnOff.tag = kTurnOffTag;
        ctx_.TurnedOff().Hide();
        main.tmr.set_enabled(false);
        // A press seen in this off period must not wake the next one on its first tick.
        MouseDownSeen = 0;
    }
}

void MonitorControl::tmr_Timer() {
    auto& os = ctx_.os;
    OptionsDialog& o = ctx_.options;
    ui::Timer& tmr = ctx_.main.tmr;
    if (o.chkMouse.value() == 1) {
        if (os.desktop.AsyncKeyState(kVkLButton) < 0 && MouseDownSeen == 0) {
            MouseDownSeen = 1;
        } else if (os.desktop.AsyncKeyState(kVkLButton) == 0 && MouseDownSeen == 1) {
            MouseDownSeen = 0;
            imgTurnOff_Click();
            return;
        }
    }
    if (o.radXP.value()) {
        os.desktop.SendMonitorPower(ctx_.MainHandle(), kMonitorPowerOff);
        return;
    }
    const std::uint32_t idle = IdleMs(os.clock);
    if (idle < kActiveBelowMs) {
        tmr.set_interval(kWaitForIdleMs);
        return;
    }
    if (tmr.interval() != kWaitForIdleMs) return;
    if (idle <= kIdleAboveMs) return;
    tmr.set_interval(kFastPollMs);
    ctx_.TurnedOff().ShowTopmost();
    os.desktop.SendMonitorPower(ctx_.MainHandle(), kMonitorPowerOff);
}

void MonitorControl::ProcessMessages(bool stoppable) {
    ++pump_depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{pump_depth_};
    auto& events = ctx_.os.events;
    while (!(stoppable && StopHotKeyPump)) {
        events.WaitMessage();
        if (events.TakeHotKeyMessage(ctx_.MainHandle())) imgTurnOff_Click();
        events.DoEvents();
    }
}

}  // namespace lumoff
