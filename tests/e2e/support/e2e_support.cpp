// Implementation of the end-to-end test tools; see e2e_support.h for what each one promises.

#include "e2e_support.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <thread>

namespace e2e {

namespace {

constexpr UINT kMessageTimeoutMs = 2000;  // for SendMessageTimeout to another process; a hung target fails the call

std::wstring EnvironmentVariable(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length);
    return value;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring NextToDriver(const wchar_t* fileName) {
    return FolderOf(DriverExe()) + L"\\" + fileName;
}

void CreateFolders(const std::wstring& folder) {
    if (folder.empty() || GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return;
    }
    std::wstring parent = FolderOf(folder);
    if (parent != folder && parent != L".") {
        CreateFolders(parent);
    }
    CreateDirectoryW(folder.c_str(), nullptr);  // a failure shows later, when the file cannot be written
}

std::wstring WithoutMnemonics(std::wstring_view text) {
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;  // "&&" stands for one '&'; "&x" underlines x
        }
        plain += text[i];
    }
    return plain;
}

bool SendMessageTimeoutResult(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR value = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kMessageTimeoutMs,
                             &value)) {
        return false;
    }
    result = static_cast<LRESULT>(value);
    return true;
}

bool Matches(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(window)) {
        return false;
    }
    if (query.pid != 0 && WindowPid(window) != query.pid) {
        return false;
    }
    if (!query.className.empty() && ClassName(window) != query.className) {
        return false;
    }
    if (!query.title.empty()) {
        // Top-level captions are kept by the window manager side, so GetWindowText never blocks on a busy owner.
        wchar_t title[512] = {};
        GetWindowTextW(window, title, static_cast<int>(std::size(title)));
        if (query.title != title) {
            return false;
        }
    }
    return true;
}

std::map<std::string, HelperProgram>& HelperPrograms() {
    static std::map<std::string, HelperProgram> programs;
    return programs;
}

constexpr wchar_t kHelperOption[] = L"--e2e-helper=";

bool IsExtendedKey(WORD virtualKey) {
    switch (virtualKey) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
        case VK_RCONTROL:
        case VK_RMENU:
        case VK_LWIN:
        case VK_RWIN:
        case VK_APPS:
        case VK_DIVIDE:
        case VK_NUMLOCK:
            return true;
        default:
            return false;
    }
}

INPUT KeyInput(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (IsExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT MouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// A move to an absolute screen point. Normalised coordinates are 0..65535 over the virtual screen; rounding up makes
// the system's scaling back (x * width / 65536, truncated) land on the exact pixel.
INPUT MoveInput(POINT screenPoint) {
    RECT screen = ScreenRect();
    auto normalise = [](LONG value, LONG origin, LONG extent) {
        return static_cast<LONG>((static_cast<long long>(value - origin) * 65536 + extent - 1) / extent);
    };
    INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK);
    input.mi.dx = normalise(screenPoint.x, screen.left, Width(screen));
    input.mi.dy = normalise(screenPoint.y, screen.top, Height(screen));
    return input;
}

bool Send(std::vector<INPUT> inputs) {
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

struct HkcuKey {
    HKEY handle = nullptr;
    ~HkcuKey() {
        if (handle) {
            RegCloseKey(handle);
        }
    }
};

bool OpenKey(const std::wstring& key, REGSAM access, HkcuKey& opened) {
    return RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, access, &opened.handle) == ERROR_SUCCESS;
}

struct BitmapFile {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
};

// A memory device context with a top-down 32-bit DIB selected into it, for copying pixels into.
class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        if (dc_) {
            bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        }
        if (bitmap_) {
            previousBitmap_ = SelectObject(dc_, bitmap_);
        }
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas() {
        if (previousBitmap_) {
            SelectObject(dc_, previousBitmap_);
        }
        if (bitmap_) {
            DeleteObject(bitmap_);
        }
        if (dc_) {
            DeleteDC(dc_);
        }
    }

    bool Valid() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    // Call GdiFlush() after copying and before reading.
    Rgb PixelAt(int x, int y) const {
        const std::uint8_t* pixel = bits_ + (static_cast<size_t>(y) * width_ + x) * 4;
        return {pixel[2], pixel[1], pixel[0]};
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    std::uint8_t* bits_ = nullptr;
};

// Whether every channel differs by at most `tolerance`.
bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

}  // namespace

