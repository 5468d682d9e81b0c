#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "hotkey/hotkey_lists.h"
#include "support/sim_program.h"
#include "timed/action_lists.h"

namespace lumoff {
namespace {

using platform::sim::SimProcess;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

constexpr ui::Colour k3dLight = ui::SystemColour(22);
constexpr ui::Colour kWindow = ui::SystemColour(5);

// A copy whose program is built but not started: only what a test asks for runs.
struct Built {
    SimWorld world;
    SimProcess process{world, "lumoff.exe"};
    Program program{process.platform()};
    OptionsDialog& Load() { return program.ctx.Options(); }
};

// What the end-to-end test of the real dialog does not read: each control's tooltip (the program's own texts), and
// its kind, which decides its colour. Places, captions, frames and the tab order are checked there, on the windows.
struct Designed {
    const char* name;  // lblColon entries as "lblColon0" to "lblColon4"
    ui::Kind kind;
    const char* tooltip;
};

constexpr const char* kOther = "Pick something else Lumoff should do instead";
constexpr const char* kIdle = "The timer will tick only if the user is idle";
using K = ui::Kind;

const Designed kLayout[] = {
    {"frameStartup", K::Frame, "Select if you want Lumoff to launch itself with Windows"},
    {"frameTimer", K::Frame, "Make a timed action"},
    {"frameSchedule", K::Frame, "Schedule Lumoff"},
    {"frameHotKey", K::Frame, "Set a HotKey for Lumoff!"},
    {"frameBehavior", K::Frame, "Check Readme before changing value"},
    {"frameMisc", K::Frame, "Help and other stuff"},
    {"radStartOn", K::OptionButton, ""},
    {"radStartOff", K::OptionButton, ""},
    {"timHrs1", K::TextBox, "Hours"},
    {"lblColon0", K::Label, ""},
    {"timMin1", K::TextBox, "Minutes"},
    {"lblColon1", K::Label, ""},
    {"timSec1", K::TextBox, "Seconds"},
    {"cmdTimed", K::CommandButton, "Click to start counting down!"},
    {"chkIdle", K::CheckBox, kIdle},
    {"chkScr", K::CheckBox, kIdle},
    {"chkOther1", K::CheckBox, kOther},
    {"Combo1", K::ComboBox, kOther},
    {"chkSchedule", K::CheckBox, "Click to enable a Schedule"},
    {"timHrs2", K::TextBox, "Hours"},
    {"lblColon4", K::Label, ""},
    {"timMin2", K::TextBox, "Minutes"},
    {"lblColon3", K::Label, ""},
    {"timSec2", K::TextBox, "Seconds"},
    {"lblSetTime", K::Label, "Set the Schedule Time in the boxes (24h format)"},
    {"chkOther2", K::CheckBox, kOther},
    {"Combo2", K::ComboBox, kOther},
    {"hkeyButton1", K::ComboBox, "Select a state modifier"},
    {"lblColon2", K::Label, ""},
    {"hkeyButton2", K::ComboBox, "Selet a key"},
    {"cmdHotKey", K::CommandButton, "Click to set the HotKey"},
    {"lblAlso", K::Label, "Check which other actions should turn on the monitor"},
    {"chkMouse", K::CheckBox, "Clicking the mouse"},
    {"chkEnter", K::CheckBox, "Pressing the Enter Key"},
    {"chkSpace", K::CheckBox, "Pressing the Space Bar"},
    {"radVista", K::OptionButton, "Displays a status screen when turned off"},
    {"radXP", K::OptionButton, "No status screens"},
    {"chkMsg", K::CheckBox, ""},
    {"cmdUpdate", K::CommandButton, "Click to see if there's a better Lumoff out there!"},
    {"cmdReadme", K::CommandButton, "Click to go to http://mirror.example to read the lastest!"},
    {"cmdReg", K::CommandButton, "Click to remove Lumoff's settings - delete the application safely"},
};

const ui::Control* Lookup(const OptionsDialog& d, const std::string& name) {
    if (name.rfind("lblColon", 0) == 0) return d.lblColon.at(static_cast<size_t>(name.back() - '0'));
    return d.Find(name);
}

TEST(OptionsDialog, EveryControlHasItsTooltipColourAndAlignment) {
    OptionsDialog d("http://mirror.example");
    ASSERT_EQ(d.controls().size(), std::size(kLayout)) << "no control more or less than designed";
    for (const Designed& e : kLayout) {
        SCOPED_TRACE(e.name);
        const ui::Control* c = Lookup(d, e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind(), e.kind);
        EXPECT_EQ(c->tooltip, e.tooltip);
        bool field = e.kind == K::TextBox || e.kind == K::ComboBox;
        EXPECT_EQ(c->back_colour(), field ? kWindow : k3dLight);
        if (e.kind == K::Label) {
            bool centred = std::string(e.name) != "lblAlso";
            EXPECT_EQ(static_cast<const ui::Label*>(c)->align, centred ? ui::Align::Centre : ui::Align::Left);
        }
    }
    // Only the "+" has a font of its own.
    EXPECT_EQ(d.lblColon[2]->font().face, "MS Sans Serif");
    EXPECT_EQ(d.lblColon[2]->font().points, 12);
    EXPECT_EQ(d.lblColon[0]->font().face, "");
    for (const ui::Label* colon : d.lblColon) EXPECT_EQ(colon->name(), "lblColon");
}

TEST(OptionsDialog, IsCreatedAsAHiddenToolWindowInItsDesignState) {
    OptionsDialog d("http://www.brevald.example");
    EXPECT_EQ(d.name(), "frmOptions");
    EXPECT_EQ(d.title(), "Lumoff Options");
    EXPECT_FALSE(d.visible());
    EXPECT_EQ(d.style().border, ui::Border::FixedToolWindow);
    EXPECT_FALSE(d.style().taskbar_button);
    EXPECT_TRUE(d.style().centred);
    EXPECT_EQ(d.style().client_width, 2895);
    EXPECT_EQ(d.style().client_height, 8535);
    EXPECT_EQ(d.style().back_colour, k3dLight);
    EXPECT_EQ(d.cmdReadme.tooltip, "Click to go to http://www.brevald.example to read the lastest!");

    EXPECT_FALSE(d.radStartOn.value());
    EXPECT_TRUE(d.radStartOff.value());
    EXPECT_TRUE(d.radVista.value());
    EXPECT_FALSE(d.radXP.value());
    for (const ui::CheckBox* clear : {&d.chkIdle, &d.chkScr, &d.chkOther1, &d.chkSchedule, &d.chkOther2})
        EXPECT_EQ(clear->value(), 0) << clear->name();
    for (const ui::CheckBox* ticked : {&d.chkMouse, &d.chkEnter, &d.chkSpace, &d.chkMsg})
        EXPECT_EQ(ticked->value(), 1) << ticked->name();
    for (const auto& c : d.controls()) {
        bool off = c.get() == &d.chkScr || c.get() == &d.Combo1 || c.get() == &d.Combo2;
        EXPECT_EQ(c->enabled(), !off) << c->name();
        EXPECT_TRUE(c->visible()) << c->name();
    }
    for (const ui::ComboBox* list : {&d.Combo1, &d.Combo2, &d.hkeyButton1, &d.hkeyButton2})
        EXPECT_TRUE(list->items().empty()) << "filled by the load, not at creation";

    ASSERT_EQ(d.timers().size(), 2u);
    EXPECT_EQ(d.tmrTimer.name(), "tmrTimer");
    EXPECT_EQ(d.tmrTimer.interval(), 200u);
    EXPECT_EQ(d.tmrScreen.name(), "tmrScreen");
    EXPECT_EQ(d.tmrScreen.interval(), 100u);
    EXPECT_FALSE(d.tmrTimer.enabled());
    EXPECT_FALSE(d.tmrScreen.enabled());
    EXPECT_EQ(d.FDC.PendingDownload, 0);

    std::vector<std::string> tray;
    for (const auto& item : d.mnuMPTray.items) tray.push_back(item.name + " " + item.caption);
    EXPECT_EQ(tray, (std::vector<std::string>{"mnuExit Exit Lumoff", "mnuHBar -", "mnuShow Show Lumoff",
                                              "mnuOptions Options", "mnuTurnOff Turn Off"}));
    EXPECT_EQ(d.mnuMP.caption, "Lumoff");
    EXPECT_EQ(d.mnuMPTray.caption, "Lumoff Tray");
}

// Watches what the load does to the four lists through the window the dialog is given.
class ListSpy : public platform::View, public ui::FormHost {
public:
    explicit ListSpy(SimProcess& process) : process_(process) {}
    std::vector<std::string> trace;

