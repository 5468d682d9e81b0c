#include "forms/main_window.h"

namespace lumoff {

namespace {

ui::FormStyle MainStyle() {
    ui::FormStyle style;
    style.border = ui::Border::None;
    style.taskbar_button = false;
    style.back_colour = ui::kBlack;
    style.client_width = 1215;
    style.client_height = 975;
    return style;
}

ui::Image& AddImage(ui::Form& form, const char* name, ui::Picture picture, ui::TwipRect rect, const char* tip) {
    auto& image = form.Add<ui::Image>(nullptr, name, picture);
    image.set_rect(rect);
    image.tooltip = tip;
    return image;
}

ui::Label& AddCaption(ui::Form& form) {
    auto& label = form.Add<ui::Label>(nullptr, "lblCaption");
    label.set_rect({0, 0, 1215, 255});
    label.set_text("Lumoff");
    label.align = ui::Align::Centre;
    label.transparent = true;
    label.fore_colour = ui::kRed;
    label.set_font({"Times New Roman", 8.25, true});
    return label;
}

}  // namespace

// Controls are listed from the top of the stack down: the caption label lies over the caption strip.
MainWindow::MainWindow()
    : ui::Form("frmMain", MainStyle()),
      lblCaption(AddCaption(*this)),
      imgCaption(AddImage(*this, "imgCaption", ui::Picture::CaptionStrip, {0, 0, 1260, 240}, "")),
      imgTurnOff(AddImage(*this, "imgTurnOff", ui::Picture::TurnOff, {0, 240, 975, 735},
                          "Click to turn off your monitor")),
      imgClose(AddImage(*this, "imgClose", ui::Picture::Close, {960, 240, 240, 240}, "Close")),
      imgMinToTray(AddImage(*this, "imgMinToTray", ui::Picture::MinToTray, {960, 480, 240, 240},
                            "Minimize to tray")),
      imgSettings(AddImage(*this, "imgSettings", ui::Picture::Settings, {960, 720, 240, 240}, "Settings")),
      tmrSticky(AddTimer("tmrSticky", 1000)),
      tmr(AddTimer("tmr", 2)),
      tmrTray(AddTimer("tmrTray", 1000)) {
    set_title("Lumoff");
    set_position(450, 450);
    imgTurnOff.tag = kTurnOffTag;
}

}  // namespace lumoff
