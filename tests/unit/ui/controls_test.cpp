#include <gtest/gtest.h>

#include "ui/form.h"

namespace lumoff::ui {
namespace {

struct Group : Form {
    Group() : Form("frm", FormStyle{}) {}
    Frame& frame = Add<Frame>(nullptr, "frame");
    OptionButton& on = Add<OptionButton>(&frame, "on");
    OptionButton& off = Add<OptionButton>(&frame, "off");
    OptionButton& elsewhere = Add<OptionButton>(nullptr, "elsewhere");
};

TEST(OptionButton, RaisesItsHandlerOnlyWhenItBecomesSelected) {
    Group g;
    std::string clicks;
    g.on.OnClick = [&] { clicks += "on "; };
    g.off.OnClick = [&] { clicks += "off "; };
    g.off.set_value(true);
    g.off.set_value(true);  // already selected: nothing changes
    g.on.set_value(true);   // the one selected before is cleared, which raises nothing
    EXPECT_FALSE(g.off.value()) << "the group keeps one selection";
    g.off.set_value(true);
    EXPECT_EQ(clicks, "off on off ");
    g.elsewhere.set_value(true);
    EXPECT_TRUE(g.off.value()) << "another container is another group";
}

TEST(CheckBox, RaisesItsHandlerOnlyWhenTheValueChanges) {
    Form form("frm", FormStyle{});
    CheckBox& box = form.Add<CheckBox>(nullptr, "chk");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.set_value(0);
    box.set_value(1);
    box.set_value(1);
    EXPECT_EQ(clicks, 1);
}

TEST(ComboBox, RefusesAPositionOutsideTheList) {
    Form form("frm", FormStyle{});
    ComboBox& list = form.Add<ComboBox>(nullptr, "lst");
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    int clicks = 0;
    list.OnClick = [&] { ++clicks; };
    for (int index : {1, 1, 3, 48, -2, 9999}) list.set_list_index(index);
    EXPECT_EQ(list.list_index(), 1);
    EXPECT_EQ(clicks, 2) << "setting the selection raises the handler every time, a refused position nothing";
    list.set_list_index(-1);
    EXPECT_EQ(list.list_index(), -1);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(list.SelectedText(), "");
}

TEST(Form, ACentredWindowTallerThanTheAreaKeepsItsTopInside) {
    struct Case {
        int start, area, length, expected;
    } cases[] = {{0, 1024, 400, 312}, {30, 738, 1029, 30}, {0, 738, 738, 0}, {-1280, 1280, 1300, -1280}};
    for (const Case& c : cases) EXPECT_EQ(CentredStart(c.start, c.area, c.length), c.expected) << c.length;
}

}  // namespace
}  // namespace lumoff::ui
