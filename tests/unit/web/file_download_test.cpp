#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_program.h"
#include "web/file_download.h"

namespace lumoff {
namespace {

using platform::sim::SimAnswer;
using platform::sim::SimProcess;
using platform::sim::SimStopped;
using platform::sim::SimWorld;

constexpr const char* kHost = "http://www.brevald.example";
const std::string kUpdateUrl = std::string(kHost) + "/files/lumoff11/updateinfo.txt";
const std::string kValidateUrl = std::string(kHost) + "/files/lumoff11/validate.vdt";
const std::string kError = std::string("There was an error connecting to ") + kHost + "! Please try again later :(";
const std::string kMailInstead =
    std::string("There was an error connecting to ") + kHost + "! Please send us a mail instead, it'll help us a LOT :(";
const std::string kThanks = "Your copy has been validated! Thank you very much :D";
const std::string kNoUpdates = "No updates found - you're all set to go :)";
constexpr unsigned kQuestion = platform::kMbYesNo | platform::kMbIconQuestion;
constexpr unsigned kInfo = platform::kMbOk | platform::kMbIconInformation;

std::string Offer(const std::string& remote) {
    return "New update found! Do you want to download it?\r\nCurrent Version: 1.1.2\r\nUpdate version: " + remote;
}

// A copy whose program is built and whose Options dialog is loaded; nothing else of the start-up runs.
struct Web : ::testing::Test {
    SimWorld world;
    SimProcess process{world, "lumoff.exe"};
    Program program{process.platform()};
    OptionsDialog& options = program.ctx.Options();
    FileDownloadControl& fdc = options.FDC;
    platform::sim::SimDownloads& net = world.downloads;

    // Runs the copy's event loop until nothing more is due.
    void Settle() {
        try {
            for (;;) {
                process.WaitMessage();
                process.DoEvents();
            }
        } catch (const SimStopped&) {
        }
    }
    // Clicks "Check for Updates", answers its question, and lets the download finish.
    void CheckForUpdates(std::vector<int> answers) {
        for (int a : answers) world.box_answers.push_back(a);
        options.cmdUpdate.Click();
        Settle();
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : world.boxes) texts.push_back(b.text);
        return texts;
    }
    void ExpectIdleAndClean() {
        EXPECT_EQ(fdc.PendingDownload, kNoDownload);
        EXPECT_EQ(net.running(), 0u);
        EXPECT_TRUE(net.temp_files.empty());
    }
};

TEST_F(Web, AnsweringNoToTheQuestionStartsNothing) {
    CheckForUpdates({platform::kIdNo});
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.boxes[0].text, std::string("Connect to ") + kHost + " to check for updates?");
    EXPECT_EQ(world.boxes[0].title, "Lumoff :)");
    EXPECT_EQ(world.boxes[0].style, kQuestion);
    EXPECT_TRUE(net.requests.empty());
}

TEST_F(Web, ANewerVersionIsOfferedAndYesOpensItsPage) {
    net.Answer(kUpdateUrl, SimAnswer::Body(" 1.1.10 \r\nhttp://www.brevald.example/get\r\n"));
    CheckForUpdates({platform::kIdYes, platform::kIdYes});

    ASSERT_EQ(net.requests.size(), 1u);
    EXPECT_EQ(net.requests[0].url, kUpdateUrl);
    EXPECT_EQ(net.requests[0].limits.max_bytes, kMaxDownloadBytes);
    EXPECT_EQ(net.requests[0].limits.timeout_ms, kDownloadTimeoutMs);
    ASSERT_EQ(world.boxes.size(), 2u);
    EXPECT_EQ(world.boxes[1].text, Offer("1.1.10 ")) << "spaces before a field are skipped, after it kept";
    EXPECT_EQ(world.boxes[1].title, "Lumoff :)");
    EXPECT_EQ(world.boxes[1].style, kQuestion);
    ASSERT_EQ(world.opened_urls.size(), 1u);
    EXPECT_EQ(world.opened_urls[0].first, program.ctx.MainHandle());
    EXPECT_EQ(world.opened_urls[0].second, "http://www.brevald.example/get");
    ExpectIdleAndClean();
}

TEST_F(Web, NoToTheOfferOpensNothing) {
    net.Answer(kUpdateUrl, SimAnswer::Body("\" 1.2.0 \"\nhttps://www.brevald.example/get"));
    CheckForUpdates({platform::kIdYes, platform::kIdNo});
    EXPECT_EQ(BoxTexts().back(), Offer(" 1.2.0 "));
    EXPECT_TRUE(world.opened_urls.empty());
    ExpectIdleAndClean();
}

