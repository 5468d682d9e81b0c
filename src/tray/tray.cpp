#include "tray/tray.h"

#include "forms/config.h"
#include "monitor/toggle.h"
#include "settings/settings_store.h"

namespace lumoff {

namespace {

// "Lumoff v1.1.2", its NUL, then spaces up to the tip's full length.
std::string TrayTip() {
    std::string tip = std::string("Lumoff v") + VersionText();
    tip += '\0';
    tip.resize(platform::kTrayTipLength, ' ');
    return tip;
}

}  // namespace

TrayArea::TrayArea(Context& ctx, MonitorControl& monitor) : ctx_(ctx), monitor_(monitor) {
    ctx_.main.OnShellRestarted = [this] { ShellRestarted(); };
    ctx_.main.tmrTray.OnTimer = [this] { tmrTray_Timer(); };
}

void TrayArea::imgMinToTray_Click() {
    ctx_.main.Hide();
    record_.window = ctx_.MainHandle();
    record_.id = kTrayIconId;
    record_.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
    record_.callback_message = kTrayCallbackMessage;
    record_.tip = TrayTip();
    in_tray_ = true;
    // An icon already shown is not added again (the "/tray" start comes here twice): the shell would refuse it.
    if (!icon_shown_) {
        icon_shown_ = ctx_.os.tray.AddIcon(record_);
        if (!icon_shown_ && !ctx_.main.tmrTray.enabled()) {
            tries_ = 0;
            ctx_.main.tmrTray.set_enabled(true);
        }
    }
    settings::Store(ctx_.os.registry, settings::kTray, "1", settings::ValueForm::Flag);
}

void TrayArea::RemoveTray() {
    ctx_.os.tray.DeleteIcon(record_);
    in_tray_ = false;
    icon_shown_ = false;
    ctx_.main.tmrTray.set_enabled(false);
}

bool TrayArea::AddAgain() {
    // A refused add may have been taken all the same (a shell busy past its time-out), and the shell refuses to add
    // an icon it shows: whatever it has of this one goes first.
    ctx_.os.tray.DeleteIcon(record_);
    icon_shown_ = ctx_.os.tray.AddIcon(record_);
    ctx_.main.tmrTray.set_enabled(!icon_shown_);
    return icon_shown_;
}

void TrayArea::tmrTray_Timer() {
    if (AddAgain() || ++tries_ < kTrayTries) return;
    // The shell never took the icon: the caption window comes back. `Tray` keeps saying "1": the user chose the tray,
    // and the next start tries it again.
    ctx_.main.tmrTray.set_enabled(false);
    in_tray_ = false;
    ctx_.main.Show();
}

void TrayArea::BringBack() {
    ctx_.main.Show();
    RemoveTray();
    settings::Store(ctx_.os.registry, settings::kTray, "0", settings::ValueForm::Flag);
}

void TrayArea::Form_MouseMove(int x) {
    switch (x) {
        case kTrayLeftButtonUp:
            BringBack();
            break;
        case kTrayRightButtonUp:
            // The menu closes when the user clicks elsewhere only if its window is in the foreground.
            ctx_.os.desktop.SetForegroundWindow(ctx_.MainHandle());
            ctx_.os.view.PopupMenu(ctx_.main, ctx_.Options().mnuMPTray);
            break;
        case kTrayMiddleButtonUp:
            monitor_.imgTurnOff_Click();
            break;
        default:
            break;  // moves, presses and double clicks, and real moves over the window
    }
}

void TrayArea::mnuExit_Click() {
    RemoveTray();
    ctx_.os.process.Exit();
}

void TrayArea::mnuShow_Click() { BringBack(); }

void TrayArea::mnuOptions_Click() { ctx_.Options().Show(); }

void TrayArea::mnuTurnOff_Click() { monitor_.imgTurnOff_Click(); }

void TrayArea::ShellRestarted() {
    if (!in_tray_) return;
    // Every try again, for a fresh minute should the new shell not take it at once.
    tries_ = 0;
    AddAgain();
}

}  // namespace lumoff