// ---- Waiting -------------------------------------------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& condition, Duration timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

void Pause(Duration duration) {
    std::this_thread::sleep_for(duration);
}

// ---- Programs under test -------------------------------------------------------------------------------------------

std::wstring DriverExe() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring LumoffExe() {
    std::wstring path = EnvironmentVariable(L"LUMOFF_EXE");
    return path.empty() ? NextToDriver(L"lumoff.exe") : path;
}

std::wstring ReferenceExe() {
    std::wstring path = EnvironmentVariable(L"LUMOFF_REFERENCE_EXE");
    return path.empty() ? NextToDriver(L"reference.exe") : path;
}

std::wstring ArtifactPath(std::wstring_view fileName) {
    std::wstring folder = EnvironmentVariable(L"LUMOFF_E2E_ARTIFACTS");
    if (folder.empty()) {
        folder = FolderOf(DriverExe());
    }
    CreateFolders(folder);
    return folder + L"\\" + std::wstring(fileName);
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- Processes -----------------------------------------------------------------------------------------------------

Process::Process(Process&& other) noexcept : handle_(other.handle_), pid_(other.pid_) {
    other.handle_ = nullptr;
    other.pid_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        Close();
        handle_ = other.handle_;
        pid_ = other.pid_;
        other.handle_ = nullptr;
        other.pid_ = 0;
    }
    return *this;
}

Process::~Process() {
    Kill();
    Close();
}

