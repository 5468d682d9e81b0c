// The controls' event convention (option buttons are proven by the program's own groups), and where a window starts in
// an area.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/form.h"
#include "ui/layout.h"

namespace lumoff::ui {
namespace {

TEST(Controls, ACheckBoxRaisesItsHandlerOnlyOnAChangeAndAListRefusesAPositionOutsideIt) {
    Form form("frm", FormStyle{});
    CheckBox& box = form.Add<CheckBox>(nullptr, "chk");
    ComboBox& list = form.Add<ComboBox>(nullptr, "lst");
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    int clicks = 0, picks = 0;
    box.OnClick = [&] { ++clicks; };
    list.OnClick = [&] { ++picks; };
    for (int value : {0, 1, 1}) box.set_value(value);
    EXPECT_EQ(clicks, 1);
    for (int index : {1, 1, 3, 48, -2, 9999}) list.set_list_index(index);
    EXPECT_EQ(list.list_index(), 1);
    EXPECT_EQ(picks, 2) << "setting the selection raises the handler every time, a refused position nothing";
    list.set_list_index(-1);
    EXPECT_EQ(list.SelectedText() + std::to_string(picks), "3");
}

TEST(Form, AWindowTallerThanItsAreaKeepsItsTopInside) {
    for (auto [start, area, length, expected] :
         {std::tuple{0, 1024, 400, 312}, {30, 738, 1029, 30}, {0, 738, 738, 0}, {-1280, 1280, 1300, -1280}})
        EXPECT_EQ(CentredStart(start, area, length), expected) << length;
    // Where a window goes when its area changes: where it stands if it fits there, else inside, else at the start.
    for (auto [start, length, expected] : {std::tuple{100, 200, 100}, {900, 200, 824}, {-50, 1100, 0}})
        EXPECT_EQ(InsideStart(start, length, 0, 1024), expected) << start;
}

}  // namespace
}  // namespace lumoff::ui
