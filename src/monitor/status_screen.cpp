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

// The message's box on the primary monitor, from its top-left corner.
constexpr ui::TwipRect kMessageRect{240, 120, 12015, 13395};

ui::Label& AddMessage(ui::Form& form) {
    auto& label = form.Add<ui::Label>(nullptr, "lblOffMessage");
    label.set_rect(kMessageRect);
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

void TurnedOffScreen::CoverScreen(const ui::TwipRect& virtual_screen) {
    // The window starts at the virtual desktop's corner, which lies on another monitor when one is left of or above
    // the primary one: the message keeps its place on the primary monitor.
    lblOffMessage.set_rect({kMessageRect.left - virtual_screen.left, kMessageRect.top - virtual_screen.top,
                            kMessageRect.width, kMessageRect.height});
    ShowTopmostCoveringScreen();
}

}  // namespace lumoff
