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
    int on_clicks = 0, off_clicks = 0;
    g.on.OnClick = [&] { ++on_clicks; };
    g.off.OnClick = [&] { ++off_clicks; };
    g.off.set_value(true);
    EXPECT_EQ(off_clicks, 1);
    g.off.set_value(true);
    EXPECT_EQ(off_clicks, 1) << "already selected: nothing changes";
    g.on.set_value(true);
    EXPECT_EQ(on_clicks, 1);
    EXPECT_FALSE(g.off.value()) << "the group keeps one selection";
    EXPECT_EQ(off_clicks, 1) << "being cleared raises nothing";
    g.off.set_value(true);
    EXPECT_EQ(off_clicks, 2);
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
    list.set_list_index(1);
    EXPECT_EQ(clicks, 1);
    list.set_list_index(1);
    EXPECT_EQ(clicks, 2) << "setting the selection raises the handler every time";
    for (int outside : {3, 48, -2, 9999}) {
        list.set_list_index(outside);
        EXPECT_EQ(list.list_index(), 1) << outside;
    }
    EXPECT_EQ(clicks, 2) << "a refused position raises nothing";
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
