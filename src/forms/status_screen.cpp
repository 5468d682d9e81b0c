#include "forms/status_screen.h"

#include <algorithm>

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
    label.shrink_to_fit = true;
    return label;
}

}  // namespace

TurnedOffScreen::TurnedOffScreen() : ui::Form("frmTurnedOff", ScreenStyle()), lblOffMessage(AddMessage(*this)) {
    set_title("Lumoff");
}

void TurnedOffScreen::CoverScreen(const ui::TwipRect& virtual_screen, const ui::TwipRect& primary_monitor) {
    // The window starts at the virtual desktop's corner, which lies on another monitor when one is left of or above
    // the primary one: the message keeps its place on the primary monitor. Its box is made for a large screen; on a
    // smaller one (or at a large scale) it keeps the same margins inside the monitor, so the text wraps where it is
    // seen, and the view draws it smaller where even then it would not fit.
    const int width = std::min(kMessageRect.width, primary_monitor.width - 2 * kMessageRect.left);
    const int height = std::min(kMessageRect.height, primary_monitor.height - 2 * kMessageRect.top);
    lblOffMessage.set_rect({kMessageRect.left - virtual_screen.left, kMessageRect.top - virtual_screen.top,
                            std::max(width, 0), std::max(height, 0)});
    ShowTopmostCoveringScreen();
}

}  // namespace lumoff
