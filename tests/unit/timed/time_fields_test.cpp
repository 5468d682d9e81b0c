#include <gtest/gtest.h>

#include <tuple>

#include "support/sim_program.h"
#include "timed/time_fields.h"

namespace lumoff {
namespace {

// Pasted text passes no key filter: it stays until the box is left, which corrects it to the box's bound.
TEST(TimeBoxes, OnlyDigitsAndBackspaceReachABoxAndPastedTextStaysUntilItIsLeft) {
    RunningCopy t;
    for (ui::TextBox* box : {&t.o().timHrs1, &t.o().timMin1, &t.o().timSec1, &t.o().timHrs2, &t.o().timMin2,
                             &t.o().timSec2}) {
        for (int code = 0; code < 256; ++code) {
            char key = static_cast<char>(code);
            box->OnKeyPress(key);
            const bool passes = (code >= '0' && code <= '9') || code == 8;
            EXPECT_EQ(key, passes ? static_cast<char>(code) : '\0') << box->name() << " " << code;
        }
        box->set_text("75x");
        EXPECT_EQ(box->text(), "75x");
        box->OnLostFocus();
        EXPECT_EQ(box->text(), box->name().find("Hrs") != std::string::npos ? "23" : "59") << box->name();
    }
}

// The number a box's text starts with is what counts: "12ab" is 12, so it stays, and "30ab" hours are above 23.
TEST(TimeBoxes, LeavingABoxCorrectsItsText) {
    for (auto [text, bound, after] : std::initializer_list<std::tuple<const char*, int, const char*>>{
             {"", 23, "00"}, {"7", 23, "07"}, {"a", 59, "0a"}, {"24", 23, "23"}, {"23", 23, "23"}, {"005", 59, "005"},
             {"12ab", 23, "12ab"}, {"30ab", 23, "23"}, {"99999999999999999999999", 59, "59"}})
        EXPECT_EQ(CorrectedTimeText(text, bound), after) << text << " / " << bound;
}

}  // namespace
}  // namespace lumoff