    void Create(ui::Form& form) override {
        process_.Create(form);
        if (form.name() != "frmOptions") return;
        inner_ = form.host;
        form.host = this;
    }
    platform::WindowRef Handle(const ui::Form& form) override { return process_.Handle(form); }
    void PopupMenu(ui::Form& owner, const ui::Menu& menu) override { process_.PopupMenu(owner, menu); }
    void BeginCaptionDrag(ui::Form& form) override { process_.BeginCaptionDrag(form); }

    void FormChanged(ui::Form& form, ui::Property what) override { inner_->FormChanged(form, what); }
    void TimerChanged(ui::Timer& timer) override { inner_->TimerChanged(timer); }
    void ControlChanged(ui::Control& c, ui::Property what) override {
        inner_->ControlChanged(c, what);
        if (c.kind() != ui::Kind::ComboBox) return;
        auto& list = static_cast<ui::ComboBox&>(c);
        if (what == ui::Property::Selection) {
            trace.push_back(c.name() + " select " + std::to_string(list.list_index()));
        } else if (what == ui::Property::Items) {
            // Runs of additions collapse into one line with the count they reached.
            std::string added = c.name() + " " + std::to_string(list.items().size()) + " items";
            bool adding = !trace.empty() && trace.back().rfind(c.name() + " ", 0) == 0 &&
                          trace.back().find(" items") != std::string::npos;
            if (list.items().empty())
                trace.push_back(c.name() + " cleared");
            else if (adding)
                trace.back() = added;
            else
                trace.push_back(added);
        }
    }

private:
    SimProcess& process_;
    ui::FormHost* inner_ = nullptr;
};

TEST(OptionsLoad, FillsTheHotKeyListsThenTheActionListsAndSelectsTheirDefaults) {
    SimWorld world;
    testing::SeedSettings(world);
    SimProcess process(world, "lumoff.exe");
    ListSpy spy(process);
    platform::Platform os = process.platform();
    Program program(platform::Platform{os.registry, os.clock, os.process, os.desktop, spy, os.events, os.tray, os.downloads});
    OptionsDialog& o = program.ctx.options;
    for (ui::ComboBox* list : {&o.hkeyButton1, &o.hkeyButton2, &o.Combo1, &o.Combo2}) list->AddItem("left over");

    program.ctx.Options();

    EXPECT_EQ(spy.trace, (std::vector<std::string>{
                             "hkeyButton1 cleared", "hkeyButton1 8 items", "hkeyButton1 select 0",
                             "hkeyButton2 cleared", "hkeyButton2 48 items", "hkeyButton2 select 9",
                             "Combo1 cleared", "Combo1 5 items", "Combo2 cleared", "Combo2 5 items",
                             "Combo1 select 2", "Combo2 select 2"}));
    EXPECT_EQ(o.hkeyButton1.items(), (std::vector<std::string>{"-", "Ctrl", "Alt", "Shift", "Ctrl+Alt", "Ctrl+Shift",
                                                               "Alt+Shift", "Ctrl+Alt+Shift"}));
    EXPECT_EQ(o.hkeyButton2.items(),
              (std::vector<std::string>{"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
                                        "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",   "K",   "L",
                                        "M",  "N",  "O",  "P",  "Q",  "R",  "S",  "T",  "U",  "V",   "W",   "X",
                                        "Y",  "Z",  "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",   "8",   "9"}));
    const std::vector<std::string> actions{"Shutdown", "Restart", "Logoff", "Standby", "Hibernate"};
    EXPECT_EQ(o.Combo1.items(), actions);
    EXPECT_EQ(o.Combo2.items(), actions);
    EXPECT_EQ(o.hkeyButton1.SelectedText(), "-");
    EXPECT_EQ(o.hkeyButton2.SelectedText(), "F10");
    EXPECT_EQ(o.Combo1.SelectedText(), "Logoff");
    EXPECT_EQ(o.Combo2.SelectedText(), "Logoff");
    EXPECT_FALSE(o.visible()) << "loaded hidden";
    EXPECT_NE(process.Handle(o), 0u);
}

TEST(HotKeyListTables, MapPositionsToTheSystemsFlagsAndKeys) {
    const unsigned flags[] = {0, 2, 1, 4, 3, 6, 5, 7};
    for (int p = 0; p < 8; ++p) EXPECT_EQ(ModifierFlags(p), flags[p]) << ModifierEntries()[p].text;
    EXPECT_EQ(ModifierFlags(-1), 0u) << "no selection";
    EXPECT_EQ(ModifierFlags(8), 0u);
    struct Key {
        int position;
        const char* text;
        unsigned vk;
    } keys[] = {{0, "F1", 0x70}, {9, "F10", 0x79}, {11, "F12", 0x7B}, {12, "A", 0x41},
                {37, "Z", 0x5A}, {38, "0", 0x30}, {47, "9", 0x39}};
    for (const Key& k : keys) {
        EXPECT_EQ(KeyText(k.position), k.text);
        EXPECT_EQ(KeyVirtualKey(k.position), k.vk) << k.text;
    }
}

TEST(ActionLists, TheLoadStoresNothingAndEachPickStoresItsIndexAsOneByte) {
    Built b;
    testing::SeedSettings(b.world);
    OptionsDialog& o = b.Load();
    EXPECT_EQ(Stored(b.world, settings::kTimerOtherSelect), std::nullopt);
    EXPECT_EQ(Stored(b.world, settings::kScheduleOtherSelect), std::nullopt);
    EXPECT_EQ(o.Combo1.tag, "") << "the load's own selection used up the guard";
    EXPECT_EQ(o.Combo2.tag, "");

    o.Combo2.set_list_index(1);  // "Restart"
    EXPECT_EQ(Stored(b.world, settings::kScheduleOtherSelect), "1");
    EXPECT_EQ(Stored(b.world, settings::kTimerOtherSelect), std::nullopt);
    o.Combo1.set_list_index(4);  // "Hibernate"
    EXPECT_EQ(Stored(b.world, settings::kTimerOtherSelect), "4");
    o.Combo1.set_list_index(0);
    EXPECT_EQ(Stored(b.world, settings::kTimerOtherSelect), "0");
    const auto* value = b.world.registry.Get(settings::kSettingsKey, settings::kTimerOtherSelect);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, platform::kRegSz);
}

TEST(ActionLists, AGuardStillArmedSwallowsExactlyOneClick) {
    Built b;
    testing::SeedSettings(b.world);
    OptionsDialog& o = b.Load();
    o.Combo1.tag = "startup";
    o.Combo1.set_list_index(3);
    EXPECT_EQ(Stored(b.world, settings::kTimerOtherSelect), std::nullopt);
    EXPECT_EQ(o.Combo1.tag, "");
    o.Combo1.set_list_index(3);
    EXPECT_EQ(Stored(b.world, settings::kTimerOtherSelect), "3");
    EXPECT_EQ(Stored(b.world, settings::kScheduleOtherSelect), std::nullopt);
}

// Every control's state as text, to compare before and after.
std::vector<std::string> StateOf(const ui::Form& form) {
    std::vector<std::string> state;
    for (const auto& c : form.controls()) {
        std::string s = c->name() + " '" + c->text() + "' " + (c->visible() ? "v" : "-") + (c->enabled() ? "e" : "-");
        if (c->kind() == K::CheckBox) s += " " + std::to_string(static_cast<const ui::CheckBox&>(*c).value());
        if (c->kind() == K::OptionButton) s += static_cast<const ui::OptionButton&>(*c).value() ? " on" : " off";
        if (c->kind() == K::ComboBox) {
            const auto& list = static_cast<const ui::ComboBox&>(*c);
            s += " " + std::to_string(list.items().size()) + "@" + std::to_string(list.list_index());
        }
        state.push_back(s);
    }
    return state;
}

TEST(OptionsDialog, ClosingHidesItAndKeepsEveryControlAndTimer) {
    SimWorld world;
    testing::SeedSettings(world);
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    OptionsDialog& o = copy.options();
    copy.main().imgSettings.Click();
    ASSERT_TRUE(o.visible());
    o.timHrs1.set_text("05");
    o.chkOther2.set_value(1);
    o.Combo2.set_enabled(true);
    o.Combo2.set_list_index(4);
    o.hkeyButton2.set_list_index(20);
    o.radXP.set_value(true);
    o.tmrTimer.set_enabled(true);
    const std::vector<std::string> before = StateOf(o);

    ASSERT_TRUE(o.OnCloseRequest);
    o.OnCloseRequest();
    EXPECT_FALSE(o.visible());
    EXPECT_EQ(StateOf(o), before);
    EXPECT_TRUE(o.tmrTimer.enabled()) << "the countdown goes on while the dialog is hidden";

    copy.main().imgSettings.Click();
    EXPECT_TRUE(o.visible());
    EXPECT_EQ(StateOf(o), before);
}

TEST(OptionsDialog, ReadmeOpensTheReadmeOnTheWebHostWithTheDialogAsOwner) {
    SimWorld world;
    testing::SeedSettings(world);
    SimProcess process(world, "lumoff.exe");
    process.environment["LUMOFF_WEBHOST"] = "http://mirror.example/";
    Program program(process.platform());
    OptionsDialog& o = program.ctx.Options();
    EXPECT_EQ(o.cmdReadme.tooltip, "Click to go to http://mirror.example to read the lastest!");
    o.cmdReadme.Click();
    ASSERT_EQ(world.opened_urls.size(), 1u);
    EXPECT_NE(world.opened_urls[0].first, 0u);
    EXPECT_EQ(world.opened_urls[0].first, process.Handle(o));
    EXPECT_EQ(world.opened_urls[0].second, "http://mirror.example/files/lumoff/readme.txt");
}

TEST(OptionsDialog, TheProbeChoosesTheKeepOffMode) {
    struct Case {
        platform::OsVersion version;
        int generation;
        bool vista;
    } cases[] = {
        {{2, 6}, 2, true},   // Vista and newer
        {{2, 5}, 1, false},  // XP
        {{1, 4}, 1, false},  // 95/98/Me
        {{2, 10}, 0, true},  // an NT the probe does not know: the design selection stays
    };
    for (const Case& c : cases) {
        SimWorld world;
        testing::SeedSettings(world);
        world.horizon_ms = 10;
        SimCopy copy(world);
        copy.process.os_version = c.version;
        copy.Start();
        EXPECT_EQ(copy.ctx().os_generation, c.generation) << c.version.platform_id << "/" << c.version.major;
        EXPECT_EQ(copy.options().radVista.value(), c.vista) << c.generation;
        EXPECT_EQ(copy.options().radXP.value(), !c.vista) << c.generation;
    }
}

}  // namespace
}  // namespace lumoff
