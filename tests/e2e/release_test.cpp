// The release as a Windows user downloads it (scripts/release.sh): the per-user installer, installed and removed
// silently, and the portable zip. run_e2e.sh hands the release over in LUMOFF_DIST (its files, and the zip unpacked in
// the folder "unzipped"); without it these tests are skipped.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "e2e_options.h"

using namespace e2e;

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumoff";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The installer and the uninstaller each run for a few seconds under Wine; the uninstaller also waits for a running
// copy to end on its next housekeeping tick.
constexpr Duration kSetupTimeout{60000};

const std::wstring kVersion = L"" LUMOFF_VERSION_TEXT;

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

// The file version in the exe's version resource, as major.minor.revision.
std::wstring FileVersion(const std::wstring& exe) {
    std::vector<BYTE> data(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (data.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return {};
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
}

TEST(Release, InstallerInstallsForTheUserAndItsSilentUninstallLeavesNothing) {
    SKIP_WITHOUT_RELEASE();
    ASSERT_TRUE(SeedSettings());
    Process installer = Launch(DistDir() + L"\\lumoff-" + kVersion + L"-setup.exe", L"/S");
    ASSERT_TRUE(installer.Valid()) << "the installer is named after the version";
    ASSERT_TRUE(installer.WaitForExit(kSetupTimeout));
    EXPECT_EQ(installer.ExitCode(), 0u);

    // Into the user's own programs folder, with a Start menu shortcut and an entry in the installed apps.
    const std::wstring folder = ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Lumoff";
    const std::wstring shortcut = ShellFolder(CSIDL_PROGRAMS) + L"\\Lumoff.lnk";
    for (const wchar_t* name : {L"LICENSE.txt", L"README.txt", L"lumoff.exe", L"uninstall.exe"})
        EXPECT_TRUE(FileExists(folder + L"\\" + name)) << name;
    EXPECT_TRUE(FileExists(shortcut));
    EXPECT_EQ(StringValue(kUninstallKey, L"DisplayName"), L"Lumoff");
    EXPECT_EQ(StringValue(kUninstallKey, L"DisplayVersion"), kVersion);
    const std::wstring uninstaller = folder + L"\\uninstall.exe";
    EXPECT_EQ(StringValue(kUninstallKey, L"QuietUninstallString"), L"\"" + uninstaller + L"\" /S");

    // Uninstalled while it runs and starts with Windows: the uninstaller ends it first. It goes on from a copy of
    // itself in the temporary folder, so the one started here ends at once: wait for what it does instead.
    Lumoff running(L"", folder + L"\\lumoff.exe");
    ASSERT_TRUE(running.WaitForMain());
    ClickOption(running, "radStartOn");
    ASSERT_TRUE(WaitUntil([] { return StringValue(kRunKey, L"Lumoff").has_value(); }));
    Process uninstall = Launch(uninstaller, L"/S");
    ASSERT_TRUE(uninstall.Valid());
    EXPECT_TRUE(running.process.WaitForExit(kSetupTimeout)) << "the uninstaller ends the running copy";
    EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(folder) && !KeyExists(kUninstallKey); },
                          kSetupTimeout));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(StringValue(kRunKey, L"Lumoff").has_value());
    EXPECT_FALSE(KeyExists(kLumoffKey));
}

TEST(Release, PortableZipHoldsTheProgramReadmeAndLicenseAndTheProgramRuns) {
    SKIP_WITHOUT_RELEASE();
    ASSERT_TRUE(SeedSettings());
    const std::wstring unzipped = DistDir() + L"\\unzipped";
    ASSERT_TRUE(FileExists(DistDir() + L"\\lumoff-" + kVersion + L"-win64.zip")) << "named after the version";
    for (const wchar_t* name : {L"LICENSE.txt", L"README.txt", L"lumoff.exe"})
        ASSERT_TRUE(FileExists(unzipped + L"\\" + name)) << name;
    EXPECT_EQ(FileVersion(unzipped + L"\\lumoff.exe"), kVersion);
    Lumoff off(L"/off", unzipped + L"\\lumoff.exe");  // the command line's switch, as a shortcut would pass it
    ASSERT_TRUE(off.process.WaitForExit());
    EXPECT_EQ(off.PowerRequests(), std::vector<int>{2});
}

}  // namespace
