// The update check and the install ping: the component's paths through a download, its failures, and its waits.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "forms/config.h"
#include "support/sim_program.h"
#include "web/file_download.h"
#include "lumoff_version.h"

namespace lumoff {
namespace {

using platform::sim::SimAnswer;

// A plain http host, whose update information may name only its own host.
constexpr const char* kHost = "http://www.brevald.example";
const std::string kUpdateUrl = std::string(kHost) + "/files/lumoff11/updateinfo.txt";
const std::string kValidateUrl = std::string(kHost) + "/files/lumoff11/validate.vdt";
const std::string kAsk = std::string("Connect to ") + kHost + " to check for updates?";
const std::string kError = std::string("There was an error connecting to ") + kHost + "! Please try again later :(";
const std::string kThanks = "Your copy has been validated! Thank you very much :D";
const std::string kMail = std::string("There was an error connecting to ") + kHost +
                          "! Please send us a mail instead, it'll help us a LOT :(";
const std::string kNoUpdates = "No updates found - you're all set to go :)";

std::string Offer(const std::string& remote) {
    return "New update found! Do you want to download it?\r\nCurrent Version: " LUMOFF_VERSION_TEXT
           "\r\nUpdate version: " + remote;
}

// A copy whose program is built and whose Options dialog is loaded; nothing else of the start-up runs.
struct Web : ::testing::Test {
    SimWorld world;
    SimProcess process{world, "lumoff.exe"};
    Program program{process.platform()};
    OptionsDialog& options = program.ctx.Options();
    FileDownloadControl& fdc = program.FDC;
    platform::sim::SimDownloads& net = world.downloads;
    bool attached = (fdc.Attach(process.platform(), kHost, [this] { return program.ctx.MainHandle(); }), true);

