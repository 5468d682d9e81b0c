// FileDownloadControl (FDC): the Options dialog's one download component, with the update check and the install
// ping built on it. It runs one download at a time through the platform's Downloads service and handles the
// completion on the user-interface thread. It holds no window of its own, is never shown, and does not read the
// update information itself (web/update_info.h does).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace lumoff {

// PendingDownload values.
inline constexpr int kNoDownload = 0;
inline constexpr int kUpdateDownload = 1;
inline constexpr int kValidateDownload = 2;

// Answers of CheckUpdate and ValidateInstall.
inline constexpr int kDownloadBusy = -1;
inline constexpr int kDownloadStarted = 1;
inline constexpr int kDownloadNotStarted = 0;

// Limits of both downloads: the files are a few lines long, and a server that does not answer must not keep the
// component busy for long.
inline constexpr std::size_t kMaxDownloadBytes = 4096;
inline constexpr std::uint32_t kDownloadTimeoutMs = 15000;

class FileDownloadControl {
public:
    FileDownloadControl() = default;
    FileDownloadControl(const FileDownloadControl&) = delete;
    FileDownloadControl& operator=(const FileDownloadControl&) = delete;
    ~FileDownloadControl();

    // What the component needs of the program: the platform, the web host, and the main window (owner of the boxes
    // and of the browser window it opens). Until this is given, nothing starts.
    void Attach(const platform::Platform& os, std::string web_host, std::function<platform::WindowRef()> main_window);

    // kDownloadBusy while a download runs (and nothing else happens); otherwise starts downloading the update
    // information and answers kDownloadStarted, or tells the user it could not start and answers kDownloadNotStarted.
    int CheckUpdate();
    // kDownloadBusy while a download runs; otherwise starts the install ping: kDownloadStarted, or, when it cannot
    // start, the user is asked to send a mail instead and the answer is kDownloadNotStarted.
    int ValidateInstall();

    // cmdUpdate's click: asks whether to connect, and on Yes checks for an update, waiting while busy.
    void cmdUpdate_Click();

    // 0, kUpdateDownload or kValidateDownload: what is being downloaded.
    std::int16_t PendingDownload = kNoDownload;

private:
    int Start(std::int16_t kind, const char* path);
    void OnDownloadComplete(std::int16_t kind, platform::DownloadResult result);
    void RefuseAddress(std::string_view address);
    void ReportUpdateError();
    void ReportValidateError();
    int Box(const std::string& text, const char* title, unsigned style);

    std::optional<platform::Platform> os_;
    std::string web_host_;
    std::function<platform::WindowRef()> main_window_;
    // True from the start of a completion to its end (its boxes answered); PendingDownload stays set meanwhile.
    bool completing_ = false;
};

// Repeats `call` for as long as it answers kDownloadBusy, letting the user-interface thread's messages through
// between tries, so the download that keeps it busy can complete. Returns the first other answer.
int RepeatWhileBusy(platform::EventLoop& events, const std::function<int()>& call);

}  // namespace lumoff
