// The feedback prompt at start-up, from the install date stored in the user's short date form.
#include <gtest/gtest.h>

#include "settings/short_date.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdNo;
using platform::kIdYes;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

// Starts a copy on 2026-12-06 with the given install date stored.
struct FeedbackRun {
    FeedbackRun(std::string install_date, std::initializer_list<int> answers, std::string pattern = "M/d/yyyy",
                std::uint32_t think_ms = 0) {
        world.SetLocalTime({2026, 12, 6, 9, 30, 0, 0});
        world.short_date_pattern = std::move(pattern);
        testing::SeedSettings(world);
        world.registry.Put(settings::kSettingsKey, "IDate", install_date);
        world.horizon_ms = 10;
        world.box_answers = answers;
        if (think_ms) world.box_think_ms = {think_ms};
    }
    SimWorld world;
    SimCopy copy{world};
};

TEST(FeedbackPrompt, AsksFromTheEleventhDayOnAndTheAnswersDecideWhatIsStored) {
    struct Case {
        const char* stored;
        std::vector<int> answers;
        size_t boxes;
        const char* after;
        const char* pattern = "M/d/yyyy";
    } cases[] = {{"11/26/2026", {}, 0, "11/26/2026"},  // ten days: not yet
                 {"11/25/2026", {kIdYes}, 1, "-"},
                 {"1/2/2026", {kIdNo, kIdYes}, 2, "12/6/2026"},  // asks again in ten days
                 {"1/2/2026", {kIdNo, kIdNo}, 2, "-"},
                 {"20.11.2026", {kIdNo, kIdYes}, 2, "06.12.2026", "dd.MM.yyyy"},
                 {"-", {}, 0, "-"},  // declined
                 {"", {}, 0, ""},
                 {"someday", {}, 0, "someday"},  // a date it cannot read is left alone
                 {"13/45/2026", {}, 0, "13/45/2026"},
                 {"11/25", {}, 0, "11/25"}};
    for (const Case& c : cases) {
        FeedbackRun run(c.stored, {}, c.pattern);
        run.world.box_answers.assign(c.answers.begin(), c.answers.end());
        run.copy.Start();
        SCOPED_TRACE(c.stored);
        ASSERT_EQ(run.world.boxes.size(), c.boxes);
        EXPECT_EQ(Stored(run.world, "IDate"), c.after);
        if (c.boxes > 0) {
            EXPECT_EQ(run.world.boxes[0].text,
                      "You've used Lumoff for some time now, would you like to give us a feedback?\r\n"
                      "We'd really Really appreciate any feedback from you :) Or simply a thank you message :)");
            EXPECT_EQ(run.world.boxes[0].style, 0x10024u) << "Yes/No, question, brought to the foreground";
        }
        if (c.boxes > 1) {
            EXPECT_EQ(run.world.boxes[1].text,
                      "Would you like to be prompted again? We'd really love to hear from you...");
        }
        const bool yes = c.answers.size() == 1;
        ASSERT_EQ(run.world.opened_urls.size(), yes ? 1u : 0u);
        if (yes) {
            EXPECT_EQ(run.world.opened_urls[0].second, "http://www.brevald.example/files/lumoff/feedback.php");
        }
    }
}

TEST(FeedbackPrompt, WhileItWaitsForAnAnswerTheHousekeepingTickGoesOn) {
    FeedbackRun run("1/2/2026", {kIdNo, kIdNo}, "M/d/yyyy", 5000);
    const platform::WindowRef second_copy = run.world.AddForeignWindow("Lumoff.exe +TRAY");
    run.copy.Start();
    ASSERT_EQ(run.world.boxes.size(), 2u);
    EXPECT_EQ(run.world.boxes[0].answered_at_ms, 5000u);
    EXPECT_EQ(run.copy.process.timer_ticks["tmrSticky"].size(), 4u) << "ticks at 1 to 4 s, under the prompt";
    EXPECT_EQ(run.world.TitleOf(second_copy), "Lumoff.exe +CLOSE");
    ASSERT_EQ(run.world.power_requests.size(), 1u);
    EXPECT_EQ(run.world.power_requests[0].at_ms, 1000u) << "the tray request turned the monitor off at once";
    EXPECT_FALSE(run.copy.main().visible()) << "and sent the program to the tray";
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
