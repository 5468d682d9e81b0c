#include "monitor/status_screen.h"

namespace lumoff {

namespace {

ui::FormStyle ScreenStyle() {
    ui::FormStyle style;
    style.border = ui::Border::None;
    style.taskbar_button = false;
    style.centred = true;
    style.back_colour = ui::kBlack;
    style.client_width = 28800;
    style.client_height = 16200;
    return style;
}

ui::Label& AddMessage(ui::Form& form) {
    auto& label = form.Add<ui::Label>(nullptr, "lblOffMessage");
    label.set_rect({240, 120, 12015, 13395});
    label.set_text(kOffMessage);
    label.set_font({"Impact", 48, false});
    label.fore_colour = ui::kRed;
    label.set_back_colour(ui::kBlack);
    label.align = ui::Align::Left;
    label.word_wrap = true;
    return label;
}

}  // namespace

TurnedOffScreen::TurnedOffScreen() : ui::Form("frmTurnedOff", ScreenStyle()), lblOffMessage(AddMessage(*this)) {
    set_title("Lumoff");
}

}  // namespace lumoff
