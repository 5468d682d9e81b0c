// The feedback prompt at start-up, from the install date stored in the user's short date form.
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

TEST(FeedbackPrompt, AsksFromTheEleventhDayOnAndTheAnswersDecideWhatIsStored) {
    const std::string ask = "You've used Lumoff for some time now, would you like to give us a feedback?\r\nWe'd "
                            "really Really appreciate any feedback from you :) Or simply a thank you message :)";
    const std::string again = "Would you like to be prompted again? We'd really love to hear from you...";
    struct Case {
        const char* stored;
        std::vector<int> answers;
        const char* after;
        const char* pattern = "M/d/yyyy";
        // How long the user takes over each box: a second copy's tray request waits meanwhile, and the housekeeping
        // tick answers it at its first tick all the same.
        std::uint32_t think = 0;
    } cases[] = {{"26.11.26", {}, "26.11.26", "dd.MM.yy"},  // ten days: not yet
                 {"11/25/2026", {kIdYes}, "-"},
                 {"1/2/2026", {kIdNo, kIdYes}, "12/6/2026"},  // asks again in ten days
                 {"1/2/2026", {kIdNo, kIdNo}, "-", "M/d/yyyy", 5000},
                 {"20.11.26", {kIdNo, kIdYes}, "06.12.26", "dd.MM.yy"},
                 {"20.11.2026", {kIdNo, kIdYes}, "6.12.2026", "d'.'M'.'yyyy"},
                 {"2/30/2026", {}, "2/30/2026"}};  // a date it cannot read ("-" after an answer) is left alone
    for (const Case& c : cases) {
        RunningCopy r({.stored = {{"IDate", c.stored}}, .answers = c.answers, .until = 10}, [&](SimWorld& w) {
            w.short_date_pattern = c.pattern;
            if (!c.think) return;
            w.box_think_ms = {c.think};
            w.AddForeignWindow("Lumoff.exe +TRAY");
        });
        SCOPED_TRACE(c.stored);
        std::vector<std::string> boxes = {ask, again};
        boxes.resize(c.answers.size());
        EXPECT_EQ(r.Boxes(), boxes);
        EXPECT_EQ(r.Stored("IDate"), c.after);
        EXPECT_EQ(r.PowerOffTimes(), c.think ? std::vector<std::uint32_t>{1000} : std::vector<std::uint32_t>{});
        const bool yes = c.answers.size() == 1;
        ASSERT_EQ(r.world.opened_urls.size(), yes ? 1u : 0u);
        if (yes) {
            EXPECT_EQ(r.world.opened_urls[0].second, std::string(kDefaultWebHost) + "/files/lumoff/feedback.php");
        }
    }
}

}  // namespace
}  // namespace lumoff
