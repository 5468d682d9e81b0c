// The notification-area icon and the tray menu: going to the tray (imgMinToTray_Click), coming back, the icon's
// mouse notifications as the main window receives them, and the `Tray` setting that remembers where the program
// was last. Not here: the tray menu's layout (forms/options_dialog.*) or its wiring (app/program.cpp).
//
// The program never runs with neither its window nor its icon: an icon the shell does not take (its notification
// area is not up yet at a slow logon, or busy) is tried again when the shell announces its taskbar and every
// second; after a minute without one the caption window is shown again.
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
// The tries of tmrTray, one a second: the taskbar's announcement brings the icon as soon as a late shell starts, so
// the timer serves a shell that is up but did not take the icon (busy past its time-out, or an announcement missed).
// Within a minute a slow logon has its notification area; past it the program is better seen than waiting unseen.
inline constexpr int kTrayTries = 60;

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
    // Deletes and adds the icon; true (and no more tries) once the shell took it.
    bool AddAgain();
    void tmrTray_Timer();
    Context& ctx_;
    MonitorControl& monitor_;
    // Filled when the icon is added and used unchanged to delete it.
    platform::TrayIcon record_;
    // The program is in the tray: its window hidden, its icon wanted.
    bool in_tray_ = false;
    // The shell took the icon and it was not deleted since.
    bool icon_shown_ = false;
    int tries_ = 0;
};

}  // namespace lumoff
