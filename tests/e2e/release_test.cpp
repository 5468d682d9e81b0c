// The release as a Windows user downloads it (scripts/release.sh): the per-user installer, installed and removed
// silently, and the portable zip started from a folder of the user's choosing. run_e2e.sh hands the release over in
// LUMOFF_DIST (its files, and the zip unpacked in the folder "unzipped"); without it these tests are skipped.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "e2e_options.h"

using namespace e2e;

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumoff";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// "Enabled" of "Start on Windows Startup" in the Options dialog, in twips.
constexpr TwipRect kRadStartOn = {240, 360, 1095, 255};
// The installer and the uninstaller each run for a few seconds under Wine; the uninstaller also waits for a running
// copy to end on its next housekeeping tick.
constexpr Duration kSetupTimeout{60000};

std::wstring Version() {
    std::string text = LUMOFF_VERSION_TEXT;
    return std::wstring(text.begin(), text.end());
}

// The release folder handed over by the runner, or empty.
std::wstring DistDir() {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"LUMOFF_DIST", buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

#define SKIP_WITHOUT_RELEASE()                                                                         \
    if (DistDir().empty()) GTEST_SKIP() << "no release in dist/: run scripts/release.sh before the e2e tests"

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return buffer;
}

std::optional<std::wstring> StringValue(const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

std::optional<DWORD> DwordValue(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// The file version in the exe's version resource, as major.minor.revision.
std::wstring FileVersion(const std::wstring& exe) {
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return {};
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
}

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Release, InstallerInstallsForTheUserAndItsSilentUninstallLeavesNothing) {
    SKIP_WITHOUT_RELEASE();
    ASSERT_TRUE(SeedSettings());
    const std::wstring setup = DistDir() + L"\\lumoff-" + Version() + L"-setup.exe";
    ASSERT_TRUE(FileExists(setup)) << "the installer is named after the version";

    Process installer = Launch(setup, L"/S");
    ASSERT_TRUE(installer.Valid());
    ASSERT_TRUE(installer.WaitForExit(kSetupTimeout));
    EXPECT_EQ(installer.ExitCode(), 0u);

    // Into the user's own programs folder, with a Start menu shortcut and an entry in the installed apps.
    const std::wstring folder = ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Lumoff";
    const std::wstring exe = folder + L"\\lumoff.exe";
    const std::wstring shortcut = ShellFolder(CSIDL_PROGRAMS) + L"\\Lumoff.lnk";
    EXPECT_EQ(FileNames(folder),
              (std::vector<std::wstring>{L"LICENSE.txt", L"README.txt", L"lumoff.exe", L"uninstall.exe"}));
    EXPECT_TRUE(FileExists(shortcut));
    EXPECT_EQ(FileVersion(exe), Version());
    EXPECT_EQ(StringValue(kUninstallKey, L"DisplayName"), L"Lumoff");
    EXPECT_EQ(StringValue(kUninstallKey, L"DisplayVersion"), Version());
    EXPECT_TRUE(StringValue(kUninstallKey, L"Publisher").value_or(L"").size() > 0);
    EXPECT_EQ(StringValue(kUninstallKey, L"InstallLocation"), folder);
    EXPECT_EQ(StringValue(kUninstallKey, L"DisplayIcon"), exe + L",0");
    const std::wstring uninstaller = folder + L"\\uninstall.exe";
    EXPECT_EQ(StringValue(kUninstallKey, L"UninstallString"), L"\"" + uninstaller + L"\"");
    EXPECT_EQ(StringValue(kUninstallKey, L"QuietUninstallString"), L"\"" + uninstaller + L"\" /S");
    EXPECT_GT(DwordValue(kUninstallKey, L"EstimatedSize").value_or(0), 0u);
    EXPECT_EQ(DwordValue(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(DwordValue(kUninstallKey, L"NoRepair"), 1u);

    // The installed program works: it turns the monitor off from the command line.
    {
        Lumoff off(L"/off", exe);
        ASSERT_TRUE(off.process.WaitForExit());
        EXPECT_EQ(off.PowerRequests(), std::vector<int>{2});
    }

    // Uninstalled while it runs with its Options dialog open and starts with Windows: the uninstaller ends it first.
    Lumoff running(L"", exe);
    ASSERT_TRUE(running.WaitForMain());
    ClickOption(running, kRadStartOn);
    ASSERT_TRUE(WaitUntil([] { return StringValue(kRunKey, L"Lumoff").has_value(); }));
    ASSERT_TRUE(KeyExists(kLumoffKey));

    // As the list of installed apps runs it. The uninstaller goes on from a copy of itself in the temporary folder,
    // so the one started here ends at once: wait for what it does instead.
    Process uninstall = Launch(uninstaller, L"/S");
    ASSERT_TRUE(uninstall.Valid());
    EXPECT_TRUE(running.process.WaitForExit(kSetupTimeout)) << "the uninstaller ends the running copy";
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(folder) && !KeyExists(kUninstallKey); }, kSetupTimeout));
    EXPECT_FALSE(FolderExists(folder));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(StringValue(kRunKey, L"Lumoff").has_value());
    EXPECT_FALSE(KeyExists(kLumoffKey));
    EXPECT_FALSE(KeyExists(kUninstallKey));
}

TEST(Release, PortableZipHoldsTheProgramReadmeAndLicenseAndStartsFromAnyFolder) {
    SKIP_WITHOUT_RELEASE();
    ASSERT_TRUE(SeedSettings());
    const std::wstring unzipped = DistDir() + L"\\unzipped";
    ASSERT_TRUE(FileExists(DistDir() + L"\\lumoff-" + Version() + L"-win64.zip")) << "named after the version";
    const auto names = FileNames(unzipped);
    ASSERT_EQ(names, (std::vector<std::wstring>{L"LICENSE.txt", L"README.txt", L"lumoff.exe"}));

    // A folder of the user's own, with blanks and a letter outside ASCII in its name, on the system's drive.
    const std::wstring folder = L"C:\\Portable Tools\\Lumoff \u00e9 " + Version();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    ASSERT_FALSE(error) << "cannot create the folder";
    for (const auto& name : names)
        ASSERT_TRUE(CopyFileW((unzipped + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), TRUE));

    Lumoff portable(L"", folder + L"\\lumoff.exe");
    HWND main = portable.WaitForMain();
    ASSERT_TRUE(main);
    EXPECT_EQ(WindowText(main), L"Lumoff");
    EXPECT_EQ(Width(WindowRect(main)), 81);
    EXPECT_EQ(FileVersion(folder + L"\\lumoff.exe"), Version());
}

}  // namespace
