#include "app/housekeeping.h"

#include <cmath>

#include "settings/settings_store.h"

namespace lumoff {

long RoundHalfEven(double value) { return std::lrint(std::nearbyint(value)); }

bool Housekeeping::TakeRequest(const char* request) {
    auto& desktop = ctx_.os.desktop;
    const std::string exe = ctx_.os.process.ExeName();
    platform::WindowRef window = desktop.FindWindowByTitle(exe + request);
    if (!window) return false;
    desktop.SetWindowTitle(window, exe + kCloseTitle);
    return true;
}

void Housekeeping::SavePositionIfMoved() {
    float top = ctx_.main.top();
    float left = ctx_.main.left();
    // Compared as the numbers they are: made a float, a large remembered number could round onto the position.
    if (static_cast<double>(top) == static_cast<double>(ctx_.last_top) &&
        static_cast<double>(left) == static_cast<double>(ctx_.last_left))
        return;
    std::string top_text = settings::PositionText(top);
    std::string left_text = settings::PositionText(left);
    settings::Store(ctx_.os.registry, {{settings::kTop, top_text}, {settings::kLeft, left_text}});
    ctx_.last_top = RoundHalfEven(top);
    ctx_.last_left = RoundHalfEven(left);
}

void Housekeeping::tmrSticky_Timer() {
    if (actions_.monitor_on()) {
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
