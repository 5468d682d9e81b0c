#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::SimWorld;
using testing::SimCopy;

struct Running {
    Running() {
        testing::SeedSettings(world);
        world.horizon_ms = 10;
        copy.Start();
    }
    SimWorld world;
    SimCopy copy{world};
};

TEST(MainWindow, IsLaidOutAsTheSmallCaptionBox) {
    MainWindow m;
    EXPECT_EQ(m.style().client_width, 1215);
    EXPECT_EQ(m.style().client_height, 975);
    EXPECT_FALSE(m.style().taskbar_button);
    EXPECT_EQ(m.left(), 450);
    EXPECT_EQ(m.top(), 450);
    EXPECT_EQ(m.lblCaption.text(), "Lumoff");
    EXPECT_EQ(m.lblCaption.font().face, "Times New Roman");
    EXPECT_TRUE(m.lblCaption.font().bold);
    EXPECT_EQ(m.lblCaption.fore_colour, 0x0000FFu);
    EXPECT_EQ(m.imgTurnOff.tag, "Turn Off");
    EXPECT_EQ(m.imgTurnOff.tooltip, "Click to turn off your monitor");
    EXPECT_EQ(m.imgClose.tooltip, "Close");
    EXPECT_EQ(m.imgMinToTray.tooltip, "Minimize to tray");
    EXPECT_EQ(m.imgSettings.tooltip, "Settings");
    EXPECT_EQ(m.tmrSticky.interval(), 1000u);
    EXPECT_EQ(m.tmr.interval(), 2u);
    EXPECT_FALSE(m.tmrSticky.enabled());
    EXPECT_FALSE(m.tmr.enabled());
}

TEST(MainWindow, DoubleClickOnTheCaptionShowsTheAboutLines) {
    Running r;
    r.world.box_answers = {platform::kIdOk};
    r.copy.main().lblCaption.OnDblClick();
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text,
              "Lumoff v1.1.2\r\nUse this simple tool to turn off your Laptop/PC monitor\r\n"
              "or to shutdown, restart, hibernate or logoff your system");
    EXPECT_EQ(r.world.boxes[0].title, "Lumoff");
    EXPECT_EQ(r.world.boxes[0].style, 0u);
}

TEST(MainWindow, LeftButtonDragsAndEveryOtherButtonOpensTheMenu) {
    Running r;
    auto& caption = r.copy.main().lblCaption;
    caption.OnMouseDown(ui::MouseButton::Left, 5, 5);
    EXPECT_EQ(r.copy.process.drags.size(), 1u);
    EXPECT_TRUE(r.copy.process.menus_shown.empty());
    caption.OnMouseDown(ui::MouseButton::Right, 5, 5);
    caption.OnMouseDown(ui::MouseButton::Middle, 5, 5);
    ASSERT_EQ(r.copy.process.menus_shown.size(), 2u);
    EXPECT_EQ(r.copy.process.menus_shown[0], (std::vector<std::string>{"About", "Close"}));
    EXPECT_EQ(r.copy.process.drags.size(), 1u);
}

TEST(MainWindow, MenuAboutShowsTheLongAboutAndCloseEnds) {
    Running r;
    r.world.box_answers = {platform::kIdOk};
    r.copy.process.menu_choices = {"About"};
    r.copy.main().lblCaption.OnMouseDown(ui::MouseButton::Right, 0, 0);
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].title, "Lumoff :)");
    EXPECT_EQ(r.world.boxes[0].style, 0x40u);
    EXPECT_EQ(r.world.boxes[0].text,
              "Version 1.1.2\r\nPlease visit http://www.brevald.example for more info about Lumoff\r\n\r\n\r\n"
              "In return you can donate at the website, or just send us an\r\n"
              "email to support@brevald.example [ Please? :( ], letting\r\nus know we've helped you out today :D");
    r.copy.process.menu_choices = {"Close"};
    EXPECT_THROW(r.copy.main().lblCaption.OnMouseDown(ui::MouseButton::Right, 0, 0), platform::sim::ProcessExited);
}

TEST(MainWindow, SettingsButtonShowsAndHidesTheOptionsDialog) {
    Running r;
    r.copy.main().imgSettings.Click();
    EXPECT_TRUE(r.copy.options().visible());
    r.copy.main().imgSettings.Click();
    EXPECT_FALSE(r.copy.options().visible());
}

TEST(MainWindow, CloseButtonEndsTheProgramAtOnce) {
    Running r;
    EXPECT_THROW(r.copy.main().imgClose.Click(), platform::sim::ProcessExited);
    EXPECT_TRUE(r.copy.process.exited);
}

TEST(Config, WebHostCanBeReplacedFromTheEnvironment) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy copy(world);
    copy.process.environment["LUMOFF_WEBHOST"] = "http://127.0.0.1:8080/";
    EXPECT_EQ(Config::FromEnvironment(copy.process).Url(kReadmePath), "http://127.0.0.1:8080/files/lumoff/readme.txt");
}

}  // namespace
}  // namespace lumoff
