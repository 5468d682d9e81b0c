#include "web/file_download.h"

#include "forms/config.h"
#include "forms/web_address.h"
#include "web/update_info.h"

namespace lumoff {

namespace {

const char* const kNl = "\r\n";
const char* const kTitleHappy = "Lumoff :)";
const char* const kTitleSad = "Lumoff :(";

}  // namespace

void FileDownloadControl::Attach(const platform::Platform& os, std::string web_host,
                                 std::function<platform::WindowRef()> main_window) {
    os_.emplace(os);
    web_host_ = std::move(web_host);
    main_window_ = std::move(main_window);
}

FileDownloadControl::~FileDownloadControl() {
    // A completion must never reach a component that is gone.
    if (os_ && PendingDownload != kNoDownload) os_->downloads.CancelAll();
}

int FileDownloadControl::Box(const std::string& text, const char* title, unsigned style) {
    return os_->desktop.ShowMessage(main_window_ ? main_window_() : 0, text, title, style);
}

int FileDownloadControl::CheckUpdate() { return Start(kUpdateDownload, kUpdateInfoPath); }

int FileDownloadControl::ValidateInstall() { return Start(kValidateDownload, kValidatePath); }

int FileDownloadControl::Start(std::int16_t kind, const char* path) {
    if (PendingDownload != kNoDownload) return kDownloadBusy;
    if (!os_) return kDownloadNotStarted;
    PendingDownload = kind;
    const platform::DownloadLimits limits{kMaxDownloadBytes, kDownloadTimeoutMs, &MayFollowRedirect};
    bool started = os_->downloads.Get(web_host_ + path, limits, [this, kind](platform::DownloadResult result) {
        OnDownloadComplete(kind, std::move(result));
    });
    if (started) return kDownloadStarted;
    // Free again before the box: a caller waiting in the box's own message loop must not find the component busy.
    PendingDownload = kNoDownload;
    if (kind == kUpdateDownload)
        ReportUpdateError();
    else
        ReportValidateError();
    return kDownloadNotStarted;
}

void FileDownloadControl::ReportUpdateError() {
    Box("There was an error connecting to " + web_host_ + "! Please try again later :(", kTitleSad,
        platform::kMbOk | platform::kMbIconExclamation);
}

void FileDownloadControl::ReportValidateError() {
    Box("There was an error connecting to " + web_host_ + "! Please send us a mail instead, it'll help us a LOT :(",
        kProgramName, platform::kMbOk | platform::kMbIconInformation);
}

void FileDownloadControl::OnDownloadComplete(std::int16_t kind, platform::DownloadResult result) {
    // The component stays busy until its answer has been given (the last box answered), however this ends.
    struct Done {
        FileDownloadControl& fdc;
        ~Done() {
            fdc.PendingDownload = kNoDownload;
            fdc.completing_ = false;
        }
    } done{*this};
    completing_ = true;
    std::unique_ptr<platform::TempFile> file = std::move(result.file);
    // Messages that were already waiting (a click made before the download ended) come first.
    os_->events.DoEvents();

    if (kind == kValidateDownload) {
        // The request reaching the server is the whole message; the body is never read.
        const bool validated = file != nullptr;
        file.reset();
        if (validated)
            Box("Your copy has been validated! Thank you very much :D", kProgramName,
                platform::kMbOk | platform::kMbIconInformation);
        else
            ReportValidateError();
        return;
    }

    std::string content;
    const bool read = file && file->ReadAll(content);
    file.reset();
    const std::string local = VersionText();
    const UpdateCheckResult check =
        read ? ReadUpdateCheck(content, local, web_host_) : UpdateCheckResult{};
    switch (check.kind) {
        case UpdateCheckResult::Kind::kFailed:
            ReportUpdateError();
            return;
        case UpdateCheckResult::Kind::kUpToDate:
            Box("No updates found - you're all set to go :)", kTitleHappy,
                platform::kMbOk | platform::kMbIconInformation);
            return;
        case UpdateCheckResult::Kind::kNewer:
            break;
    }
    std::string ask = std::string("New update found! Do you want to download it?") + kNl + "Current Version: " +
                      local + kNl + "Update version: " + check.info.version;
    if (Box(ask, kTitleHappy, platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) return;
    if (!check.open.empty()) {
        os_->desktop.OpenUrl(main_window_ ? main_window_() : 0, check.open);
        return;
    }
    RefuseAddress(check.info.address);
}

void FileDownloadControl::RefuseAddress(std::string_view address) {
    const std::string visit = std::string(kNl) + "Please visit " + web_host_ + " instead :(";
    auto read = ReadWebAddress(TrimSpaces(address));
    auto ours = ReadWebAddress(web_host_);
    std::string text = read && ours ? "The download page is on " + std::string(read->host) + ", not on " +
                                          std::string(ours->host) + ", so Lumoff did not open it." + visit
                                    : "The update information gives no web page to open." + visit;
    Box(text, kTitleSad, platform::kMbOk | platform::kMbIconExclamation);
}

void FileDownloadControl::cmdUpdate_Click() {
    if (!os_) return;
    // The last download's answer is on screen (or about to be): the component is busy until it is answered, and a
    // wait for it here would run inside that answer's own box, which cannot close before the wait ends. The click
    // does nothing; the answer on screen is the one it asks for.
    if (completing_) return;
    int answer = Box("Connect to " + web_host_ + " to check for updates?", kTitleHappy,
                     platform::kMbYesNo | platform::kMbIconQuestion);
    if (answer != platform::kIdYes) return;
    RepeatWhileBusy(os_->events, [this] { return CheckUpdate(); });
}

int RepeatWhileBusy(platform::EventLoop& events, const std::function<int()>& call) {
    for (;;) {
        int answer = call();
        if (answer != kDownloadBusy) return answer;
        // What already waits first (the completion may be among it); then wait for something new.
        events.DoEvents();
        answer = call();
        if (answer != kDownloadBusy) return answer;
        events.WaitMessage();
    }
}

}  // namespace lumoff
