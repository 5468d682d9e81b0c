// Settings that last: the first start on a profile, a restart that brings every option back into the dialog, start
// with Windows through the Run value, uninstall, and a program in a folder named outside the ANSI code page.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "e2e_options.h"

using namespace e2e;

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Controls of the Options dialog by their place.
constexpr int kFrameLeft = 120;
constexpr TwipRect At(int frame_top, int left, int top, int width, int height) {
    return {kFrameLeft + left, frame_top + top, width, height};
}
constexpr TwipRect kRadStartOn = At(120, 120, 240, 1095, 255);
constexpr TwipRect kRadStartOff = At(120, 1440, 240, 975, 255);
constexpr TwipRect kTimHrs1 = At(840, 120, 360, 375, 285);
constexpr TwipRect kTimMin1 = At(840, 600, 360, 375, 285);
constexpr TwipRect kTimSec1 = At(840, 1080, 360, 375, 285);
constexpr TwipRect kChkIdle = At(840, 120, 720, 2415, 255);
constexpr TwipRect kChkScr = At(840, 840, 960, 1695, 255);
constexpr TwipRect kChkOther1 = At(840, 120, 1200, 1335, 375);
constexpr TwipRect kCombo1 = At(840, 1440, 1200, 1095, 315);
constexpr TwipRect kChkSchedule = At(2640, 120, 240, 2415, 255);
constexpr TwipRect kTimHrs2 = At(2640, 120, 560, 375, 285);
constexpr TwipRect kTimMin2 = At(2640, 600, 560, 375, 285);
constexpr TwipRect kTimSec2 = At(2640, 1080, 560, 375, 285);
constexpr TwipRect kChkOther2 = At(2640, 120, 840, 1335, 375);
constexpr TwipRect kCombo2 = At(2640, 1440, 870, 1095, 315);
constexpr TwipRect kHkeyButton1 = At(4080, 120, 240, 1095, 315);
constexpr TwipRect kHkeyButton2 = At(4080, 1440, 240, 1095, 315);
constexpr TwipRect kCmdHotKey = At(4080, 120, 720, 2415, 255);
constexpr TwipRect kChkMouse = At(4080, 120, 1320, 2415, 255);
constexpr TwipRect kChkEnter = At(4080, 120, 1560, 2415, 255);
constexpr TwipRect kChkSpace = At(4080, 120, 1800, 2415, 255);
constexpr TwipRect kChkMsg = At(6360, 120, 480, 2415, 255);
constexpr TwipRect kCmdReg = At(7320, 120, 720, 2415, 255);

const wchar_t kFirstRun[] =
    L"You have launched Lumoff for the first time on this computer!\r\n"
    L"Would you like to inform Brevald about this copy?\r\n\r\n"
    L"Informing Brevald is anonymous and completely automatic- \r\n"
    L"All it does is increase a counter on the website,\r\n"
    L"which helps keep track of how many people are using Lumoff :)\r\n\r\n"
    L"However, if you don't want to let us know for any reason, that is fine too :)";

// The Run value "Lumoff" as the system keeps it (UTF-16), or nothing when it is missing.
std::optional<std::wstring> RunValue() {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Lumoff", RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

bool WriteRunValue(const std::wstring& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)) return false;
    LONG result = RegSetValueExW(key, L"Lumoff", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Answers the first-run question of a copy and waits for its caption window.
HWND PassFirstRun(Lumoff& lumoff, const wchar_t* answer) {
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    EXPECT_TRUE(box);
    if (!box) return nullptr;
    EXPECT_EQ(MessageBoxText(box), kFirstRun);
    EXPECT_EQ(DialogButtons(box), (std::vector<std::wstring>{L"Yes", L"No"}));
    PressDialogButton(box, answer);
    return lumoff.WaitForMain();
}

TEST(Settings, TheFirstStartAsksOnceAndStoresEveryDefault) {
    ASSERT_TRUE(DeleteKey(kLumoffKey));
    {
        Lumoff lumoff;
        EXPECT_FALSE(lumoff.Main() && IsVisible(lumoff.Main())) << "the question comes before the window";
        HWND main = PassFirstRun(lumoff, L"No");
        ASSERT_TRUE(main);
        RECT r = WindowRect(main);
        EXPECT_EQ(r.left, 30) << "the design place, 450 twips";
        EXPECT_EQ(r.top, 30);
        const std::vector<std::pair<const char*, std::string>> defaults = {
            {"Left", "450"},        {"Top", "450"},           {"Tray", "0"},
            {"Version", LUMOFF_VERSION_TEXT}, {"TimerHr", "00"}, {"TimerMn", "00"},
            {"TimerSc", "30"},      {"TimerIdle", "0"},       {"TimerSaver", "0"},
            {"TimerOther", "0"},    {"TimerOtherSelect", "0"}, {"Schedule", "0"},
            {"ScheduleHr", "23"},   {"ScheduleMn", "59"},     {"ScheduleSc", "59"},
            {"ScheduleOther", "0"}, {"ScheduleOtherSelect", "0"}, {"HotKeyA", "0"},
            {"HotKeyB", "9"},       {"HotKeyMouse", "1"},     {"HotKeyEnter", "1"},
            {"HotKeySpace", "1"},   {"HotKeySet", "0"},       {"OffMsg", "1"}};
        for (const auto& [name, value] : defaults) EXPECT_EQ(ReadRaw(name), value) << name;
        EXPECT_FALSE(ReadRaw("IDate").value_or("").empty()) << "today's date";
        Pause(Duration(300));
        EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff :)")) << "no upgrade message after the first run";
        HWND options = OpenOptions(lumoff);
        EXPECT_TRUE(Checked(ControlAt(options, kRadStartOff)));
        ASSERT_TRUE(lumoff.process.Kill());
    }
    Lumoff again;
    ASSERT_TRUE(again.WaitForMain());
    Pause(Duration(300));
    EXPECT_FALSE(FindMessageBox(again.process.Pid(), L"Lumoff")) << "asked only once";
    EXPECT_FALSE(FindMessageBox(again.process.Pid(), L"Lumoff :)"));
}

