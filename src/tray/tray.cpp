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
}

void TrayArea::imgMinToTray_Click() {
    ctx_.main.Hide();
    record_.window = ctx_.MainHandle();
    record_.id = kTrayIconId;
    record_.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
    record_.callback_message = kTrayCallbackMessage;
    record_.tip = TrayTip();
    ctx_.os.tray.AddIcon(record_);
    in_tray_ = true;
    settings::Store(ctx_.os.registry, settings::kTray, "1", settings::ValueForm::Flag);
}

void TrayArea::RemoveTray() {
    ctx_.os.tray.DeleteIcon(record_);
    in_tray_ = false;
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
    if (in_tray_) ctx_.os.tray.AddIcon(record_);
}

}  // namespace lumoff
