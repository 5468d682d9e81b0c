// The notification-area icon and the tray menu: going to the tray (imgMinToTray_Click), coming back, the icon's
// mouse notifications as the main window receives them, and the `Tray` setting that remembers where the program
// was last. Not here: the tray menu's layout (forms/options_dialog.*) or its wiring (app/program.cpp).
#pragma once

#include "forms/context.h"

namespace lumoff {

class MonitorControl;

// The icon's notifications reach the main window as mouse moves whose x, in pixels, is the mouse message number.
inline constexpr int kTrayLeftButtonUp = 514;    // WM_LBUTTONUP
inline constexpr int kTrayRightButtonUp = 517;   // WM_RBUTTONUP
inline constexpr int kTrayMiddleButtonUp = 520;  // WM_MBUTTONUP
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;  // WM_MOUSEMOVE

class TrayArea {
public:
    TrayArea(Context& ctx, MonitorControl& monitor);

    // Hides the main window and puts the icon in its place; the program starts there next time.
    void imgMinToTray_Click();
    // Deletes the icon, and nothing else.
    void RemoveTray();
    // The main window's mouse-move handler, x in pixels.
    void Form_MouseMove(int x);

    // The tray menu.
    void mnuExit_Click();
    void mnuShow_Click();
    void mnuOptions_Click();
    void mnuTurnOff_Click();

private:
    void BringBack();
    // The shell forgot the icon when it restarted: it is added again, unchanged, while the program is in the tray.
    void ShellRestarted();
    Context& ctx_;
    MonitorControl& monitor_;
    // Filled when the icon is added and used unchanged to delete it.
    platform::TrayIcon record_;
    // The icon was added and not deleted since.
    bool in_tray_ = false;
};

}  // namespace lumoff