TEST(Settings, ARestartBringsEveryOptionBackIntoTheDialog) {
    ASSERT_TRUE(SeedSettings());
    const std::pair<const char*, const char*> stored[] = {
        {"TimerHr", "01"},    {"TimerMn", "05"},    {"TimerSc", "09"},          {"TimerIdle", "1"},
        {"TimerSaver", "1"},  {"TimerOther", "1"},  {"TimerOtherSelect", "4"},  {"ScheduleHr", "07"},
        {"ScheduleMn", "30"}, {"ScheduleSc", "00"}, {"Schedule", "1"},          {"ScheduleOther", "1"},
        {"ScheduleOtherSelect", "1"}, {"HotKeyA", "1"}, {"HotKeyB", "12"},      {"HotKeyMouse", "0"},
        {"HotKeyEnter", "0"}, {"HotKeySpace", "1"}, {"OffMsg", "0"},            {"HotKeySet", "1"}};
    for (const auto& [name, value] : stored) ASSERT_TRUE(WriteRaw(name, value)) << name;
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    Pause(Duration(300));
    EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff")) << "the hotkey comes back without a message";
    HWND o = OpenOptions(lumoff);
    ASSERT_TRUE(o);
    EXPECT_EQ(WindowText(ControlAt(o, kTimHrs1)), L"1");
    EXPECT_EQ(WindowText(ControlAt(o, kTimMin1)), L"5");
    EXPECT_EQ(WindowText(ControlAt(o, kTimSec1)), L"9");
    EXPECT_EQ(WindowText(ControlAt(o, kTimHrs2)), L"7");
    EXPECT_EQ(WindowText(ControlAt(o, kTimMin2)), L"30");
    EXPECT_EQ(WindowText(ControlAt(o, kTimSec2)), L"0");
    for (TwipRect checked : {kChkIdle, kChkOther1, kChkSchedule, kChkOther2, kChkSpace})
        EXPECT_TRUE(Checked(ControlAt(o, checked))) << checked.left << "," << checked.top;
    for (TwipRect clear : {kChkMouse, kChkEnter, kChkMsg})
        EXPECT_FALSE(Checked(ControlAt(o, clear))) << clear.left << "," << clear.top;
    EXPECT_EQ(ComboSelectedText(ControlAt(o, kCombo1)), L"Hibernate");
    EXPECT_EQ(ComboSelectedText(ControlAt(o, kCombo2)), L"Restart");
    EXPECT_EQ(ComboSelectedText(ControlAt(o, kHkeyButton1)), L"Ctrl");
    EXPECT_EQ(ComboSelectedText(ControlAt(o, kHkeyButton2)), L"A");
    EXPECT_EQ(WindowText(ControlAt(o, kCmdHotKey)), L"Unset Hotkey");
    (void)kChkScr;  // enabled only while the countdown's idle mode allows it; its state is not read here
    CloseOptions(lumoff);
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); })) << "the stored hotkey is registered";
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
}

TEST(Settings, EnabledWritesTheFullPathAndDisabledRemovesIt) {
    ASSERT_TRUE(SeedSettings());
    {
        Lumoff lumoff;
        ASSERT_TRUE(lumoff.WaitForMain());
        ClickOption(lumoff, kRadStartOn);
        ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }));
        EXPECT_TRUE(SamePathIgnoringCase(*RunValue(), LumoffExe())) << "no quotes, no arguments";
        EXPECT_EQ(RunValue()->find(L'"'), std::wstring::npos);
        ASSERT_TRUE(lumoff.process.Kill());
    }
    Lumoff again;
    ASSERT_TRUE(again.WaitForMain());
    HWND o = OpenOptions(again);
    EXPECT_TRUE(Checked(ControlAt(o, kRadStartOn))) << "the value names this program";
    ClickOption(again, kRadStartOff);
    EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); }));
    EXPECT_FALSE(FindMessageBox(again.process.Pid(), L"Lumoff"));
}