    // Runs the copy's event loop until nothing more is due.
    void Settle() {
        try {
            for (;;) {
                process.WaitMessage();
                process.DoEvents();
            }
        } catch (const platform::sim::SimStopped&) {
        }
    }
    // Clicks "Check for Updates" with the boxes' answers and lets the download finish; the boxes' texts.
    std::vector<std::string> CheckForUpdates(std::vector<int> answers) {
        world.boxes.clear();
        for (int a : answers) world.box_answers.push_back(a);
        options.cmdUpdate.Click();
        Settle();
        return BoxTexts(world);
    }
    void ExpectIdleAndClean() {
        EXPECT_EQ(fdc.PendingDownload, kNoDownload);
        EXPECT_EQ(net.running(), 0u);
        EXPECT_TRUE(net.temp_files.empty());
    }
};

// The offer shows the version as read (spaces before a field skipped, after it kept); only Yes opens the page, without
// the spaces around it, and only a web page of the rule. No to the first question starts nothing.
TEST_F(Web, TheAnswersAndTheFileDecideWhatOpens) {
    // The update information served (none: not asked for), the answers, the boxes shown, the page opened.
    using Row = std::tuple<const char*, std::vector<int>, std::vector<std::string>, const char*>;
    for (const auto& [file, answers, boxes, opened] : std::initializer_list<Row>{
        {nullptr, {kIdNo}, {kAsk}, nullptr},
        {" 1.1.10 \r\n  http://www.brevald.example/get  \r\n", {kIdYes, kIdYes}, {kAsk, Offer("1.1.10 ")},
         "http://www.brevald.example/get"},
        {"\" 1.2 \"\nhttps://www.brevald.example/get", {kIdYes, kIdNo}, {kAsk, Offer(" 1.2 ")}, nullptr},
        {"1.1.3\r\nfile:///C:/Windows/system32/calc.exe", {kIdYes, kIdYes, kIdOk},
         {kAsk, Offer("1.1.3"),
          std::string("The update information gives no web page to open.\r\nPlease visit ") + kHost + " instead :("},
         nullptr},
        {"2\r\nhttp://www.brevald.example@evil.example/x.exe", {kIdYes, kIdYes, kIdOk},
         {kAsk, Offer("2"),
          std::string("The download page is on evil.example, not on www.brevald.example, so Lumoff did not open it."
                      "\r\nPlease visit ") + kHost + " instead :("},
         nullptr}}) {
        SCOPED_TRACE(file ? file : "No");
        world.opened_urls.clear();
        if (file) net.Answer(kUpdateUrl, SimAnswer::Body(file));
        EXPECT_EQ(CheckForUpdates(answers), boxes);
        using Opened = std::vector<std::pair<platform::WindowRef, std::string>>;
        EXPECT_EQ(world.opened_urls, (opened ? Opened{{program.ctx.MainHandle(), opened}} : Opened{}));
        ExpectIdleAndClean();
    }
    EXPECT_EQ(net.requests.size(), 4u) << "No to the question started nothing";
}

// Each failure of the update check tells the user, frees the component, leaves no file, and a second check works.
// The install ping fails alike and asks for a mail instead; its body is never read (a login page is a server reached).
TEST_F(Web, EveryFailureTellsTheUserFreesTheComponentLeavesNoFileAndASecondCheckWorks) {
    // What the server answers (nothing: the download cannot start).
    for (const auto& [what, answer] : std::initializer_list<std::pair<const char*, std::optional<SimAnswer>>>{
             {"HTTP 404", SimAnswer::Status(404)}, {"refused", SimAnswer::Refused()}, {"stalled", SimAnswer::Stall()},
             {"cannot start", std::nullopt},
             {"a login page", SimAnswer::Body("<html><body>Please log in</body></html>")},
             {"no version first", SimAnswer::Body("1.1.3 beta\r\nhttp://www.brevald.example/get")}}) {
        SCOPED_TRACE(what);
        net.refuse_start = !answer;
        if (answer) net.Answer(kUpdateUrl, *answer);
        if (answer) net.Answer(kValidateUrl, *answer);
        const std::uint64_t started = world.now_ms();
        EXPECT_EQ(CheckForUpdates({kIdYes, kIdOk}), (std::vector<std::string>{kAsk, kError}));
        EXPECT_EQ(world.boxes[1].title, "Lumoff :(");
        EXPECT_LE(world.now_ms() - started, kDownloadTimeoutMs);
        ExpectIdleAndClean();
        world.boxes.clear();
        world.box_answers = {kIdOk};
        EXPECT_EQ(fdc.ValidateInstall(), answer ? kDownloadStarted : kDownloadNotStarted);
        Settle();
        const bool reached = answer && answer->kind == SimAnswer::Kind::kBody;
        EXPECT_EQ(BoxTexts(world), std::vector<std::string>{reached ? kThanks : kMail});
        ExpectIdleAndClean();
        net.refuse_start = false;
        net.Answer(kUpdateUrl, SimAnswer::Body(LUMOFF_VERSION_TEXT "\r\nhttp://www.brevald.example/get"));
        EXPECT_EQ(CheckForUpdates({kIdYes, kIdOk}).back(), kNoUpdates);
        ExpectIdleAndClean();
    }
}

// The component is busy from a download's start until its answer has been given: both operations answer busy, and a
// second click while the answer is on screen does nothing (a wait for the component there would run inside the
// answer's own box, which could then never close). A wait for it (here the install ping's) ends with the answer.
TEST_F(Web, TheComponentIsBusyUntilTheAnswerIsGivenAndAWaitEndsWithIt) {
    net.Answer(kUpdateUrl, SimAnswer::Body(LUMOFF_VERSION_TEXT "\r\nhttp://www.brevald.example/get", 1000));
    net.Answer(kValidateUrl, SimAnswer::Body("ok", 800));
    world.box_answers = {kIdYes, kIdOk, kIdOk};
    world.box_think_ms = {0, 5000, 0};
    options.cmdUpdate.Click();
    EXPECT_EQ(fdc.PendingDownload, kUpdateDownload);
    EXPECT_EQ(fdc.CheckUpdate(), kDownloadBusy);
    EXPECT_EQ(fdc.ValidateInstall(), kDownloadBusy);
    EXPECT_EQ(net.temp_files.size(), 1u);
    std::int16_t pending = kNoDownload;
    world.At(3000, [&] {
        pending = fdc.PendingDownload;
        options.cmdUpdate.Click();
    });
    int tries = 0;
    EXPECT_EQ(RepeatWhileBusy(process, [&] { ++tries; return fdc.ValidateInstall(); }), kDownloadStarted);
    EXPECT_GE(tries, 2);
    EXPECT_EQ(pending, kUpdateDownload) << "busy while the answer is on screen";
    EXPECT_EQ(world.now_ms(), 6000u) << "started as soon as the answer was given";
    EXPECT_EQ(world.boxes.size(), 2u) << "the install ping thanks only after its request completed";
    Settle();
    EXPECT_EQ(BoxTexts(world), (std::vector<std::string>{kAsk, kNoUpdates, kThanks}));
    EXPECT_EQ(world.now_ms(), 6800u);
    EXPECT_EQ(net.requests.size(), 2u) << "the click while the answer was on screen asked nothing";
    EXPECT_EQ(net.requests[1].url, kValidateUrl);
    ExpectIdleAndClean();
}

}  // namespace
}  // namespace lumoff
