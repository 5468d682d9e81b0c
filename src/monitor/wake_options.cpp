#include "monitor/wake_options.h"

#include "settings/settings_store.h"

namespace lumoff {

void WakeOptions::Wire(std::function<void()> toggle) {
    OptionsDialog& o = ctx_.options;
    o.chkEnter.OnClick = [this] { WakeBoxClick(ctx_.options.chkEnter, settings::kHotKeyEnter); };
    o.chkSpace.OnClick = [this] { WakeBoxClick(ctx_.options.chkSpace, settings::kHotKeySpace); };
    o.chkMouse.OnClick = [this] { WakeBoxClick(ctx_.options.chkMouse, settings::kHotKeyMouse); };
    o.chkMsg.OnClick = [this] { chkMsg_Click(); };
    ctx_.turned_off.lblOffMessage.OnClick = [this, toggle = std::move(toggle)] {
        if (ctx_.options.chkMouse.value() == 1) toggle();
    };
}

void WakeOptions::WakeBoxClick(ui::CheckBox& box, std::string_view value_name) {
    OptionsDialog& o = ctx_.options;
    // Unchecking the last wake input checks it again; that nested click stores "1" itself.
    if (o.chkMouse.value() == 0 && o.chkEnter.value() == 0 && o.chkSpace.value() == 0) box.set_value(1);
    settings::Store(ctx_.os.registry, value_name, std::to_string(box.value()), settings::ValueForm::Flag);
}

void WakeOptions::chkMsg_Click() {
    int value = ctx_.options.chkMsg.value();
    ctx_.turned_off.lblOffMessage.set_visible(value != 0);
    settings::Store(ctx_.os.registry, settings::kOffMsg, std::to_string(value), settings::ValueForm::Flag);
}

}  // namespace lumoff
