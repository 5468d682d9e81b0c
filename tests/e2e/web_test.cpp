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

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Appends its last argument, the address the shell was asked to open, to the file named first.
E2E_HELPER_PROGRAM(record_url) {
    if (args.size() < 2) return 2;
    std::ofstream out(Narrow(args[0]), std::ios::app);
    out << Narrow(args.back()) << "\n";
    return 0;
}

// The addresses the recorder was given.
std::vector<std::string> Opened(const std::wstring& recorder) {
    std::ifstream in(Narrow(recorder));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// How many of the program's download files the temporary folder holds.
int TempFiles() {
    wchar_t dir[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, dir);
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((std::wstring(dir) + L"lmf*.tmp").c_str(), &data);
    int count = search != INVALID_HANDLE_VALUE ? 1 : 0;
    while (count > 0 && FindNextFileW(search, &data)) ++count;
    if (count > 0) FindClose(search);
    return count;
}

}  // namespace

// One user's checks: while nothing listens; a redirect to another host name (one that reaches the same server) is not
// followed; one on the same host is (by the program: WinHTTP's own following is off) to a version of two numbers, newer
// than the program's three, whose page Yes opens; an HTTP error, a newer version longer than the download's cap and a
// server that sends a byte a second each give the error within the time limit; the next check finds this version; and
// a close in the middle of a download ends the program at once and leaves no temporary file.
TEST(Web, ChecksFollowOnlySameHostRedirectsOpenTheNewerPageFailInTimeAndACloseLeavesNoFile) {
    const unsigned short port = HttpServer::UnusedPort();
    const std::wstring host = L"http://127.0.0.1:" + std::to_wstring(port);
    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", host.c_str());
    const std::wstring recorder = ArtifactPath(L"browser-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
    DeleteFileW(recorder.c_str());
    const std::wstring command = L"\"" + DriverExe() + L"\" --e2e-helper=record_url \"" + recorder + L"\" \"%1\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"https\\shell\\open\\command"}) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    // Waits for the box, checks its text, presses the button and waits until the box is gone.
    auto answer = [&](const wchar_t* title, const std::wstring& text, const wchar_t* button,
                      Duration timeout = kDefaultTimeout) {
        HWND box = WaitForMessageBox(lumoff.process.Pid(), title, timeout);
        ASSERT_TRUE(box) << Narrow(text);
        EXPECT_EQ(MessageBoxText(box), text);
        ASSERT_TRUE(PressDialogButton(box, button));
        ASSERT_TRUE(WaitForWindowGone(box));
    };
    // Clicks "Check for Updates" with the button's own click (independent of the pointer) and answers Yes.
    auto check = [&] {
        PostMessageW(ControlAt(OpenOptions(lumoff), "cmdUpdate"), BM_CLICK, 0, 0);
        answer(L"Lumoff :)", L"Connect to " + host + L" to check for updates?", L"Yes");
    };
    const std::wstring error = L"There was an error connecting to " + host + L"! Please try again later :(";
    check();
    answer(L"Lumoff :(", error, L"OK");

    HttpServer server(port);
    ASSERT_TRUE(server.Valid());
    const std::string page = "http://127.0.0.1:" + std::to_string(port) + "/lumoff/get";
    server.Queue({302, "", false, "http://localhost:" + std::to_string(port) + "/files/lumoff11/updateinfo.txt"});
    check();
    answer(L"Lumoff :(", error, L"OK");
    server.Queue({302, "", false, "/files/lumoff11/moved.txt"});
    server.Queue({200, "1.2\r\n" + page + "\r\n"});
    check();
    answer(L"Lumoff :)",
           L"New update found! Do you want to download it?\r\nCurrent Version: " LUMOFF_VERSION_TEXT
           L"\r\nUpdate version: 1.2",
           L"Yes");
    EXPECT_TRUE(WaitUntil([&] { return Opened(recorder) == std::vector<std::string>{page}; }));
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u) << "nothing asked of the other host";
    EXPECT_EQ(requests[0].rfind("GET /files/lumoff11/updateinfo.txt HTTP/1.1\r\n", 0), 0u) << requests[0];
    EXPECT_NE(requests[0].find("Cache-Control: no-cache\r\n"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("Pragma: no-cache\r\n"), std::string::npos) << requests[0];
    EXPECT_EQ(requests[2].rfind("GET /files/lumoff11/moved.txt HTTP/1.1\r\n", 0), 0u) << requests[2];

    const HttpServer::Answer failures[] = {
        {404, "gone"},
        {200, "1.2\r\n" + page + "\r\n" + std::string(1 << 20, ' ')},  // a newer version, far too long
        {200, std::string(60, '1'), false, "", true},                  // a byte a second
    };
    for (const HttpServer::Answer& failure : failures) {
        server.Queue(failure);
        check();
        answer(L"Lumoff :(", error, L"OK", Duration(lumoff::kDownloadTimeoutMs + 10000));
    }
    server.Queue({200, lumoff::VersionText() + "\r\nhttp://127.0.0.1/get"});
    check();
    answer(L"Lumoff :)", L"No updates found - you're all set to go :)", L"OK");
    server.Queue({200, "", true});  // no answer at all
    check();
    ASSERT_TRUE(server.WaitForRequests(requests.size() + std::size(failures) + 2));
    EXPECT_EQ(TempFiles(), 1) << "the body's file exists while the download runs";
    PostMessageW(lumoff.Caption(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(lumoff.process.WaitForExit());
    EXPECT_TRUE(WaitUntil([] { return TempFiles() == 0; }));
    EXPECT_EQ(Opened(recorder).size(), 1u) << "no other page was opened";
}
