// The update check of the real program against a small HTTP server of the driver on 127.0.0.1: redirects, a newer
// version offered and opened in the browser (the shell's command for http and https addresses points at a recorder of
// the driver), the real failures with a later check that works, and a close in the middle of a download.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "forms/config.h"
#include "e2e_http_server.h"
#include "e2e_options.h"
#include "web/file_download.h"

using namespace e2e;

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Appends its last argument, the address the shell was asked to open, to the file named first.
E2E_HELPER_PROGRAM(record_url) {
    if (args.size() < 2) return 2;
    std::ofstream out(Narrow(args[0]), std::ios::app);
    out << Narrow(args.back()) << "\n";
    return 0;
}

// The program's download files in the temporary folder.
std::vector<std::wstring> TempFiles() {
    wchar_t dir[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, dir);
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((std::wstring(dir) + L"lmf*.tmp").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do found.push_back(data.cFileName);
    while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

// A returning user of this version whose program talks to `host` and whose shell opens web pages with the recorder.
class UpdateCheck {
public:
    explicit UpdateCheck(std::wstring host) : host_(std::move(host)) {
        EXPECT_TRUE(SeedSettings());
        SetEnvironmentVariableW(L"LUMOFF_WEBHOST", host_.c_str());
        recorder_ = ArtifactPath(L"browser-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
        DeleteFileW(recorder_.c_str());
        const std::wstring command = L"\"" + DriverExe() + L"\" --e2e-helper=record_url \"" + recorder_ + L"\" \"%1\"";
        for (const wchar_t* scheme : {L"http", L"https"}) {
            const std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
            EXPECT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, command.c_str(),
                                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
        lumoff.emplace();
        EXPECT_TRUE(lumoff->WaitForMain());
    }
    std::vector<std::string> Opened() const {
        std::ifstream in(Narrow(recorder_));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Clicks "Check for Updates" with the button's own click (independent of the pointer) and answers Yes.
    void Start() {
        HWND options = OpenOptions(*lumoff);
        ASSERT_TRUE(options);
        HWND button = ControlAt(options, "cmdUpdate");
        ASSERT_EQ(WindowText(button), L"Check for Updates");
        PostMessageW(button, BM_CLICK, 0, 0);
        Answer(L"Lumoff :)", L"Connect to " + host_ + L" to check for updates?", L"Yes");
    }
    // Waits for the box, checks its text, presses the button and waits until the box is gone.
    void Answer(const std::wstring& title, const std::wstring& text, const std::wstring& button,
                Duration timeout = kDefaultTimeout) {
        HWND box = WaitForMessageBox(lumoff->process.Pid(), title, timeout);
        ASSERT_TRUE(box) << Narrow(text);
        EXPECT_EQ(MessageBoxText(box), text);
        ASSERT_TRUE(PressDialogButton(box, button));
        ASSERT_TRUE(WaitForWindowGone(box));
    }
    std::wstring Error() const { return L"There was an error connecting to " + host_ + L"! Please try again later :("; }

    std::wstring host_;
    std::wstring recorder_;
    std::optional<Lumoff> lumoff;  // started once the settings and the shell are ready
};

// A redirect to another host name (one that reaches the same server) is not followed; one on the same host is (by the
// program: WinHTTP's own following is off), and a version of two numbers is newer than the program's three.
TEST(Web, ARedirectIsFollowedOnlyOnTheSameHostAndYesOpensTheNewerVersionsPage) {
    HttpServer server;
    ASSERT_TRUE(server.Valid());
    const std::string port = std::to_string(server.Port());
    const std::string page = "http://127.0.0.1:" + port + "/lumoff/get";
    server.Queue({302, "", false, "http://localhost:" + port + "/files/lumoff11/updateinfo.txt"});
    server.Queue({302, "", false, "/files/lumoff11/moved.txt"});
    server.Queue({200, "1.2\r\n" + page + "\r\n"});
    UpdateCheck check(server.Host());
    check.Start();
    check.Answer(L"Lumoff :(", check.Error(), L"OK");
    check.Start();
    check.Answer(L"Lumoff :)",
                 L"New update found! Do you want to download it?\r\nCurrent Version: " + Wide(lumoff::VersionText()) +
                     L"\r\nUpdate version: 1.2",
                 L"Yes");
    EXPECT_TRUE(WaitUntil([&] { return !check.Opened().empty(); }));
    EXPECT_EQ(check.Opened(), std::vector<std::string>{page});
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u) << "nothing asked of the other host";
    EXPECT_EQ(requests[0].rfind("GET /files/lumoff11/updateinfo.txt HTTP/1.1\r\n", 0), 0u) << requests[0];
    EXPECT_NE(requests[0].find("Cache-Control: no-cache\r\n"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("Pragma: no-cache\r\n"), std::string::npos) << requests[0];
    EXPECT_EQ(requests[2].rfind("GET /files/lumoff11/moved.txt HTTP/1.1\r\n", 0), 0u) << requests[2];
    EXPECT_TRUE(TempFiles().empty());
}

// Each failure ends with the error within the download's time limit, and the next check starts afresh. A close in
// the middle of a download ends the program at once and leaves no temporary file.
TEST(Web, EveryFailureGivesTheErrorInTimeALaterCheckWorksAndACloseLeavesNoFile) {
    const unsigned short port = HttpServer::UnusedPort();
    UpdateCheck check(L"http://127.0.0.1:" + std::to_wstring(port));
    check.Start();  // nothing listens yet
    check.Answer(L"Lumoff :(", check.Error(), L"OK");
    HttpServer server(port);
    ASSERT_TRUE(server.Valid());
    const HttpServer::Answer failures[] = {
        {404, "gone"},
        {200, "1.2\r\nhttp://127.0.0.1/get\r\n" + std::string(1 << 20, ' ')},  // a newer version, far too long
        {200, std::string(60, '1'), false, "", true},                          // a byte a second
    };
    for (const HttpServer::Answer& failure : failures) {
        server.Queue(failure);
        check.Start();
        check.Answer(L"Lumoff :(", check.Error(), L"OK", Duration(lumoff::kDownloadTimeoutMs + 10000));
    }
    server.Queue({200, lumoff::VersionText() + "\r\nhttp://127.0.0.1/get"});
    check.Start();
    check.Answer(L"Lumoff :)", L"No updates found - you're all set to go :)", L"OK");
    server.Queue({200, "", true});  // no answer at all
    check.Start();
    ASSERT_TRUE(server.WaitForRequests(std::size(failures) + 2));
    EXPECT_EQ(TempFiles().size(), 1u) << "the body's file exists while the download runs";
    PostMessageW(check.lumoff->Caption(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(check.lumoff->process.WaitForExit());
    EXPECT_TRUE(WaitUntil([] { return TempFiles().empty(); }));
    EXPECT_TRUE(check.Opened().empty());
}

}  // namespace
