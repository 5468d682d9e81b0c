// The real registry: the first start's question and defaults, the Run value written in Unicode and quoted, started as
// logon starts it and recognised, uninstall, and a sample of hostile stored values.
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

// Answers the first-run question of a copy with No and waits for its caption window.
HWND PassFirstRun(Lumoff& lumoff) {
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    EXPECT_TRUE(box);
    if (!box) return nullptr;
    EXPECT_EQ(MessageBoxText(box),
              L"You have launched Lumoff for the first time on this computer!\r\n"
              L"Would you like to inform Brevald about this copy?\r\n\r\n"
              L"Informing Brevald is anonymous and completely automatic- \r\n"
              L"All it does is increase a counter on the website,\r\n"
              L"which helps keep track of how many people are using Lumoff :)\r\n\r\n"
              L"However, if you don't want to let us know for any reason, that is fine too :)");
    EXPECT_EQ(DialogButtons(box), (std::vector<std::wstring>{L"Yes", L"No"}));
    PressDialogButton(box, L"No");
    return lumoff.WaitForMain();
}

TEST(Settings, TheFirstStartAsksOnceAndStoresTheDefaults) {
    ASSERT_TRUE(DeleteKey(kLumoffKey));
    {
        Lumoff lumoff;
        HWND main = PassFirstRun(lumoff);
        ASSERT_TRUE(main);
        EXPECT_EQ(WindowRect(main).left, 30) << "the design place, 450 twips";
        EXPECT_EQ(WindowRect(main).top, 30);
        EXPECT_EQ(ReadRaw("Version"), LUMOFF_VERSION_TEXT);
        EXPECT_EQ(ReadRaw("TimerSc"), "30");
        EXPECT_FALSE(ReadRaw("IDate").value_or("").empty()) << "today's date";
        ASSERT_TRUE(lumoff.process.Kill());
    }
    Lumoff again;
    ASSERT_TRUE(again.WaitForMain());
    Pause(Duration(300));
    EXPECT_FALSE(FindMessageBox(again.process.Pid(), L"Lumoff")) << "asked only once";
    EXPECT_FALSE(FindMessageBox(again.process.Pid(), L"Lumoff :)")) << "and no upgrade message";
}

// The folder's name holds spaces and letters outside the ANSI code page, and a decoy (another copy of the program)
// lies where an unquoted value's first cut-off points: Enabled writes the full path in quotes, the value run as logon
// runs it starts the program from its folder and not the decoy, that copy recognises its value, and Disabled removes
// it.
TEST(Settings, TheRunValueStartsThisProgramFromAFolderWithSpacesAndNonAnsiLettersNotADecoy) {
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
    Lumoff started(Lumoff::AsLogon{*RunValue()});
    ASSERT_TRUE(started.process.Valid()) << "the value starts a program";
    EXPECT_TRUE(SamePathIgnoringCase(ImagePath(started.process), exe)) << "not " << ImagePath(started.process);
    ASSERT_TRUE(started.WaitForMain());
    HWND o = OpenOptions(started);
    EXPECT_TRUE(Checked(ControlAt(o, "radStartOn"))) << "and the program recognises its own value";
    ClickOption(started, "radStartOff");
    EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); }));
}

TEST(Settings, UninstallRemovesTheKeyAndTheRunValueAndEndsAndTheNextStartIsAFirstRun) {
    ASSERT_TRUE(SeedSettings());
    {
        Lumoff lumoff;
        ASSERT_TRUE(lumoff.WaitForMain());
        ClickOption(lumoff, "radStartOn");
        ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }));
        ClickOption(lumoff, "cmdReg");
        const std::pair<const wchar_t*, const wchar_t*> questions[] = {
            {L"Are you sure you want to remove Lumoff from your computer?\r\nThis will close Lumoff", L"Yes"},
            {L"Would you like to send a feedback letting us know why you've removed Lumoff?\r\n"
             L"Maybe if you let us know, we could make it work better next time :)",
             L"No"}};
        for (const auto& [text, answer] : questions) {
            HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :(");
            ASSERT_TRUE(box);
            EXPECT_EQ(MessageBoxText(box), text);
            PressDialogButton(box, answer);
            ASSERT_TRUE(WaitForWindowGone(box));
        }
        EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
        EXPECT_FALSE(KeyExists(kLumoffKey));
        EXPECT_FALSE(RunValue().has_value());
    }
    Lumoff again;
    EXPECT_TRUE(PassFirstRun(again));
}