void Process::Close() {
    if (handle_) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

bool Process::IsRunning() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(Duration timeout) const {
    if (!handle_) {
        return true;
    }
    return WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::ExitCode() const {
    DWORD code = 0;
    if (!handle_ || IsRunning() || !GetExitCodeProcess(handle_, &code)) return std::nullopt;
    return code;
}

bool Process::Kill(UINT exitCode) {
    if (!IsRunning()) {
        return true;
    }
    TerminateProcess(handle_, exitCode);  // if it ended meanwhile this fails harmlessly; the wait below decides
    return WaitForExit(kDefaultTimeout);
}

Process Launch(const std::wstring& exe, const std::wstring& args) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) {
        commandLine += L" " + args;
    }
    std::wstring folder = FolderOf(exe);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

Process LaunchCommandLine(const std::wstring& commandLine) {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

std::wstring ImagePath(const Process& process) {
    wchar_t path[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    if (!process.Valid() || !QueryFullProcessImageNameW(process.Handle(), 0, path, &size)) {
        return {};
    }
    return std::wstring(path, size);
}

bool WaitForInputIdle(const Process& process, Duration timeout) {
    return process.Valid() && ::WaitForInputIdle(process.Handle(), static_cast<DWORD>(timeout.count())) == 0;
}

// ---- Helper programs -----------------------------------------------------------------------------------------------

HelperProgramRegistration::HelperProgramRegistration(const char* name, HelperProgram program) {
    HelperPrograms()[name] = program;
}

std::optional<int> RunHelperProgramIfAsked(int argc, wchar_t** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    std::wstring_view first = argv[1];
    std::wstring_view option = kHelperOption;
    if (first.substr(0, option.size()) != option) {
        return std::nullopt;
    }
    std::wstring wideName(first.substr(option.size()));
    std::string name(wideName.begin(), wideName.end());
    auto found = HelperPrograms().find(name);
    if (found == HelperPrograms().end()) {
        std::fprintf(stderr, "no helper program named '%s'\n", name.c_str());
        return 2;
    }
    std::vector<std::wstring> args(argv + 2, argv + argc);
    return found->second(args);
}

// ---- Top-level windows ---------------------------------------------------------------------------------------------

std::vector<HWND> FindTopLevels(const WindowQuery& query) {
    struct Search {
        const WindowQuery* query;
        std::vector<HWND> found;
    } search{&query, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            if (Matches(window, *search->query)) {
                search->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(const WindowQuery& query) {
    std::vector<HWND> found = FindTopLevels(query);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const WindowQuery& query, Duration timeout) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopLevel(query)) != nullptr; }, timeout);
    return window;
}

bool WaitForWindowGone(HWND window, Duration timeout) {
    return WaitUntil([&] { return !IsWindow(window); }, timeout);
}

bool WaitForHidden(HWND window, Duration timeout) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

bool WaitForVisible(HWND window, Duration timeout) {
    return WaitUntil([&] { return IsWindow(window) && IsWindowVisible(window); }, timeout);
}

bool IsVisible(HWND window) {
    return IsWindow(window) && IsWindowVisible(window);
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRectOnScreen(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT Center(const RECT& rect) {
    return {rect.left + Width(rect) / 2, rect.top + Height(rect) / 2};
}

int Width(const RECT& rect) {
    return rect.right - rect.left;
}

int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

LONG_PTR Style(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

LONG_PTR ExStyle(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

bool IsTopmost(HWND window) {
    return (ExStyle(window) & WS_EX_TOPMOST) != 0;
}

bool HasTaskbarButton(HWND window) {
    if (!IsVisible(window)) {
        return false;
    }
    LONG_PTR exStyle = ExStyle(window);
    if (exStyle & WS_EX_APPWINDOW) {
        return true;
    }
    return Owner(window) == nullptr && !(exStyle & WS_EX_TOOLWINDOW);
}

std::wstring WindowText(HWND window) {
    LRESULT length = 0;
    if (!SendMessageTimeoutResult(window, WM_GETTEXTLENGTH, 0, 0, length)) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!SendMessageTimeoutResult(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) {
        return {};
    }
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

DWORD WindowPid(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string Describe(HWND window) {
    std::string out = "[";
    for (wchar_t c : ClassName(window) + L" \"" + WindowText(window) + L"\"]") out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::optional<POINT> CloseBoxPoint(HWND window) {
    RECT frame = WindowRect(window);
    int y = (frame.top + ClientRectOnScreen(window).top) / 2;  // the middle of the title bar
    int first = -1, last = -1;
    for (int x = frame.right - 1; x > frame.right - 60 && x > frame.left; --x) {
        LRESULT hit = HTNOWHERE;
        SendMessageTimeoutResult(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), hit);
        if (hit == HTCLOSE) {
            if (last < 0) last = x;
            first = x;
        } else if (last >= 0) {
            break;
        }
    }
    if (last < 0) return std::nullopt;
    return POINT{(first + last) / 2, y};
}

HWND Owner(HWND window) {
    return GetWindow(window, GW_OWNER);
}

// ---- Child controls ------------------------------------------------------------------------------------------------

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildAt(HWND parent, POINT screenPoint) {
    // Walks down by hand instead of ChildWindowFromPointEx: a group box lies over the controls it frames, and the
    // control a click would reach is the one inside it.
    HWND current = parent;
    while (true) {
        HWND hit = nullptr;
        for (HWND child = GetWindow(current, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rect = WindowRect(child);
            if (!IsWindowVisible(child) || !PtInRect(&rect, screenPoint)) {
                continue;
            }
            bool groupBox = ClassName(child) == L"Button" && (Style(child) & BS_TYPEMASK) == BS_GROUPBOX;
            if (!groupBox) {
                hit = child;
                break;
            }
            if (!hit) {
                hit = child;  // only if nothing else is there
            }
        }
        if (!hit) {
            return current;
        }
        current = hit;
    }
}

std::wstring ComboSelectedText(HWND combo) {
    LRESULT selection = CB_ERR, length = CB_ERR, copied = 0;
    if (!SendMessageTimeoutResult(combo, CB_GETCURSEL, 0, 0, selection) || selection < 0 ||
        !SendMessageTimeoutResult(combo, CB_GETLBTEXTLEN, selection, 0, length) || length < 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageTimeoutResult(combo, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(text.data()), copied);
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

// ---- Message boxes -------------------------------------------------------------------------------------------------

HWND FindMessageBox(DWORD pid, std::wstring_view title) {
    return FindTopLevel({.title = std::wstring(title), .className = kDialogClass, .pid = pid, .visibleOnly = true});
}

HWND WaitForMessageBox(DWORD pid, std::wstring_view title, Duration timeout) {
    return WaitForWindow({.title = std::wstring(title), .className = kDialogClass, .pid = pid, .visibleOnly = true},
                         timeout);
}

std::wstring MessageBoxText(HWND box) {
    constexpr int kMessageStaticId = 0xFFFF;
    HWND text = GetDlgItem(box, kMessageStaticId);
    return text ? WindowText(text) : std::wstring();
}

std::vector<std::wstring> DialogButtons(HWND dialog) {
    std::vector<std::wstring> captions;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && ClassName(child) == L"Button") {
            captions.push_back(WithoutMnemonics(WindowText(child)));
        }
    }
    return captions;
}

bool PressDialogButton(HWND dialog, std::wstring_view caption) {
    std::wstring wanted = WithoutMnemonics(caption);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && ClassName(child) == L"Button" && WithoutMnemonics(WindowText(child)) == wanted) {
            return PostMessageW(child, BM_CLICK, 0, 0) != FALSE;
        }
    }
    return false;
}

// ---- Popup menus ---------------------------------------------------------------------------------------------------

HWND FindPopupMenu(DWORD pid) {
    return FindTopLevel({.className = kPopupMenuClass, .pid = pid, .visibleOnly = true});
}

HWND WaitForPopupMenu(DWORD pid, Duration timeout) {
    return WaitForWindow({.className = kPopupMenuClass, .pid = pid, .visibleOnly = true}, timeout);
}

bool ChooseMenuItemByKeys(HWND menuWindow, int position) {
    auto post = [&](WORD key) {
        return PostMessageW(menuWindow, WM_KEYDOWN, key, 1) != FALSE &&
               PostMessageW(menuWindow, WM_KEYUP, key, 1) != FALSE;
    };
    if (!post(VK_HOME)) {
        return false;
    }
    for (int i = 0; i < position; ++i) {
        if (!post(VK_DOWN)) {
            return false;
        }
    }
    return post(VK_RETURN);
}

// ---- Input ---------------------------------------------------------------------------------------------------------

bool MoveCursor(POINT screenPoint) {
    // Under Wine an injected move also warps the X pointer, and the process whose window lies under it reports that
    // X motion back a little later as a move of its own. Arriving after a later move, that echo would put the cursor
    // back. So a move is done only when the cursor has stayed at its target for a while; should an echo of an
    // earlier move have pulled it away meanwhile, the move is sent again.
    constexpr Duration kSettle{60};
    constexpr int kAttempts = 5;
    auto atTarget = [&] {
        POINT cursor = CursorPosition();
        return cursor.x == screenPoint.x && cursor.y == screenPoint.y;
    };
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!Send({MoveInput(screenPoint)})) {
            return false;
        }
        if (!WaitUntil(atTarget, Duration(1000))) {
            continue;
        }
        // Stayed put for the whole settle time?
        if (!WaitUntil([&] { return !atTarget(); }, kSettle)) {
            return true;
        }
    }
    return false;
}

POINT CursorPosition() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

// A button event that also carries its point. The cursor is already there (MoveCursor), but under Wine an echo of an
// earlier move may still pull it back after MoveCursor has seen it settle, most often on a loaded machine; a button
// event without a position would then land on the earlier target (seen: the click meant for one check box toggled
// the box clicked just before).
INPUT ButtonInput(POINT screenPoint, DWORD buttonFlags) {
    INPUT input = MoveInput(screenPoint);
    input.mi.dwFlags |= buttonFlags;
    return input;
}

bool MouseButton(POINT screenPoint, bool down) {
    return Send({ButtonInput(screenPoint, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)});
}

bool Click(POINT screenPoint) {
    return MoveCursor(screenPoint) &&
           Send({ButtonInput(screenPoint, MOUSEEVENTF_LEFTDOWN), ButtonInput(screenPoint, MOUSEEVENTF_LEFTUP)});
}

bool DoubleClick(POINT screenPoint) {
    return MoveCursor(screenPoint) &&
           Send({ButtonInput(screenPoint, MOUSEEVENTF_LEFTDOWN), ButtonInput(screenPoint, MOUSEEVENTF_LEFTUP),
                 ButtonInput(screenPoint, MOUSEEVENTF_LEFTDOWN), ButtonInput(screenPoint, MOUSEEVENTF_LEFTUP)});
}

bool RightClick(POINT screenPoint) {
    return MoveCursor(screenPoint) &&
           Send({ButtonInput(screenPoint, MOUSEEVENTF_RIGHTDOWN), ButtonInput(screenPoint, MOUSEEVENTF_RIGHTUP)});
}

bool PressKey(WORD virtualKey, Modifiers modifiers) {
    static constexpr std::pair<Modifier, WORD> kModifierKeys[] = {
        {kControl, VK_CONTROL}, {kAlt, VK_MENU}, {kShift, VK_SHIFT}, {kWin, VK_LWIN}};
    std::vector<INPUT> inputs;
    for (auto [modifier, key] : kModifierKeys) {
        if (modifiers & modifier) {
            inputs.push_back(KeyInput(key, true));
        }
    }
    inputs.push_back(KeyInput(virtualKey, true));
    inputs.push_back(KeyInput(virtualKey, false));
    for (auto it = std::rbegin(kModifierKeys); it != std::rend(kModifierKeys); ++it) {
        if (modifiers & it->first) {
            inputs.push_back(KeyInput(it->second, false));
        }
    }
    return Send(std::move(inputs));
}

// ---- Notification area (tray) --------------------------------------------------------------------------------------

HWND TaskbarWindow() {
    return FindTopLevel({.className = L"Shell_TrayWnd", .visibleOnly = true});
}

std::optional<RECT> TrayIconRect(int slot) {
    HWND taskbar = TaskbarWindow();
    if (!taskbar) {
        return std::nullopt;
    }
    constexpr int kBorder = 2;
    const int cellWidth = GetSystemMetrics(SM_CXSMICON) + 2 * kBorder;
    const int cellHeight = GetSystemMetrics(SM_CYSMICON) + 2 * kBorder;
    RECT client = ClientRectOnScreen(taskbar);
    RECT cell{};
    cell.right = client.right - cellWidth * slot;
    cell.left = cell.right - cellWidth;
    cell.top = client.top + (Height(client) - cellHeight) / 2;
    cell.bottom = cell.top + cellHeight;
    return cell;
}

bool TrayIconShown(int slot) {
    std::optional<RECT> cell = TrayIconRect(slot);
    if (!cell) {
        return false;
    }
    Screenshot shot = CaptureRect(*cell);
    // The cell's corner lies in its border, which is always plain taskbar.
    Rgb background = shot.PixelAt({cell->left, cell->top});
    return shot.FractionOf(*cell, background) < 0.9;
}

// ---- Registry ------------------------------------------------------------------------------------------------------

bool KeyExists(const std::wstring& key) {
    HkcuKey opened;
    return OpenKey(key, KEY_READ, opened);
}

bool CreateKey(const std::wstring& key) {
    HkcuKey created;
    return RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created.handle,
                           nullptr) == ERROR_SUCCESS;
}

bool DeleteKey(const std::wstring& key) {
    LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        // RegDeleteTree empties the key; some versions leave the emptied key itself behind.
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
    return !KeyExists(key);
}

// ---- Screenshots ---------------------------------------------------------------------------------------------------

Screenshot::Screenshot(RECT bounds, std::vector<std::uint8_t> bgrTopDown)
    : bounds_(bounds), pixels_(std::move(bgrTopDown)) {}

int Screenshot::Stride() const {
    return (Width(bounds_) * 3 + 3) & ~3;
}

bool Screenshot::Contains(POINT screenPoint) const {
    return !Empty() && PtInRect(&bounds_, screenPoint);
}

Rgb Screenshot::PixelAt(POINT screenPoint) const {
    if (!Contains(screenPoint)) {
        return kBlack;
    }
    size_t offset = static_cast<size_t>(screenPoint.y - bounds_.top) * static_cast<size_t>(Stride()) +
                    static_cast<size_t>(screenPoint.x - bounds_.left) * 3;
    return {pixels_[offset + 2], pixels_[offset + 1], pixels_[offset]};
}

double Screenshot::FractionOf(const RECT& screenRect, Rgb color, int tolerance) const {
    RECT area{};
    if (Empty() || !IntersectRect(&area, &screenRect, &bounds_)) {
        return 0.0;
    }
    long matching = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            if (Near(PixelAt({x, y}), color, tolerance)) {
                ++matching;
            }
        }
    }
    return static_cast<double>(matching) / (static_cast<double>(Width(area)) * Height(area));
}

bool Screenshot::AllPixels(const RECT& screenRect, Rgb color, int tolerance) const {
    return FractionOf(screenRect, color, tolerance) == 1.0;
}

bool Screenshot::SaveBmp(const std::wstring& path) const {
    if (Empty()) {
        return false;
    }
    BitmapFile header;
    const DWORD imageSize = static_cast<DWORD>(pixels_.size());
    header.file.bfType = 0x4D42;  // "BM"
    header.file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.file.bfSize = header.file.bfOffBits + imageSize;
    header.info.biSize = sizeof(BITMAPINFOHEADER);
    header.info.biWidth = Width(bounds_);
    header.info.biHeight = Height(bounds_);  // positive: rows bottom-up, which every viewer reads
    header.info.biPlanes = 1;
    header.info.biBitCount = 24;
    header.info.biCompression = BI_RGB;
    header.info.biSizeImage = imageSize;

    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, &header.file, sizeof(header.file), &written, nullptr) &&
              WriteFile(file, &header.info, sizeof(header.info), &written, nullptr);
    for (int row = Height(bounds_) - 1; ok && row >= 0; --row) {
        ok = WriteFile(file, pixels_.data() + static_cast<size_t>(row) * Stride(), static_cast<DWORD>(Stride()),
                       &written, nullptr) != FALSE;
    }
    CloseHandle(file);
    return ok;
}

RECT ScreenRect() {
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Screenshot CaptureScreen() {
    return CaptureRect(ScreenRect());
}

Screenshot CaptureRect(const RECT& screenRect) {
    const int width = Width(screenRect);
    const int height = Height(screenRect);
    if (width <= 0 || height <= 0) {
        return {};
    }
    DibCanvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    if (!canvas.Valid() || !screen) {
        if (screen) {
            ReleaseDC(nullptr, screen);
        }
        return {};
    }
    bool copied = BitBlt(canvas.Dc(), 0, 0, width, height, screen, screenRect.left, screenRect.top,
                         SRCCOPY | CAPTUREBLT) != FALSE;
    ReleaseDC(nullptr, screen);
    if (!copied) {
        return {};
    }
    GdiFlush();
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb pixel = canvas.PixelAt(x, y);
            std::uint8_t* out = pixels.data() + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
            out[0] = pixel.b;
            out[1] = pixel.g;
            out[2] = pixel.r;
        }
    }
    return Screenshot(screenRect, std::move(pixels));
}

Rgb SystemColor(int index) {
    COLORREF color = GetSysColor(index);
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

}  // namespace e2e
