#include "monitor/toggle.h"

namespace lumoff {

void MonitorControl::imgTurnOff_Click() {
    auto& tag = ctx_.main.imgTurnOff.tag;
    tag = tag == kTurnOffTag ? kTurnOnTag : kTurnOffTag;
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
