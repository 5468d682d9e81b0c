// The six time boxes of the Options dialog (hours, minutes, seconds of the countdown and of the schedule): the key
// filter that lets only digits and Backspace reach a box, the correction of a box's text when the focus moves to
// another control of the program, and the reading of a box's number for the countdown and the schedule.
// Not here: storing the values (the countdown and the schedule do that) or locking the boxes.
#pragma once

#include <string>
#include <string_view>

#include "ui/controls.h"

namespace lumoff {

class OptionsDialog;

inline constexpr int kHoursBound = 23;
inline constexpr int kMinutesBound = 59;
inline constexpr int kSecondsBound = 59;

// Background of a box the user can edit, and of a box that is locked while its time is in use.
inline constexpr ui::Colour kEditableBoxColour = ui::SystemColour(5);  // COLOR_WINDOW
inline constexpr ui::Colour kLockedBoxColour = ui::SystemColour(15);   // COLOR_BTNFACE

// Whether a typed character may reach a time box: the digits and Backspace.
bool AcceptedInTimeBox(char key);
// The text a box is given when it loses the focus: empty -> "00", one character -> a leading "0", a number above the
// bound -> the bound; anything else stays as it is ("005", "0000", "12ab").
std::string CorrectedTimeText(const std::string& text, int bound);
// The bound rule of that correction alone: a number above the bound becomes the bound ("75" minutes -> "59", never an
// hour and a quarter); any other text stays. The settings loader applies it to a stored time as it fills a box.
std::string WithinBound(const std::string& text, int bound);
// The number a box's text starts with: its leading digits, 0 when there are none ("12ab" -> 12, "ab" -> 0).
double LeadingNumber(std::string_view text);

// Locks or unlocks three boxes together, with the colour that shows it.
void LockTimeBoxes(ui::TextBox& hours, ui::TextBox& minutes, ui::TextBox& seconds, bool locked);

// Sets the key filter and the correction on the six boxes.
void WireTimeFields(OptionsDialog& options);

}  // namespace lumoff
