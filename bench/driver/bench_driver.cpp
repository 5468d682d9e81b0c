// lumoff_bench.exe: measures lumoff.exe side by side with reference.exe, the smallest Win32 program with one window
// and one message loop, in the same Wine prefix and desktop (bench.sh at the repository root runs it).
//
// Figures, each taken over several rounds with the two programs alternating (A B, B A, ...):
//   - start-up: from just before CreateProcess to the main window being visible;
//   - memory 2 s after start: private bytes (PrivateUsage) and working set (GetProcessMemoryInfo);
//   - CPU time (kernel + user, GetThreadTimes) over a window of idling with the monitor on, both programs at once;
//     then over a minute (by default) of Lumoff keeping the monitor off without input, in "Vista / Newer" and in
//     "XP / Older" mode, with the reference idling beside it over the same minute;
//   - wake and hotkey latency: from an injected input to the status screen's visibility changing;
//   - the size of each exe and the DLLs it imports.
// Waits poll every millisecond (timeBeginPeriod(1)); the gaps actually seen between polls are reported, since they
// bound the resolution of every time measured here.
//
// Writes a Markdown report (--out=PATH, a Windows path) and prints progress. Nothing here asserts a figure.

#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "e2e_lumoff.h"
#include "e2e_process_figures.h"
#include "e2e_support.h"

using namespace e2e;

namespace {

// ---- Settings --------------------------------------------------------------------------------------------------

struct Settings {
    int rounds = 7;          // start-up, memory and latency samples per program
    int cpu_rounds = 3;      // CPU windows
    int cpu_seconds = 30;    // length of the idle CPU window
    int off_seconds = 60;    // length of each kept-off CPU window
    std::wstring out;        // the report; nothing written if empty
};

Settings ParseArgs(int argc, wchar_t** argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        auto value = [&](const wchar_t* name) -> const wchar_t* {
            size_t n = wcslen(name);
            return arg.compare(0, n, name) == 0 ? arg.c_str() + n : nullptr;
        };
        if (const wchar_t* v = value(L"--rounds=")) s.rounds = std::max(1, _wtoi(v));
        else if (const wchar_t* v = value(L"--cpu-rounds=")) s.cpu_rounds = std::max(1, _wtoi(v));
        else if (const wchar_t* v = value(L"--cpu-seconds=")) s.cpu_seconds = std::max(1, _wtoi(v));
        else if (const wchar_t* v = value(L"--off-seconds=")) s.off_seconds = std::max(1, _wtoi(v));
        else if (const wchar_t* v = value(L"--out=")) s.out = v;
        else std::fwprintf(stderr, L"ignored argument: %ls\n", arg.c_str());
    }
    return s;
}

// ---- Time ------------------------------------------------------------------------------------------------------

double NowMs() {
    static const double kTicksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / kTicksPerMs;
}

void SleepMs(double ms) {
    double until = NowMs() + ms;
    for (double left = ms; left > 0; left = until - NowMs()) Sleep(static_cast<DWORD>(std::max(1.0, left)));
}

// Gaps between successive checks of every poll: how finely a change can be placed in time.
std::vector<double> g_poll_gaps;

// Checks `condition` about every millisecond until it holds; returns the time from `start` to the check that saw it
// hold, or a negative number after `timeout_ms`.
double PollFrom(double start, const std::function<bool()>& condition, double timeout_ms = 10000) {
    double previous = -1;
    for (;;) {
        double now = NowMs();
        if (previous >= 0) g_poll_gaps.push_back(now - previous);
        previous = now;
        if (condition()) return now - start;
        if (now - start > timeout_ms) return -1;
        Sleep(1);
    }
}

// ---- Statistics ------------------------------------------------------------------------------------------------

