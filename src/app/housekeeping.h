// tmrSticky_Timer: the once-a-second housekeeping of the main window. In the copy that runs (Context::running_copy)
// it answers a second copy's requests and saves the window's position after a move; in every copy it runs the
// schedule check and ends the program when its own title says so.
#pragma once

#include <functional>

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kShowRequest = ".exe +SHOW";
inline constexpr const char* kTrayRequest = ".exe +TRAY";
inline constexpr const char* kCloseTitle = ".exe +CLOSE";
inline constexpr const char* kCloseSuffix = "+CLOSE";

struct HousekeepingActions {
    std::function<bool()> monitor_on;
    std::function<void()> go_to_tray;
    std::function<void()> toggle;
    std::function<void()> schedule_check;
};

class Housekeeping {
public:
    Housekeeping(Context& ctx, HousekeepingActions actions) : ctx_(ctx), actions_(std::move(actions)) {}
    void tmrSticky_Timer();

private:
    // Finds a second copy's window with the request title and retires the request; true when one was found.
    bool TakeRequest(const char* request);
    void SavePositionIfMoved();
    Context& ctx_;
    HousekeepingActions actions_;
};

}  // namespace lumoff