TEST(Settings, UninstallRemovesTheKeyAndTheRunValueAndEndsAndTheNextStartIsAFirstRun) {
    ASSERT_TRUE(SeedSettings());
    ASSERT_TRUE(WriteRunValue(LumoffExe()));
    {
        Lumoff lumoff;
        ASSERT_TRUE(lumoff.WaitForMain());
        ClickOption(lumoff, kCmdReg);
        HWND sure = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :(");
        ASSERT_TRUE(sure);
        EXPECT_EQ(MessageBoxText(sure),
                  L"Are you sure you want to remove Lumoff from your computer?\r\nThis will close Lumoff");
        PressDialogButton(sure, L"Yes");
        ASSERT_TRUE(WaitForWindowGone(sure));
        HWND feedback = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :(");
        ASSERT_TRUE(feedback);
        PressDialogButton(feedback, L"No");
        EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
        EXPECT_FALSE(KeyExists(kLumoffKey));
        EXPECT_FALSE(RunValue().has_value());
    }
    Lumoff again;
    EXPECT_TRUE(PassFirstRun(again, L"No"));
}

// The folder's name is outside the ANSI code page: the Run value still names the program exactly, starts it, and
// is recognised by the copy it started.
TEST(Settings, AProgramInAFolderNamedOutsideTheAnsiCodePageStartsWithWindows) {
    ASSERT_TRUE(SeedSettings());
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"Lumoff \u65E5\u672C \u0416\u0451\u043B\u0442";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring exe = folder + L"\\lumoff.exe";
    ASSERT_TRUE(CopyFileW(LumoffExe().c_str(), exe.c_str(), FALSE));
    {
        Lumoff lumoff(L"", exe);
        ASSERT_TRUE(lumoff.WaitForMain());
        ClickOption(lumoff, kRadStartOn);
        ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }));
        EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff")) << "the write succeeded";
        EXPECT_TRUE(SamePathIgnoringCase(*RunValue(), exe)) << "the value names the program exactly";
        ASSERT_TRUE(lumoff.process.Kill());
    }
    // Started from the path the value holds, as the system does at logon.
    Lumoff started(L"", *RunValue());
    ASSERT_TRUE(started.WaitForMain()) << "the value starts the program";
    HWND o = OpenOptions(started);
    EXPECT_TRUE(Checked(ControlAt(o, kRadStartOn))) << "and the program recognises its own value";
}

// Writes a Settings value of any type, bytes exactly as given, through the A function.
bool WriteTyped(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lumoff", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return false;
    LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// A sample of the hostile stored values the unit tests try in full: one value damaged in each start, the others
// stored away from the dialog's own state. Each start completes, the others load, and the first click stores.
TEST(Settings, AHostileStoredValueLeavesTheRestLoadedAndTheFirstClickStores) {
    using namespace std::string_literals;
    struct Box {
        const char* name;
        const char* stored;
        TwipRect control;
        bool checked;  // once loaded; the dialog's own state is the other one
    };
    const Box boxes[] = {{"TimerIdle", "1", kChkIdle, true}, {"HotKeyEnter", "0", kChkEnter, false},
                         {"OffMsg", "0", kChkMsg, false}};
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(DeleteKey(kLumoffKey));
        ASSERT_TRUE(SeedSettings());
        for (const Box& b : boxes) ASSERT_TRUE(WriteRaw(b.name, b.stored));
        ASSERT_TRUE(WriteRaw("TimerOtherSelect", "4"));
        ASSERT_TRUE(WriteRaw("Left", "1200"));
        ASSERT_TRUE(WriteRaw("Top", "900"));
        ASSERT_TRUE(WriteTyped(c.name, c.type, c.data));

        Lumoff lumoff;
        const std::string damaged = c.name;
        if (damaged == "Version") {
            HWND upgrade = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :)");
            ASSERT_TRUE(upgrade) << "a damaged version is an older program";
            PressDialogButton(upgrade, L"No");
        }
        HWND main = lumoff.WaitForMain();
        ASSERT_TRUE(main) << "the start-up completes";
        EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff"));
        RECT r = WindowRect(main);
        EXPECT_EQ(r.left, 80);
        EXPECT_EQ(r.top, damaged == "Top" ? 0 : 60) << "a position that is no number is not used";

        HWND o = OpenOptions(lumoff);
        ASSERT_TRUE(o);
        for (const Box& b : boxes)
            EXPECT_EQ(Checked(ControlAt(o, b.control)), damaged == b.name ? !b.checked : b.checked) << b.name;
        EXPECT_EQ(ComboSelectedText(ControlAt(o, kCombo1)), damaged == "TimerOtherSelect" ? L"Restart" : L"Hibernate")
            << "a multi-string reads as its first string";

        const bool message_was_checked = Checked(ControlAt(o, kChkMsg));
        ClickOption(lumoff, kChkMsg);
        EXPECT_TRUE(WaitUntil([&] { return ReadRaw("OffMsg") == (message_was_checked ? "0" : "1"); }))
            << "the first click stores; OffMsg holds " << ReadRaw("OffMsg").value_or("(missing)").substr(0, 10);
        ASSERT_TRUE(lumoff.process.Kill());
        ASSERT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
    }
}

}  // namespace
