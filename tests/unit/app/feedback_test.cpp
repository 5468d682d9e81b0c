// The feedback prompt at start-up, from the install date stored in the user's short date form.
#include <gtest/gtest.h>

#include <tuple>

#include "support/sim_program.h"

namespace lumoff {
namespace {

TEST(FeedbackPrompt, AsksFromTheEleventhDayOnAndTheAnswersDecideWhatIsStored) {
    const std::string ask = "You've used Lumoff for some time now, would you like to give us a feedback?\r\nWe'd "
                            "really Really appreciate any feedback from you :) Or simply a thank you message :)";
    const std::string again = "Would you like to be prompted again? We'd really love to hear from you...";
    // The stored date, the answers, the date stored after them, the user's date pattern, and how long the user takes
    // over each box: a second copy's tray request waits meanwhile, and the housekeeping tick answers it at its first
    // tick all the same.
    using Row = std::tuple<const char*, std::vector<int>, const char*, const char*, std::uint32_t>;
    for (const auto& [stored, answers, after, pattern, think] : std::initializer_list<Row>{
             {"26.11.26", {}, "26.11.26", "dd.MM.yy", 0},  // ten days: not yet
             {"11/25/2026", {kIdYes}, "-", "M/d/yyyy", 0},
             {"1/2/2026", {kIdNo, kIdYes}, "12/6/2026", "M/d/yyyy", 0},  // asks again in ten days
             {"1/2/2026", {kIdNo, kIdNo}, "-", "M/d/yyyy", 5000},
             {"20.11.26", {kIdNo, kIdYes}, "06.12.26", "dd.MM.yy", 0},
             {"20.11.2026", {kIdNo, kIdYes}, "6.12.2026", "d'.'M'.'yyyy", 0},
             {"2/30/2026", {}, "2/30/2026", "M/d/yyyy", 0}}) {  // a date it cannot read ("-" after an answer) is kept
        RunningCopy r({.stored = {{"IDate", stored}}, .answers = answers, .until = 10},
                      [pattern = pattern, think = think](SimWorld& w) {
                          w.short_date_pattern = pattern;
                          if (!think) return;
                          w.box_think_ms = {think};
                          w.AddForeignWindow("Lumoff.exe +TRAY");
                      });
        SCOPED_TRACE(stored);
        std::vector<std::string> boxes = {ask, again};
        boxes.resize(answers.size());
        EXPECT_EQ(r.Boxes(), boxes);
        EXPECT_EQ(r.Stored("IDate"), after);
        EXPECT_EQ(r.PowerOffTimes(), think ? std::vector<std::uint32_t>{1000} : std::vector<std::uint32_t>{});
        using Opened = std::vector<std::pair<platform::WindowRef, std::string>>;
        const Opened feedback{{r.copy.handle(), std::string(kDefaultWebHost) + "/files/lumoff/feedback.php"}};
        EXPECT_EQ(r.world.opened_urls, answers.size() == 1 ? feedback : Opened{});
    }
}

}  // namespace
}  // namespace lumoff
