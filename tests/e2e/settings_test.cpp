// The real registry: the Run value written in Unicode and quoted, started as logon starts it and recognised, and
// uninstall, after which the next start is a first run that asks and stores the defaults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_options.h"

using namespace e2e;

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run value "Lumoff" as the system keeps it (UTF-16), or nothing when it is missing.
std::optional<std::wstring> RunValue() {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Lumoff", RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The folder's name holds spaces and letters outside the ANSI code page, and a decoy (another copy of the program)
// lies where an unquoted value's first cut-off points: Enabled writes the full path in quotes, the value run as logon
// runs it starts the program from its folder and not the decoy, and that copy recognises its value, also in other
// letter case. Its uninstall
// removes the Settings key and the Run value and ends it; the next start is a first run that asks and stores the
// defaults.
TEST(Settings, TheRunValueStartsThisProgramNotADecoyAndUninstallLeavesAFirstRun) {
    ASSERT_TRUE(SeedSettings());
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"Lumoff \u65E5\u672C \u0416\u0451\u043B\u0442";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring exe = folder + L"\\lumoff.exe";
    ASSERT_TRUE(CopyFileW(LumoffExe().c_str(), exe.c_str(), FALSE));
    const std::wstring decoy = exe.substr(0, exe.find(L' ')) + L".exe";
    ASSERT_TRUE(CopyFileW(LumoffExe().c_str(), decoy.c_str(), FALSE));
    {
        Lumoff lumoff(L"", exe);
        ASSERT_TRUE(lumoff.WaitForMain());
        ClickOption(lumoff, "radStartOn");
        ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }));
        EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff")) << "the write succeeded";
        EXPECT_TRUE(SamePathIgnoringCase(*RunValue(), L"\"" + exe + L"\"")) << "the full path in quotes, no arguments";
        ASSERT_TRUE(lumoff.process.Kill());
    }
    // Started by the value as written; the value then as an earlier version or a user may have left it, in other
    // letter case ("Жёлт" as "ЖЁЛТ" too), which the copy reads as it starts.
    const std::wstring written = *RunValue();
    std::wstring upper = written;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Lumoff", REG_SZ, upper.c_str(),
                              static_cast<DWORD>((upper.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    Lumoff started(Lumoff::AsLogon{written});
    ASSERT_TRUE(started.process.Valid()) << "the value starts a program";
    EXPECT_TRUE(SamePathIgnoringCase(ImagePath(started.process), exe)) << "not " << ImagePath(started.process);
    ASSERT_TRUE(started.WaitForMain());
    HWND o = OpenOptions(started);
    EXPECT_TRUE(Checked(ControlAt(o, "radStartOn"))) << "and the program recognises its own value, in any case";

    ClickOption(started, "cmdReg");
    const std::pair<const wchar_t*, const wchar_t*> questions[] = {
        {L"Are you sure you want to remove Lumoff from your computer?\r\nThis will close Lumoff", L"Yes"},
        {L"Would you like to send a feedback letting us know why you've removed Lumoff?\r\n"
         L"Maybe if you let us know, we could make it work better next time :)",
         L"No"}};
    for (const auto& [text, answer] : questions) {
        HWND box = WaitForMessageBox(started.process.Pid(), L"Lumoff :(");
        ASSERT_TRUE(box);
        EXPECT_EQ(MessageBoxText(box), text);
        PressDialogButton(box, answer);
        ASSERT_TRUE(WaitForWindowGone(box));
    }
    EXPECT_TRUE(started.process.WaitForExit(Duration(3000)));
    EXPECT_FALSE(KeyExists(kLumoffKey));
    EXPECT_FALSE(RunValue().has_value());

    Lumoff again;
    HWND box = WaitForMessageBox(again.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box),
              L"You have launched Lumoff for the first time on this computer!\r\n"
              L"Would you like to inform Brevald about this copy?\r\n\r\n"
              L"Informing Brevald is anonymous and completely automatic- \r\n"
              L"All it does is increase a counter on the website,\r\n"
              L"which helps keep track of how many people are using Lumoff :)\r\n\r\n"
              L"However, if you don't want to let us know for any reason, that is fine too :)");
    EXPECT_EQ(DialogButtons(box), (std::vector<std::wstring>{L"Yes", L"No"}));
    PressDialogButton(box, L"No");
    HWND main = again.WaitForMain();
    ASSERT_TRUE(main);
    EXPECT_EQ(WindowRect(main).left, 30) << "the design place, 450 twips";
    EXPECT_EQ(WindowRect(main).top, 30);
    EXPECT_EQ(ReadRaw("Version"), LUMOFF_VERSION_TEXT);
    EXPECT_EQ(ReadRaw("TimerSc"), "30");
    EXPECT_FALSE(ReadRaw("IDate").value_or("").empty()) << "today's date";
}

}  // namespace
