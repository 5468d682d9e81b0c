// The feedback prompt at start-up, from the install date stored in the user's short date form.
#include <gtest/gtest.h>

#include "settings/short_date.h"
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
    } cases[] = {{"11/26/2026", {}, "11/26/2026"},  // ten days: not yet
                 {"11/25/2026", {kIdYes}, "-"},
                 {"1/2/2026", {kIdNo, kIdYes}, "12/6/2026"},  // asks again in ten days
                 {"1/2/2026", {kIdNo, kIdNo}, "-"},
                 {"20.11.2026", {kIdNo, kIdYes}, "06.12.2026", "dd.MM.yyyy"},
                 {"-", {}, "-"},  // declined
                 {"", {}, ""},
                 {"someday", {}, "someday"},  // a date it cannot read is left alone
                 {"13/45/2026", {}, "13/45/2026"},
                 {"11/25", {}, "11/25"}};
    for (const Case& c : cases) {
        RunningCopy r({.stored = {{"IDate", c.stored}}, .answers = c.answers, .until = 10},
                      [&](SimWorld& w) { w.short_date_pattern = c.pattern; });
        SCOPED_TRACE(c.stored);
        std::vector<std::string> boxes = {ask, again};
        boxes.resize(c.answers.size());
        EXPECT_EQ(r.Boxes(), boxes);
        EXPECT_EQ(r.Stored("IDate"), c.after);
        if (!c.answers.empty()) {
            EXPECT_EQ(r.world.boxes[0].style, 0x10024u) << "Yes/No, question, brought to the foreground";
        }
        const bool yes = c.answers.size() == 1;
        ASSERT_EQ(r.world.opened_urls.size(), yes ? 1u : 0u);
        if (yes) {
            EXPECT_EQ(r.world.opened_urls[0].second, std::string(kDefaultWebHost) + "/files/lumoff/feedback.php");
        }
    }
}

TEST(FeedbackPrompt, WhileItWaitsForAnAnswerTheHousekeepingTickGoesOn) {
    platform::WindowRef second_copy = 0;
    RunningCopy r({.stored = {{"IDate", "1/2/2026"}}, .answers = {kIdNo, kIdNo}, .until = 10}, [&](SimWorld& w) {
        w.box_think_ms = {5000};
        second_copy = w.AddForeignWindow("Lumoff.exe +TRAY");
    });
    ASSERT_EQ(r.world.boxes.size(), 2u);
    EXPECT_EQ(r.world.boxes[0].answered_at_ms, 5000u);
    EXPECT_EQ(r.copy.process.timer_ticks["tmrSticky"].size(), 4u) << "ticks at 1 to 4 s, under the prompt";
    EXPECT_EQ(r.world.TitleOf(second_copy), "Lumoff.exe +CLOSE");
    EXPECT_EQ(r.PowerOffTimes(), std::vector<std::uint32_t>{1000}) << "the tray request turned the monitor off at once";
    EXPECT_FALSE(r.main().visible()) << "and sent the program to the tray";
}

TEST(ShortDate, FormatsAndReadsBackTheNumericPatterns) {
    settings::Date d{2026, 3, 7};
    EXPECT_EQ(settings::FormatShortDate(d, "dd.MM.yy"), "07.03.26");
    EXPECT_EQ(settings::FormatShortDate(d, "d MMMM yyyy"), "2026-03-07") << "month names fall back";
    for (const char* pattern : {"M/d/yyyy", "dd.MM.yy", "yyyy-MM-dd", "d'.'M'.'yyyy"}) {
        auto back = settings::ParseShortDate(settings::FormatShortDate(d, pattern), pattern);
        ASSERT_TRUE(back) << pattern;
        EXPECT_EQ(settings::DaysSinceEpoch(*back), settings::DaysSinceEpoch(d)) << pattern;
    }
    EXPECT_FALSE(settings::ParseShortDate("2/30/2026", "M/d/yyyy"));
    EXPECT_EQ(settings::DaysSinceEpoch({2027, 1, 1}) - settings::DaysSinceEpoch({2026, 12, 21}), 11);
}

}  // namespace
}  // namespace lumoff