// A sample of the hostile stored values the unit tests try in full: one value damaged in each start, the others
// stored away from the dialog's own state. Each start completes, the others load, and the first click stores.
TEST(Settings, AHostileStoredValueLeavesTheRestLoadedAndTheFirstClickStores) {
    using namespace std::string_literals;
    struct Box {
        const char* name;
        const char* stored;
        const char* control;
        bool checked;  // once loaded; the dialog's own state is the other one
    };
    const Box boxes[] = {{"TimerIdle", "1", "chkIdle", true}, {"HotKeyEnter", "0", "chkEnter", false},
                         {"OffMsg", "0", "chkMsg", false}};
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
    };
    const Case cases[] = {
        {"TimerIdle", REG_DWORD, "\x01\0\0\0"s},
        {"HotKeyEnter", REG_BINARY, "\xff\xfe\x07"s},
        {"OffMsg", REG_SZ, std::string(300, '9')},
        {"TimerOtherSelect", REG_MULTI_SZ, "1\0" "0\0\0"s},
        {"Top", REG_SZ, "99999999999"},
        {"Version", REG_BINARY, "\x01\x02"s},
        {"TimerHr", REG_SZ, "2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string damaged = c.name;
        ASSERT_TRUE(DeleteKey(kLumoffKey));
        ASSERT_TRUE(SeedSettings());
        for (const Box& b : boxes) ASSERT_TRUE(WriteRaw(b.name, b.stored));
        ASSERT_TRUE(WriteRaw("TimerOtherSelect", "4"));
        ASSERT_TRUE(WriteRaw("Left", "1200"));
        ASSERT_TRUE(WriteRaw("Top", "900"));
        ASSERT_TRUE(WriteRaw(c.name, c.data, c.type));

        Lumoff lumoff;
        if (damaged == "Version") {
            HWND upgrade = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :)");
            ASSERT_TRUE(upgrade) << "a damaged version is an older program";
            PressDialogButton(upgrade, L"No");
        }
        HWND main = lumoff.WaitForMain();
        ASSERT_TRUE(main) << "the start-up completes";
        EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff"));
        EXPECT_EQ(WindowRect(main).left, 80);
        EXPECT_EQ(WindowRect(main).top, damaged == "Top" ? 0 : 60) << "a position that is no number is not used";

        HWND o = OpenOptions(lumoff);
        ASSERT_TRUE(o);
        for (const Box& b : boxes)
            EXPECT_EQ(Checked(ControlAt(o, b.control)), damaged == b.name ? !b.checked : b.checked) << b.name;
        EXPECT_EQ(ComboSelectedText(ControlAt(o, "Combo1")), damaged == "TimerOtherSelect" ? L"Restart" : L"Hibernate")
            << "a multi-string reads as its first string";
        if (damaged == "TimerHr") {
            // Hours above the box's bound load as the bound, and a countdown from them counts down from there.
            EXPECT_EQ(WindowText(ControlAt(o, "timHrs1")), L"23");
            HWND caption = nullptr;  // the caption label: the one child of the main window that carries a text
            for (HWND child : Children(main))
                if (!WindowText(child).empty()) caption = child;
            ClickOption(lumoff, "cmdTimed");
            EXPECT_TRUE(WaitUntil([&] { return WindowText(caption).rfind(L"23:0:", 0) == 0; }))
                << WindowText(caption);
            EXPECT_TRUE(lumoff.PowerLog().empty()) << "nothing goes off at once";
        }

        const bool message_was_checked = Checked(ControlAt(o, "chkMsg"));
        ClickOption(lumoff, "chkMsg");
        EXPECT_TRUE(WaitUntil([&] { return ReadRaw("OffMsg") == (message_was_checked ? "0" : "1"); }))
            << "the first click stores; OffMsg holds " << ReadRaw("OffMsg").value_or("(missing)").substr(0, 10);
        ASSERT_TRUE(lumoff.process.Kill());
        ASSERT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
    }
}

}  // namespace