TEST_F(Web, AVersionThatIsNotNewerFindsNoUpdate) {
    for (const char* remote : {"1.1.2", "1.1.02", "1.0.99", "1.2", "1.1.2.1", "abc", ""}) {
        world.boxes.clear();
        net.Answer(kUpdateUrl, SimAnswer::Body(std::string(remote) + "\r\nhttp://www.brevald.example/get"));
        CheckForUpdates({platform::kIdYes, platform::kIdOk});
        ASSERT_EQ(world.boxes.size(), 2u) << remote;
        EXPECT_EQ(world.boxes[1].text, kNoUpdates) << remote;
        EXPECT_EQ(world.boxes[1].title, "Lumoff :)");
        EXPECT_EQ(world.boxes[1].style, kInfo);
        ExpectIdleAndClean();
    }
    EXPECT_TRUE(world.opened_urls.empty());
}

TEST_F(Web, AnAddressThatIsNotAWebPageIsRefusedAndNothingOpens) {
    for (const char* address : {"file:///C:/Windows/system32/calc.exe", "C:\\Windows\\system32\\calc.exe",
                                "\\\\server\\share\\setup.exe", "calc.exe", "javascript:alert(1)", "\"\"",
                                "http://x.example/\" --new-window file:///C:/"}) {
        world.boxes.clear();
        net.Answer(kUpdateUrl, SimAnswer::Body(std::string("1.1.3\r\n") + address));
        CheckForUpdates({platform::kIdYes, platform::kIdYes, platform::kIdOk});
        ASSERT_EQ(world.boxes.size(), 3u) << address;
        EXPECT_EQ(world.boxes[2].title, "Lumoff :(");
        EXPECT_EQ(world.boxes[2].text.rfind("The update information gives no web page to open:\r\n", 0), 0u)
            << world.boxes[2].text;
        ExpectIdleAndClean();
    }
    EXPECT_TRUE(world.opened_urls.empty());
}

TEST_F(Web, EveryFailureTellsTheUserFreesTheComponentLeavesNoFileAndASecondCheckWorks) {
    struct Case {
        const char* what;
        std::function<void(Web&)> arrange;
    };
    const Case cases[] = {
        {"HTTP 404", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Status(404)); }},
        {"HTTP 500", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Status(500)); }},
        {"refused", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Refused()); }},
        {"nothing scripted", [](Web&) {}},
        {"stalled", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Stall()); }},
        {"too long", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Body("1.1.3,http://x/" + std::string(5000, 'a'))); }},
        {"one field", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Body("1.1.3\r\n")); }},
        {"empty", [](Web& t) { t.net.Answer(kUpdateUrl, SimAnswer::Body("")); }},
        {"cannot start", [](Web& t) { t.net.refuse_start = true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        world.boxes.clear();
        net.refuse_start = false;
        c.arrange(*this);
        const std::uint64_t started = world.now_ms();
        CheckForUpdates({platform::kIdYes, platform::kIdOk});
        ASSERT_EQ(world.boxes.size(), 2u);
        EXPECT_EQ(world.boxes[1].text, kError);
        EXPECT_EQ(world.boxes[1].title, "Lumoff :(");
        EXPECT_LE(world.now_ms() - started, kDownloadTimeoutMs);
        ExpectIdleAndClean();

        net.refuse_start = false;
        net.Answer(kUpdateUrl, SimAnswer::Body("1.1.2\r\nhttp://www.brevald.example/get"));
        CheckForUpdates({platform::kIdYes, platform::kIdOk});
        EXPECT_EQ(BoxTexts().back(), kNoUpdates);
        ExpectIdleAndClean();
    }
}

TEST_F(Web, WhileADownloadRunsBothOperationsAnswerBusyAndTheWaitEndsWithIt) {
    net.Answer(kUpdateUrl, SimAnswer::Body("1.1.2\r\nhttp://www.brevald.example/get", 3000));
    net.Answer(kValidateUrl, SimAnswer::Body("ok"));
    ASSERT_EQ(fdc.CheckUpdate(), kDownloadStarted);
    EXPECT_EQ(fdc.PendingDownload, kUpdateDownload);
    EXPECT_EQ(fdc.CheckUpdate(), kDownloadBusy);
    EXPECT_EQ(fdc.ValidateInstall(), kDownloadBusy);
    EXPECT_EQ(net.requests.size(), 1u);
    EXPECT_EQ(net.temp_files.size(), 1u);

    world.box_answers = {platform::kIdOk, platform::kIdOk};
    int tries = 0;
    EXPECT_EQ(RepeatWhileBusy(process, [&] { ++tries; return fdc.ValidateInstall(); }), kDownloadStarted);
    EXPECT_GE(tries, 2);
    EXPECT_EQ(world.now_ms(), 3000u) << "started as soon as the update check ended";
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNoUpdates});
    EXPECT_EQ(fdc.PendingDownload, kValidateDownload);
    Settle();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNoUpdates, kThanks}));
    ExpectIdleAndClean();
}

