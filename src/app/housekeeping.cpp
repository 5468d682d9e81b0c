#include "app/housekeeping.h"

#include <string>

#include "settings/settings_store.h"

namespace lumoff {

bool Housekeeping::TakeRequest(const char* request) {
    auto& desktop = ctx_.os.desktop;
    const std::string exe = ctx_.os.process.ExeName();
    platform::WindowRef window = desktop.FindWindowByTitle(exe + request);
    if (!window) return false;
    desktop.SetWindowTitle(window, exe + kCloseTitle);
    return true;
}

void Housekeeping::SavePositionIfMoved() {
    // Kept in whole twips. At a scale such as 175 % a pixel is a fraction of a twip: a fractional position would be
    // stored as a fraction and never compare equal to the whole number remembered, so it would be written every tick.
    const long top = RoundHalfEven(ctx_.main.top());
    const long left = RoundHalfEven(ctx_.main.left());
    if (top == ctx_.last_top && left == ctx_.last_left) return;
    settings::Store(ctx_.os.registry, {{settings::kTop, std::to_string(top)}, {settings::kLeft, std::to_string(left)}});
    ctx_.last_top = top;
    ctx_.last_left = left;
}

void Housekeeping::tmrSticky_Timer() {
    if (!ctx_.running_copy) {
        // A copy that asked the running one to show itself takes no request (not even its own) and stores nothing:
        // its window's place is not the user's. It waits for its close title; should the running copy have ended
        // meanwhile, no one will answer, and it ends.
        if (!ctx_.os.process.PreviousInstanceRunning()) ctx_.os.process.Exit();
    } else if (actions_.monitor_on()) {
        if (TakeRequest(kShowRequest)) {
            ctx_.main.set_top(0);
            ctx_.main.set_left(0);
        }
        if (TakeRequest(kTrayRequest)) {
            actions_.go_to_tray();
            actions_.toggle();
        }
        SavePositionIfMoved();
    }
    if (actions_.schedule_check) actions_.schedule_check();
    const std::string& title = ctx_.main.title();
    if (title.size() >= 6 && title.compare(title.size() - 6, 6, kCloseSuffix) == 0) ctx_.os.process.Exit();
}

}  // namespace lumoff
