// The action lists' guard, and the web host the dialog names.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/sim_program.h"

namespace lumoff {
namespace {

// A copy whose program is built, on a web host given at run time, and whose Options dialog is loaded; nothing else of
// the start-up runs.
struct Loaded {
    SimWorld world;
    bool seeded = (testing::SeedSettings(world), true);  // before the load, so that what it stores would show
    SimProcess process{world, "lumoff.exe"};
    bool host = !(process.environment["LUMOFF_WEBHOST"] = "https://mirror.example:8443/").empty();
    Program program{process.platform()};
    OptionsDialog& o = program.ctx.Options();
};

TEST(ActionLists, TheLoadStoresNothingAnArmedGuardSwallowsOneClickAndEachPickStoresOneByte) {
    Loaded l;
    auto stored = [&] {
        return Stored(l.world, "TimerOtherSelect").value_or("-") + Stored(l.world, "ScheduleOtherSelect").value_or("-");
    };
    EXPECT_EQ(stored(), "--");
    EXPECT_EQ(l.o.Combo1.tag + l.o.Combo1.SelectedText(), "Logoff") << "the load's own selection used up the guard";
    l.o.Combo1.tag = "startup";
    l.o.Combo1.set_list_index(3);
    EXPECT_EQ(stored(), "--");
    l.o.Combo1.set_list_index(4);
    l.o.Combo2.set_list_index(1);
    EXPECT_EQ(l.o.Combo1.SelectedText() + " " + l.o.Combo2.SelectedText() + " " + stored(), "Hibernate Restart 41");
}

TEST(WebHost, TheRunTimeHostIsTheOneOpenedAndNamed) {
    Loaded l;
    EXPECT_EQ(l.o.cmdReadme.tooltip, "Click to go to https://mirror.example:8443 to read the lastest!");
    l.o.cmdReadme.Click();
    EXPECT_EQ(l.world.opened_urls, (std::vector<std::pair<platform::WindowRef, std::string>>{
                                       {l.process.Handle(l.o), "https://mirror.example:8443/files/lumoff/readme.txt"}}))
        << "owned by the dialog";
}

// Every address the program opens is the web host and a path of its own: a value that is no clean web host (one
// with a path, a query or user information; what the address reader refuses is the web address test's) leaves the
// built-in host in place.
TEST(WebHost, AValueThatIsNoCleanWebHostIsPassedOver) {
    for (auto [value, taken] : std::initializer_list<std::pair<const char*, const char*>>{
             {"http://[::1]:8080//", "http://[::1]:8080"}, {"http://host.example/files", kDefaultWebHost},
             {"http://user@evil.example", kDefaultWebHost}, {"http://evil.example?", kDefaultWebHost}}) {
        SimWorld world;
        SimProcess process(world, "lumoff.exe");
        process.environment["LUMOFF_WEBHOST"] = value;
        EXPECT_EQ(Config::FromEnvironment(process.platform().process).web_host, taken) << value;
    }
}

}  // namespace
}  // namespace lumoff