TEST_F(Web, TheInstallPingThanksOnlyAfterItsRequestCompleted) {
    net.Answer(kValidateUrl, SimAnswer::Body("anything", 800));
    world.box_answers = {platform::kIdOk};
    EXPECT_EQ(fdc.ValidateInstall(), kDownloadStarted);
    EXPECT_EQ(fdc.PendingDownload, kValidateDownload);
    EXPECT_TRUE(world.boxes.empty());
    Settle();
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.now_ms(), 800u);
    EXPECT_EQ(world.boxes[0].text, kThanks);
    EXPECT_EQ(world.boxes[0].title, "Lumoff");
    EXPECT_EQ(world.boxes[0].style, kInfo);
    ASSERT_EQ(net.requests.size(), 1u);
    EXPECT_EQ(net.requests[0].url, kValidateUrl);
    ExpectIdleAndClean();
}

TEST_F(Web, AnInstallPingThatFailsAsksForAMailInstead) {
    for (bool can_start : {false, true}) {
        world.boxes.clear();
        net.refuse_start = !can_start;
        net.Answer(kValidateUrl, SimAnswer::Status(404));
        world.box_answers = {platform::kIdOk};
        EXPECT_EQ(fdc.ValidateInstall(), can_start ? kDownloadStarted : kDownloadNotStarted);
        Settle();
        ASSERT_EQ(world.boxes.size(), 1u);
        EXPECT_EQ(world.boxes[0].text, kMailInstead);
        EXPECT_EQ(world.boxes[0].title, "Lumoff");
        EXPECT_EQ(world.boxes[0].style, kInfo);
        ExpectIdleAndClean();
    }
}

// A click on "Check for Updates" that waited in the queue while the previous check ended runs inside the completion
// (its first step lets waiting messages through). The component is free by then, so the new check starts instead
// of waiting forever for a completion that sits beneath it on the stack.
TEST_F(Web, ACheckClickedWhileTheLastOneCompletesStartsInsteadOfWaitingForever) {
    net.Answer(kUpdateUrl, SimAnswer::Body("1.1.2,http://www.brevald.example/get", 100));
    net.Answer(kUpdateUrl, SimAnswer::Body("1.1.3,http://www.brevald.example/get", 100));
    ASSERT_EQ(fdc.CheckUpdate(), kDownloadStarted);
    world.At(100, [this] { options.cmdUpdate.Click(); });
    world.box_answers = {platform::kIdYes, platform::kIdOk, platform::kIdNo};
    Settle();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{std::string("Connect to ") + kHost + " to check for updates?",
                                                    kNoUpdates, Offer("1.1.3")}));
    EXPECT_EQ(net.requests.size(), 2u);
    ExpectIdleAndClean();
}

TEST_F(Web, ClosingWhileADownloadRunsLeavesNoFileAndNoCompletion) {
    net.Answer(kUpdateUrl, SimAnswer::Stall());
    ASSERT_EQ(fdc.CheckUpdate(), kDownloadStarted);
    EXPECT_EQ(net.temp_files.size(), 1u);
    EXPECT_THROW(process.Exit(), platform::sim::ProcessExited);
    EXPECT_TRUE(net.temp_files.empty());
    EXPECT_EQ(net.running(), 0u);
    Settle();
    EXPECT_TRUE(world.boxes.empty());
}

TEST(WebProgram, AProgramThatGoesAwayMidDownloadIsNeverCalledBack) {
    SimWorld world;
    SimProcess process{world, "lumoff.exe"};
    {
        Program program{process.platform()};
        world.downloads.Answer(kValidateUrl, SimAnswer::Body("ok"));
        ASSERT_EQ(program.ctx.Options().FDC.ValidateInstall(), kDownloadStarted);
    }
    EXPECT_TRUE(world.downloads.temp_files.empty());
    process.WaitMessage();  // to the time the dropped download would have answered
    process.DoEvents();
    EXPECT_TRUE(world.boxes.empty());
}

TEST(WebProgram, TheRunTimeWebHostIsTheOneAskedAndNamed) {
    SimWorld world;
    SimProcess process{world, "lumoff.exe"};
    process.environment["LUMOFF_WEBHOST"] = "https://mirror.example:8443/";
    Program program{process.platform()};
    world.box_answers = {platform::kIdYes, platform::kIdOk};
    program.ctx.Options().cmdUpdate.Click();
    ASSERT_EQ(world.downloads.requests.size(), 1u);
    EXPECT_EQ(world.downloads.requests[0].url, "https://mirror.example:8443/files/lumoff11/updateinfo.txt");
    EXPECT_EQ(world.boxes[0].text, "Connect to https://mirror.example:8443 to check for updates?");
}

}  // namespace
}  // namespace lumoff
