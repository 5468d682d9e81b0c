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

constexpr const char* kAsk =
    "You've used Lumoff for some time now, would you like to give us a feedback?\r\n"
    "We'd really Really appreciate any feedback from you :) Or simply a thank you message :)";
constexpr const char* kAskAgain = "Would you like to be prompted again? We'd really love to hear from you...";

// Starts a copy on 2026-12-06 with the given install date stored.
struct FeedbackRun {
    explicit FeedbackRun(std::string install_date, std::string pattern = "M/d/yyyy") {
        world.SetLocalTime({2026, 12, 6, 9, 30, 0, 0});
        world.short_date_pattern = std::move(pattern);
        testing::SeedSettings(world);
        world.registry.Put(settings::kSettingsKey, "IDate", install_date);
        world.horizon_ms = 10;
    }
    void Start(std::initializer_list<int> answers) {
        world.box_answers = answers;
        copy.Start();
    }
    SimWorld world;
    SimCopy copy{world};
};

TEST(FeedbackPrompt, AsksFromTheEleventhDayOn) {
    FeedbackRun ten("11/26/2026");
    ten.Start({});
    EXPECT_TRUE(ten.world.boxes.empty()) << "ten days: not yet";

    FeedbackRun eleven("11/25/2026");
    eleven.Start({kIdYes});
    ASSERT_EQ(eleven.world.boxes.size(), 1u);
    EXPECT_EQ(eleven.world.boxes[0].text, kAsk);
    EXPECT_EQ(eleven.world.boxes[0].title, "Lumoff :)");
    EXPECT_EQ(eleven.world.boxes[0].style, 0x10024u) << "Yes/No, question, brought to the foreground";
}

TEST(FeedbackPrompt, YesStopsAskingAndOpensTheFeedbackPage) {
    FeedbackRun run("1/2/2026");
    run.Start({kIdYes});
    EXPECT_EQ(Stored(run.world, "IDate"), "-");
    ASSERT_EQ(run.world.opened_urls.size(), 1u);
    EXPECT_EQ(run.world.opened_urls[0].second, "http://www.brevald.example/files/lumoff/feedback.php");
    EXPECT_EQ(run.world.opened_urls[0].first, run.copy.handle());
}

TEST(FeedbackPrompt, NoThenYesAsksAgainInTenDays) {
    FeedbackRun run("1/2/2026");
    run.Start({kIdNo, kIdYes});
    ASSERT_EQ(run.world.boxes.size(), 2u);
    EXPECT_EQ(run.world.boxes[1].text, kAskAgain);
    EXPECT_EQ(run.world.boxes[1].title, "Lumoff :(");
    EXPECT_EQ(run.world.boxes[1].style, 0x24u);
    EXPECT_EQ(Stored(run.world, "IDate"), "12/6/2026");
    EXPECT_TRUE(run.world.opened_urls.empty());
}

TEST(FeedbackPrompt, NoThenNoStopsAsking) {
    FeedbackRun run("1/2/2026");
    run.Start({kIdNo, kIdNo});
    EXPECT_EQ(Stored(run.world, "IDate"), "-");
}

TEST(FeedbackPrompt, FollowsTheUsersShortDateForm) {
    FeedbackRun run("20.11.2026", "dd.MM.yyyy");
    run.Start({kIdNo, kIdYes});
    EXPECT_EQ(Stored(run.world, "IDate"), "06.12.2026");
}

TEST(FeedbackPrompt, LeavesADateItCannotReadAlone) {
    for (const char* stored : {"someday", "13/45/2026", "11/25"}) {
        FeedbackRun run(stored);
        run.Start({});
        EXPECT_TRUE(run.world.boxes.empty()) << stored;
        EXPECT_EQ(Stored(run.world, "IDate"), stored);
    }
}

TEST(FeedbackPrompt, NeverAsksWhenDeclinedOrUnset) {
    FeedbackRun declined("-");
    declined.Start({});
    FeedbackRun empty("");
    empty.Start({});
    EXPECT_TRUE(declined.world.boxes.empty());
    EXPECT_TRUE(empty.world.boxes.empty());
}

TEST(FeedbackPrompt, WhileItWaitsForAnAnswerTheHousekeepingTickGoesOn) {
    FeedbackRun run("1/2/2026");
    run.world.box_think_ms = {5000};
    const platform::WindowRef second_copy = run.world.AddForeignWindow("Lumoff.exe +TRAY");
    int open_at_request = -1;
    run.world.At(1500, [&] { open_at_request = run.world.open_boxes; });
    run.Start({kIdNo, kIdNo});

    ASSERT_EQ(run.world.boxes.size(), 2u);
    EXPECT_EQ(run.world.boxes[0].shown_at_ms, 0u);
    EXPECT_EQ(run.world.boxes[0].answered_at_ms, 5000u);
    EXPECT_EQ(run.world.boxes[1].answered_at_ms, 5000u) << "the second question is answered at once";
    EXPECT_EQ(open_at_request, 1);
    EXPECT_EQ(run.copy.process.timer_ticks["tmrSticky"].size(), 4u) << "ticks at 1 to 4 s, under the prompt";
    EXPECT_EQ(run.world.TitleOf(second_copy), "Lumoff.exe +CLOSE");
    ASSERT_EQ(run.world.power_requests.size(), 1u);
    EXPECT_EQ(run.world.power_requests[0].at_ms, 1000u) << "the tray request turned the monitor off at once";
    EXPECT_FALSE(run.copy.main().visible()) << "and sent the program to the tray";
    EXPECT_EQ(Stored(run.world, "IDate"), "-");
}

TEST(ShortDate, FormatsAndReadsBackTheNumericPatterns) {
    settings::Date d{2026, 3, 7};
    EXPECT_EQ(settings::FormatShortDate(d, "M/d/yyyy"), "3/7/2026");
    EXPECT_EQ(settings::FormatShortDate(d, "dd.MM.yy"), "07.03.26");
    EXPECT_EQ(settings::FormatShortDate(d, "yyyy-MM-dd"), "2026-03-07");
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