struct Samples {
    std::vector<double> values;
    void Add(double v) {
        if (v >= 0) values.push_back(v);
    }
    bool Empty() const { return values.empty(); }
    double Quantile(double q) const {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        double pos = q * static_cast<double>(v.size() - 1);
        size_t lo = static_cast<size_t>(pos);
        size_t hi = std::min(lo + 1, v.size() - 1);
        return v[lo] + (v[hi] - v[lo]) * (pos - static_cast<double>(lo));
    }
    double Median() const { return Quantile(0.5); }
    double Min() const { return *std::min_element(values.begin(), values.end()); }
    double Max() const { return *std::max_element(values.begin(), values.end()); }
};

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// "median (min–max, n=N)"
std::string Summary(const Samples& s, int decimals, int expected) {
    if (s.Empty()) return "not measured";
    std::string text = Fixed(s.Median(), decimals) + " (" + Fixed(s.Min(), decimals) + "–" + Fixed(s.Max(), decimals);
    text += ", n=" + std::to_string(s.values.size());
    if (static_cast<int>(s.values.size()) != expected) text += " of " + std::to_string(expected);
    return text + ")";
}

std::string Ratio(const Samples& a, const Samples& b) {
    if (a.Empty() || b.Empty() || b.Median() <= 0) return "—";
    return Fixed(a.Median() / b.Median(), 2);
}

// ---- The programs ----------------------------------------------------------------------------------------------

constexpr wchar_t kReferenceClass[] = L"LumoffReference";
constexpr wchar_t kReferenceTitle[] = L"Reference";
constexpr wchar_t kLumoffTitle[] = L"Lumoff";
constexpr int kCaptionWidth = 81;
constexpr int kCaptionHeight = 65;

// Top-level windows of one class and title belonging to `pid`; FindWindowEx is one cheap call per window, which
// keeps a 1 ms poll from loading the machine the way enumerating every window would.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* cls, const wchar_t* title) {
    std::vector<HWND> found;
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, title); w; w = FindWindowExW(nullptr, w, cls, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) found.push_back(w);
    }
    return found;
}

HWND LumoffCaption(DWORD pid) {
    for (HWND w : WindowsOf(pid, kLumoffClass, kLumoffTitle)) {
        RECT r = WindowRect(w);
        if (Width(r) == kCaptionWidth && Height(r) == kCaptionHeight) return w;
    }
    return nullptr;
}

HWND LumoffStatusScreen(DWORD pid) {
    for (HWND w : WindowsOf(pid, kLumoffClass, kLumoffTitle))
        if (Width(WindowRect(w)) != kCaptionWidth) return w;
    return nullptr;
}

HWND ReferenceWindow(DWORD pid) {
    std::vector<HWND> found = WindowsOf(pid, kReferenceClass, kReferenceTitle);
    return found.empty() ? nullptr : found.front();
}

enum class Program { kLumoff, kReference };
const char* Name(Program p) { return p == Program::kLumoff ? "Lumoff" : "reference"; }

HWND MainWindowOf(Program p, DWORD pid) { return p == Program::kLumoff ? LumoffCaption(pid) : ReferenceWindow(pid); }

// Lumoff starts as a returning user of this version every time: only `Version` stored, so no first-run question or
// upgrade message comes before its window, and every option is at its default (unless a measurement stores more
// after this).
void ForgetSettings() {
    DeleteKey(kLumoffKey);
    SeedSettings();
}

struct Started {
    Process process;
    double visible_ms = -1;  // from just before CreateProcess to the main window being visible
    double started_at = 0;   // NowMs() just before CreateProcess
};

Started Start(Program p) {
    Started s;
    std::wstring exe = p == Program::kLumoff ? LumoffExe() : ReferenceExe();
    s.started_at = NowMs();
    s.process = Launch(exe);
    if (!s.process.Valid()) {
        std::printf("  could not start %s\n", Name(p));
        return s;
    }
    DWORD pid = s.process.Pid();
    s.visible_ms = PollFrom(s.started_at, [&] {
        HWND w = MainWindowOf(p, pid);
        return w && IsWindowVisible(w);
    });
    return s;
}

// After start: the program idles, and so does the desktop's own taskbar (input sent while Wine's desktop is still
// starting can be lost).
void Settle(Started& s) {
    WaitForWindow({.className = L"Shell_TrayWnd", .visibleOnly = true});
    WaitForInputIdle(s.process);
    SleepMs(300);
}

void Stop(Started& s) {
    s.process.Kill();
    SleepMs(200);  // lets the desktop forget the windows before the next start
}

