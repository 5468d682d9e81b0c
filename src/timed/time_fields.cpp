#include "timed/time_fields.h"

#include "forms/options_dialog.h"

namespace lumoff {

namespace {

constexpr char kBackspace = 8;
constexpr const char* kEmptyBoxText = "00";

void Wire(ui::TextBox& box, int bound) {
    // Swallowed without a sound: the box simply does not take the character.
    box.OnKeyPress = [](char& key) {
        if (!AcceptedInTimeBox(key)) key = 0;
    };
    box.OnLostFocus = [&box, bound] { box.set_text(CorrectedTimeText(box.text(), bound)); };
}

}  // namespace

bool AcceptedInTimeBox(char key) { return (key >= '0' && key <= '9') || key == kBackspace; }

double LeadingNumber(std::string_view text) {
    // Accumulated in floating point: a pasted run of digits of any length reads as a (large) number, never wraps.
    double value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string CorrectedTimeText(const std::string& text, int bound) {
    if (text.empty()) return kEmptyBoxText;
    if (text.size() == 1) return "0" + text;
    return WithinBound(text, bound);
}

std::string WithinBound(const std::string& text, int bound) {
    return LeadingNumber(text) > bound ? std::to_string(bound) : text;
}

void LockTimeBoxes(ui::TextBox& hours, ui::TextBox& minutes, ui::TextBox& seconds, bool locked) {
    for (ui::TextBox* box : {&hours, &minutes, &seconds}) {
        box->set_locked(locked);
        box->set_back_colour(locked ? kLockedBoxColour : kEditableBoxColour);
    }
}

void WireTimeFields(OptionsDialog& options) {
    Wire(options.timHrs1, kHoursBound);
    Wire(options.timMin1, kMinutesBound);
    Wire(options.timSec1, kSecondsBound);
    Wire(options.timHrs2, kHoursBound);
    Wire(options.timMin2, kMinutesBound);
    Wire(options.timSec2, kSecondsBound);
}

}  // namespace lumoff
