// The notification-area icon and the tray menu.
#pragma once

#include "app/context.h"

namespace lumoff {

class TrayIcon {
public:
    explicit TrayIcon(Context& ctx) : ctx_(ctx) {}
    // Puts the program into the tray. Until the icon itself exists the window stays where it is: hiding it
    // without an icon would leave the program unreachable.
    void imgMinToTray_Click() {}
    void RemoveTray() {}

private:
    [[maybe_unused]] Context& ctx_;
};

}  // namespace lumoff