struct Memory {
    double private_kib = -1;      // PrivateUsage, or what VirtualQueryEx finds committed and private
    double working_set_kib = -1;  // WorkingSetSize
    bool private_from_query = false;
};

double CommittedPrivateKib(HANDLE process) { return static_cast<double>(CommittedPrivateBytes(process)) / 1024.0; }

Memory MemoryOf(const Process& p) {
    Memory m;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(p.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        m.private_kib = static_cast<double>(counters.PrivateUsage) / 1024.0;
        m.working_set_kib = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    }
    if (m.private_kib <= 0) {
        m.private_kib = CommittedPrivateKib(p.Handle());
        m.private_from_query = true;
    }
    return m;
}

// Kernel plus user time of a process so far, in milliseconds, summed over its threads; negative if none can be read.
// (Wine's GetProcessTimes gives the calling process's times whatever the handle; its GetThreadTimes reads each
// thread's own.) A thread that ends within a window takes its time with it: the programs here keep theirs.
double CpuMs(const Process& p) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    double total = -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != p.Pid()) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
            auto ms = [](const FILETIME& t) {
                return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
                       10000.0;
            };
            total = std::max(total, 0.0) + ms(kernel) + ms(user);
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return total;
}

// Under Wine every window, message and input call of a program is answered by the prefix's wineserver, a Unix
// process the program's own times do not include. bench.sh starts it and names its Unix pid; its time is read from
// /proc through Wine's Z: drive. Negative when not available (as on Windows).
double WineserverCpuMs() {
    static const std::wstring stat_path = [] {
        wchar_t pid[32] = {};
        if (!GetEnvironmentVariableW(L"LUMOFF_BENCH_WINESERVER_PID", pid, 32)) return std::wstring();
        return std::wstring(L"Z:\\proc\\") + pid + L"\\stat";
    }();
    if (stat_path.empty()) return -1;
    HANDLE file = CreateFileW(stat_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    char buf[1024] = {};
    DWORD read = 0;
    ReadFile(file, buf, sizeof buf - 1, &read, nullptr);
    CloseHandle(file);
    // After the command name in parentheses: state, then 10 more fields, then utime and stime in clock ticks.
    const char* after = std::strrchr(buf, ')');
    unsigned long long utime = 0, stime = 0;
    if (!after || std::sscanf(after + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
        return -1;
    wchar_t tck[16] = {};
    double ticks_per_s = GetEnvironmentVariableW(L"LUMOFF_BENCH_CLK_TCK", tck, 16) ? _wtof(tck) : 100.0;
    return static_cast<double>(utime + stime) * 1000.0 / ticks_per_s;
}

// ---- Lumoff's controls -----------------------------------------------------------------------------------------

// Points of the caption window, in its own pixels from its top-left corner.
POINT CaptionPoint(HWND caption, int x, int y) {
    RECT r = WindowRect(caption);
    return {r.left + x, r.top + y};
}
constexpr POINT kTurnOffButton{32, 40};
// Where the cursor rests while nothing is measured: over no window of either program. Resting over the caption
// window, it would keep a tooltip's timers running there, which is the cursor's cost, not the program's.
constexpr POINT kRestingPlace{900, 300};
constexpr POINT kSettingsButton{72, 56};
// "XP / Older" in the Options dialog, in twips from its client area: the frame at 120, 6360 holds it at 1440, 240,
// 1095 x 255; 15 twips to the pixel. Clicked near its left end, on the button's circle.
constexpr int kXpLeftTwips = 120 + 1440;
constexpr int kXpMiddleTwips = 6360 + 240 + 255 / 2;

HWND OptionsDialog(DWORD pid) {
    std::vector<HWND> found = WindowsOf(pid, kLumoffClass, kOptionsTitle);
    return found.empty() ? nullptr : found.front();
}

bool SelectXpMode(HWND caption, DWORD pid, const Process& process) {
    Click(CaptionPoint(caption, kSettingsButton.x, kSettingsButton.y));
    HWND options = nullptr;
    if (!WaitUntil([&] { return (options = OptionsDialog(pid)) && IsWindowVisible(options); })) return false;
    WaitForInputIdle(process);
    RECT client = ClientRectOnScreen(options);
    POINT xp{client.left + kXpLeftTwips / 15 + 6, client.top + kXpMiddleTwips / 15};
    Click(xp);
    HWND button = ChildAt(options, xp);
    bool checked = WaitUntil([&] { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; });
    Click(CaptionPoint(caption, kSettingsButton.x, kSettingsButton.y));  // hides the dialog again
    WaitForHidden(options);
    return checked;
}

// A click where the cursor already is, timed without the move.
void PressButtonOnly() {
    POINT at = CursorPosition();
    MouseButton(at, true);
    MouseButton(at, false);
}

// ---- Executables -----------------------------------------------------------------------------------------------

struct ExeInfo {
    double size_bytes = -1;
    std::vector<std::string> dlls;          // as named in the import table
    std::vector<std::string> not_system;    // those not found in the system folder
};

ExeInfo ReadExe(const std::wstring& path) {
    ExeInfo info;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return info;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    std::vector<unsigned char> data(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
    CloseHandle(file);
    info.size_bytes = static_cast<double>(size.QuadPart);
    if (read != data.size() || data.size() < sizeof(IMAGE_DOS_HEADER)) return info;

    auto at = [&](size_t offset, size_t length) -> const unsigned char* {
        return offset + length <= data.size() ? data.data() + offset : nullptr;
    };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(data.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || !nt || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return info;
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    auto file_offset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            DWORD extent = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + extent)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return data.size();
    };
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t offset = file_offset(imports.VirtualAddress);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!d || d->Name == 0) break;
        const auto* name = reinterpret_cast<const char*>(at(file_offset(d->Name), 1));
        if (!name) break;
        std::string dll(name, strnlen(name, data.data() + data.size() - reinterpret_cast<const unsigned char*>(name)));
        info.dlls.push_back(dll);
        std::wstring in_system = std::wstring(system) + L"\\" + std::wstring(dll.begin(), dll.end());
        if (!FileExists(in_system)) info.not_system.push_back(dll);
    }
    return info;
}

std::string DllList(const ExeInfo& info) {
    std::string text;
    for (const std::string& dll : info.dlls) text += (text.empty() ? "" : ", ") + dll;
    if (info.dlls.empty()) return "none read";
    text += info.not_system.empty() ? " (all in the system folder)" : " (NOT in the system folder:";
    for (const std::string& dll : info.not_system) text += " " + dll;
    if (!info.not_system.empty()) text += ")";
    return text;
}

// ---- The runs --------------------------------------------------------------------------------------------------

struct Results {
    std::map<Program, Samples> startup, private_kib, working_set_kib, cpu_idle;
    Samples cpu_off_vista, cpu_off_xp;
    Samples reference_off_vista, reference_off_xp;  // the reference idling over the same windows
    Samples server_idle, server_off_vista, server_off_xp;  // the wineserver's CPU time in the same windows
    bool private_from_query = false;
    Samples wake_enter, wake_click, hotkey_on, hotkey_off;
    int xp_failures = 0;
};

void MeasureStartup(const Settings& settings, Results& r) {
    std::printf("start-up and memory, %d rounds\n", settings.rounds);
    for (int round = 0; round < settings.rounds; ++round) {
        Program order[2] = {Program::kLumoff, Program::kReference};
        if (round % 2) std::swap(order[0], order[1]);
        for (Program p : order) {
            ForgetSettings();
            Started s = Start(p);
            r.startup[p].Add(s.visible_ms);
            SleepMs(std::max(0.0, s.started_at + 2000 - NowMs()));
            Memory m = MemoryOf(s.process);
            r.private_from_query = r.private_from_query || m.private_from_query;
            r.private_kib[p].Add(m.private_kib);
            r.working_set_kib[p].Add(m.working_set_kib);
            std::printf("  %-9s visible after %7.1f ms; private %8.0f KiB, working set %8.0f KiB\n", Name(p),
                        s.visible_ms, m.private_kib, m.working_set_kib);
            Stop(s);
        }
    }
}

constexpr double kWatchdogSettleMs = 2500;
// A point of the status screen's message (16, 8 to 817, 901 on this screen) away from the caption window.
constexpr POINT kOnTheMessage{400, 200};

// One CPU round: both programs idle with the monitor on for one window, then Lumoff keeps the monitor off without
// input for one kept-off window in "Vista / Newer" mode (the mode it starts in here) and one in "XP / Older" mode,
// while the reference idles on beside it (covered by the status screen in the first).
void MeasureCpuRound(const Settings& settings, int round, Results& r) {
    const double window_ms = settings.cpu_seconds * 1000.0;
    const double off_ms = settings.off_seconds * 1000.0;
    std::printf("CPU round %d of %d (%d s idle, %d s kept off)\n", round + 1, settings.cpu_rounds,
                settings.cpu_seconds, settings.off_seconds);
    ForgetSettings();
    Started first = Start(round % 2 ? Program::kReference : Program::kLumoff);
    Started second = Start(round % 2 ? Program::kLumoff : Program::kReference);
    Started& lumoff = round % 2 ? second : first;
    Started& reference = round % 2 ? first : second;
    Settle(first);
    Settle(second);
    MoveCursor(kRestingPlace);
    SleepMs(500);

    double l0 = CpuMs(lumoff.process), r0 = CpuMs(reference.process), s0 = WineserverCpuMs();
    SleepMs(window_ms);
    double l1 = CpuMs(lumoff.process), r1 = CpuMs(reference.process), s1 = WineserverCpuMs();
    if (l0 >= 0 && l1 >= 0) r.cpu_idle[Program::kLumoff].Add(l1 - l0);
    if (r0 >= 0 && r1 >= 0) r.cpu_idle[Program::kReference].Add(r1 - r0);
    if (s0 >= 0 && s1 >= 0) r.server_idle.Add(s1 - s0);
    std::printf("  idle, monitor on: Lumoff %.1f ms, reference %.1f ms, wineserver %.1f ms\n", l1 - l0, r1 - r0,
                s1 - s0);

    DWORD pid = lumoff.process.Pid();
    HWND caption = LumoffCaption(pid);
    Click(CaptionPoint(caption, kTurnOffButton.x, kTurnOffButton.y));
    HWND screen = nullptr;
    if (PollFrom(NowMs(), [&] { return (screen = LumoffStatusScreen(pid)) && IsWindowVisible(screen); }) >= 0) {
        // The watchdog settles into its fast pace once no input has come for a second.
        MoveCursor(kRestingPlace);
        SleepMs(kWatchdogSettleMs);
        double c0 = CpuMs(lumoff.process), r0 = CpuMs(reference.process), s0 = WineserverCpuMs();
        SleepMs(off_ms);
        double c1 = CpuMs(lumoff.process), r1 = CpuMs(reference.process), s1 = WineserverCpuMs();
        r.cpu_off_vista.Add(c1 - c0);
        if (r0 >= 0 && r1 >= 0) r.reference_off_vista.Add(r1 - r0);
        if (s0 >= 0 && s1 >= 0) r.server_off_vista.Add(s1 - s0);
        std::printf("  kept off, Vista / Newer: %.1f ms, reference %.1f ms, wineserver %.1f ms\n", c1 - c0, r1 - r0,
                    s1 - s0);
        PressKey(VK_RETURN);
        PollFrom(NowMs(), [&] { return !IsWindowVisible(screen); });
    } else {
        std::printf("  the status screen did not show\n");
    }

    SleepMs(300);
    if (SelectXpMode(caption, pid, lumoff.process)) {
        Click(CaptionPoint(caption, kTurnOffButton.x, kTurnOffButton.y));
        MoveCursor(kRestingPlace);
        SleepMs(500);
        double c0 = CpuMs(lumoff.process), r0 = CpuMs(reference.process), s0 = WineserverCpuMs();
        SleepMs(off_ms);
        double c1 = CpuMs(lumoff.process), r1 = CpuMs(reference.process), s1 = WineserverCpuMs();
        r.cpu_off_xp.Add(c1 - c0);
        if (r0 >= 0 && r1 >= 0) r.reference_off_xp.Add(r1 - r0);
        if (s0 >= 0 && s1 >= 0) r.server_off_xp.Add(s1 - s0);
        std::printf("  kept off, XP / Older: %.1f ms, reference %.1f ms, wineserver %.1f ms\n", c1 - c0, r1 - r0,
                    s1 - s0);
    } else {
        ++r.xp_failures;
        std::printf("  could not select XP / Older\n");
    }
    Stop(reference);
    Stop(lumoff);
}

// Lumoff with the user's hotkey stored as set, so that F10 is registered at start. Each round turns the monitor off
// with F10 three times and wakes it with Enter, with a left click on the status screen's message and with F10.
void MeasureLatency(const Settings& settings, Results& r) {
    std::printf("wake and hotkey latency, %d rounds\n", settings.rounds);
    ForgetSettings();
    CreateKey(kLumoffKey);
    WriteRaw("HotKeySet", "1");
    Started lumoff = Start(Program::kLumoff);
    Settle(lumoff);
    DWORD pid = lumoff.process.Pid();
    // On the message of the status screen once it shows, and over no other window while it is hidden (nothing is
    // clicked then).
    MoveCursor(kOnTheMessage);
    HWND screen = nullptr;
    auto shown = [&] { return (screen || (screen = LumoffStatusScreen(pid))) && IsWindowVisible(screen); };
    auto hidden = [&] { return screen && !IsWindowVisible(screen); };
    auto timed = [](const std::function<void()>& input, const std::function<bool()>& condition) {
        double t0 = NowMs();
        input();
        return PollFrom(t0, condition, 5000);
    };
    const double kKeptOffPause = 250;
    for (int round = 0; round < settings.rounds; ++round) {
        double on1 = timed([] { PressKey(VK_F10); }, shown);
        SleepMs(kKeptOffPause);
        double enter = timed([] { PressKey(VK_RETURN); }, hidden);
        SleepMs(kKeptOffPause);
        double on2 = timed([] { PressKey(VK_F10); }, shown);
        SleepMs(kKeptOffPause);
        double click = timed(PressButtonOnly, hidden);
        SleepMs(kKeptOffPause);
        double on3 = timed([] { PressKey(VK_F10); }, shown);
        SleepMs(kKeptOffPause);
        double off = timed([] { PressKey(VK_F10); }, hidden);
        SleepMs(kKeptOffPause);
        for (double on : {on1, on2, on3}) r.hotkey_on.Add(on);
        r.wake_enter.Add(enter);
        r.wake_click.Add(click);
        r.hotkey_off.Add(off);
        std::printf("  F10 on %.1f/%.1f/%.1f ms; Enter %.1f ms; click %.1f ms; F10 off %.1f ms\n", on1, on2, on3,
                    enter, click, off);
    }
    Stop(lumoff);
    ForgetSettings();
}

// ---- The report ------------------------------------------------------------------------------------------------

std::string Row(const std::string& figure, const std::string& lumoff, const std::string& reference,
                const std::string& ratio) {
    return "| " + figure + " | " + lumoff + " | " + reference + " | " + ratio + " |\n";
}

std::string Verdict(bool holds) { return holds ? "holds" : "misses"; }

// The figures Lumoff aims at, judged on the medians; reported, never enforced.
std::string Targets(Results& r, const ExeInfo& lumoff_exe, double seconds) {
    const Program L = Program::kLumoff, R = Program::kReference;
    std::string md = "\n| Target | Measured | |\n|---|---|---|\n";
    auto ratio_row = [&](const std::string& target, Samples& a, Samples& b, double limit) {
        if (a.Empty() || b.Empty()) return "| " + target + " | not measured | |\n";
        double ratio = a.Median() / b.Median();
        return "| " + target + " | " + Fixed(ratio, 2) + " x | " + Verdict(ratio <= limit) + " |\n";
    };
    md += ratio_row("Start-up within 1.3 x the reference's", r.startup[L], r.startup[R], 1.3);
    md += ratio_row("Private bytes within 1.2 x the reference's", r.private_kib[L], r.private_kib[R], 1.2);
    Samples& li = r.cpu_idle[L];
    Samples& ri = r.cpu_idle[R];
    if (!li.Empty() && !ri.Empty()) {
        // Idle, Lumoff wakes only for its housekeeping tick, which looks two window titles up among every top-level
        // window of the desktop: under Wine a few hundred microseconds to a few milliseconds. Anything beyond 3 ms a
        // tick would be something else.
        double extra_per_tick = (li.Median() - ri.Median()) / seconds;
        md += "| Idle CPU with the monitor on like the reference's, the 1 s housekeeping tick aside (taken as at most "
              "3 ms a tick) | " +
              Fixed(li.Median() - ri.Median(), 0) + " ms more in " + std::to_string(static_cast<int>(seconds)) +
              " s: " + Fixed(extra_per_tick, 2) + " ms a tick | " + Verdict(extra_per_tick <= 3.0) + " |\n";
    }
    for (auto [name, s] : {std::pair<const char*, Samples*>{"Enter", &r.wake_enter}, {"a click", &r.wake_click}}) {
        if (s->Empty()) continue;
        md += std::string("| Wake by ") + name + " under 30 ms (median) | " + Fixed(s->Median(), 1) + " ms | " +
              Verdict(s->Median() < 30) + " |\n";
    }
    if (lumoff_exe.size_bytes > 0) {
        bool small = lumoff_exe.size_bytes < 200 * 1000.0;
        bool system = !lumoff_exe.dlls.empty() && lumoff_exe.not_system.empty();
        md += "| lumoff.exe under 200 KB, importing only system DLLs | " + Fixed(lumoff_exe.size_bytes, 0) +
              " bytes; " + (system ? "only system DLLs" : "DLLs beyond the system's") + " | " +
              Verdict(small && system) + " |\n";
    }
    return md;
}

std::string Report(const Settings& settings, Results& r, const ExeInfo& lumoff_exe, const ExeInfo& reference_exe) {
    const Program L = Program::kLumoff, R = Program::kReference;
    const int n = settings.rounds, c = settings.cpu_rounds;
    const std::string window = std::to_string(settings.cpu_seconds) + " s";
    const std::string off_window = std::to_string(settings.off_seconds) + " s";
    std::string md;
    md += "| Figure | Lumoff | Reference | Lumoff / reference |\n|---|---|---|---|\n";
    md += Row("Start-up: process creation to main window visible (ms)", Summary(r.startup[L], 1, n),
              Summary(r.startup[R], 1, n), Ratio(r.startup[L], r.startup[R]));
    md += Row("Private bytes 2 s after start (KiB)", Summary(r.private_kib[L], 0, n), Summary(r.private_kib[R], 0, n),
              Ratio(r.private_kib[L], r.private_kib[R]));
    md += Row("Working set 2 s after start (KiB)", Summary(r.working_set_kib[L], 0, n),
              Summary(r.working_set_kib[R], 0, n), Ratio(r.working_set_kib[L], r.working_set_kib[R]));
    md += Row("CPU time in " + window + " idle, monitor on (ms)", Summary(r.cpu_idle[L], 1, c),
              Summary(r.cpu_idle[R], 1, c), Ratio(r.cpu_idle[L], r.cpu_idle[R]));
    md += Row("CPU time in " + off_window + " kept off, \"Vista / Newer\"; the reference idle beside it (ms)",
              Summary(r.cpu_off_vista, 1, c), Summary(r.reference_off_vista, 1, c),
              Ratio(r.cpu_off_vista, r.reference_off_vista));
    md += Row("CPU time in " + off_window + " kept off, \"XP / Older\"; the reference idle beside it (ms)",
              Summary(r.cpu_off_xp, 1, c), Summary(r.reference_off_xp, 1, c), Ratio(r.cpu_off_xp, r.reference_off_xp));
    if (!r.server_idle.Empty()) {
        md += Row("wineserver's CPU time in the idle window, both programs running (ms)", Summary(r.server_idle, 0, c),
                  "(shared)", "—");
        md += Row("wineserver's CPU time in the kept-off window, \"Vista / Newer\" (ms)",
                  Summary(r.server_off_vista, 0, c), "—", "—");
        md += Row("wineserver's CPU time in the kept-off window, \"XP / Older\" (ms)", Summary(r.server_off_xp, 0, c),
                  "—", "—");
    }
    md += Row("Wake: Enter to status screen hidden (ms)", Summary(r.wake_enter, 1, n), "—", "—");
    md += Row("Wake: left click on the message to status screen hidden (ms)", Summary(r.wake_click, 1, n), "—", "—");
    md += Row("Hotkey F10 to status screen shown (ms)", Summary(r.hotkey_on, 1, 3 * n), "—", "—");
    md += Row("Hotkey F10 to status screen hidden (ms)", Summary(r.hotkey_off, 1, n), "—", "—");
    md += Row("Size of the exe (KiB)", Fixed(lumoff_exe.size_bytes / 1024.0, 1),
              Fixed(reference_exe.size_bytes / 1024.0, 1),
              reference_exe.size_bytes > 0 ? Fixed(lumoff_exe.size_bytes / reference_exe.size_bytes, 2) : "—");
    md += Row("DLLs imported", DllList(lumoff_exe), DllList(reference_exe), "—");
    if (r.private_from_query)
        md += "\nPrivate bytes: memory committed and private, summed with VirtualQueryEx over the address space (Wine "
              "reports PrivateUsage only to a process about itself). Working set: WorkingSetSize, which Wine takes "
              "from the resident set of the Unix process, the mapped Wine libraries included.\n";
    md += "\nCPU time: kernel plus user time of the program's own threads (GetThreadTimes; Wine counts in clock ticks "
          "of 10 ms). Under Wine the wineserver answers the programs' window, message and input calls in a process of "
          "its own; its time over the same windows is given beside, for the whole prefix (the benchmark driver "
          "sleeping and the desktop included).\n";
    md += "\nEach cell: median (min–max, n = samples). Start-up, memory and latency: " + std::to_string(n) +
          " rounds, the two programs alternating (A B, B A, ...). CPU: " + std::to_string(c) +
          " rounds, each one idle window of " + window + " and two kept-off windows of " + off_window +
          "; both programs run at once through a round (started in alternating order), the reference idle "
          "throughout.\n";

    Samples gaps;
    gaps.values = g_poll_gaps;
    TIMECAPS caps{};
    timeGetDevCaps(&caps, sizeof caps);
    md += "\nResolution: every wait polls with Sleep(1) after timeBeginPeriod(1) (the timer's finest period here: " +
          std::to_string(caps.wPeriodMin) + " ms). The gaps seen between polls, over " +
          std::to_string(gaps.values.size()) + " polls: median " + (gaps.Empty() ? "?" : Fixed(gaps.Median(), 2)) +
          " ms, 90th percentile " + (gaps.Empty() ? "?" : Fixed(gaps.Quantile(0.9), 2)) + " ms, largest " +
          (gaps.Empty() ? "?" : Fixed(gaps.Max(), 1)) +
          " ms. A time is that of the first poll that saw the change, so it is late by up to one gap.\n";
    md += Targets(r, lumoff_exe, settings.cpu_seconds);
    if (r.xp_failures)
        md += "\n\"XP / Older\" could not be selected in " + std::to_string(r.xp_failures) + " round(s).\n";
    return md;
}

bool WriteText(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    Settings settings = ParseArgs(argc, argv);
    timeBeginPeriod(1);

    // One start of each, not counted: the first start in a fresh prefix also loads what every later one finds ready.
    for (Program p : {Program::kLumoff, Program::kReference}) {
        ForgetSettings();
        Started s = Start(p);
        Settle(s);
        Stop(s);
    }
    g_poll_gaps.clear();
    MoveCursor(kRestingPlace);

    Results results;
    double began = NowMs();
    MeasureStartup(settings, results);
    MeasureLatency(settings, results);
    for (int round = 0; round < settings.cpu_rounds; ++round) MeasureCpuRound(settings, round, results);
    ExeInfo lumoff_exe = ReadExe(LumoffExe());
    ExeInfo reference_exe = ReadExe(ReferenceExe());
    timeEndPeriod(1);

    std::string report = Report(settings, results, lumoff_exe, reference_exe);
    std::printf("\n%s\nmeasured in %.0f s\n", report.c_str(), (NowMs() - began) / 1000.0);
    if (!settings.out.empty() && !WriteText(settings.out, report)) {
        std::fwprintf(stderr, L"could not write %ls\n", settings.out.c_str());
        return 1;
    }
    return 0;
}
