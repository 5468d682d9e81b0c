#include "platform/win32/downloads_win.h"

#include <winhttp.h>

#include "platform/win32/handles_win.h"

#include <map>
#include <utility>

namespace lumoff::platform::win32 {

namespace {

constexpr char kWindowClass[] = "LumoffDownloads";
// Posted by a worker to the message-only window; LPARAM is a Finished taken over by the receiver.
constexpr UINT kMsgDownloadFinished = WM_APP + 1;
constexpr char kTempPrefix[] = "lmf";
constexpr DWORD kReadChunk = 1024;
constexpr DWORD kHttpOk = 200;
constexpr int kMaxRedirects = 5;
constexpr DWORD kMaxLocation = 2048;  // characters of a redirect's address
constexpr wchar_t kUserAgent[] = L"Lumoff";
// No cache on the way may answer: not WinHTTP's own (it has none), not a proxy's, not the server's.
constexpr wchar_t kNoCacheHeaders[] = L"Cache-Control: no-cache\r\nPragma: no-cache\r\n";

// WinHTTP is loaded when the first download starts, not with the program: most starts download nothing, and the
// library with the ones it loads in turn would hold up every start. These pointers shadow the declarations of
// <winhttp.h>, so the calls below read as usual; they are set once, on the user-interface thread, before the first
// worker thread starts, and never change after.
decltype(&::WinHttpCloseHandle) WinHttpCloseHandle = nullptr;
decltype(&::WinHttpConnect) WinHttpConnect = nullptr;
decltype(&::WinHttpCrackUrl) WinHttpCrackUrl = nullptr;
decltype(&::WinHttpOpen) WinHttpOpen = nullptr;
decltype(&::WinHttpOpenRequest) WinHttpOpenRequest = nullptr;
decltype(&::WinHttpQueryDataAvailable) WinHttpQueryDataAvailable = nullptr;
decltype(&::WinHttpQueryHeaders) WinHttpQueryHeaders = nullptr;
decltype(&::WinHttpReadData) WinHttpReadData = nullptr;
decltype(&::WinHttpReceiveResponse) WinHttpReceiveResponse = nullptr;
decltype(&::WinHttpSendRequest) WinHttpSendRequest = nullptr;
decltype(&::WinHttpSetOption) WinHttpSetOption = nullptr;
decltype(&::WinHttpSetTimeouts) WinHttpSetTimeouts = nullptr;

template <typename Function>
bool Find(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

// True once every function is found. The library is taken from the system folder by its full path, never from the
// program's folder or the current one, and stays loaded for the rest of the process.
bool LoadWinHttp() {
    static bool loaded = false;
    static bool tried = false;
    if (tried) return loaded;
    tried = true;
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    HMODULE library = LoadLibraryA((std::string(folder, length) + "\\winhttp.dll").c_str());
    if (!library) return false;
    loaded = Find(library, "WinHttpCloseHandle", WinHttpCloseHandle) &&
             Find(library, "WinHttpConnect", WinHttpConnect) && Find(library, "WinHttpCrackUrl", WinHttpCrackUrl) &&
             Find(library, "WinHttpOpen", WinHttpOpen) && Find(library, "WinHttpOpenRequest", WinHttpOpenRequest) &&
             Find(library, "WinHttpQueryDataAvailable", WinHttpQueryDataAvailable) &&
             Find(library, "WinHttpQueryHeaders", WinHttpQueryHeaders) &&
             Find(library, "WinHttpReadData", WinHttpReadData) &&
             Find(library, "WinHttpReceiveResponse", WinHttpReceiveResponse) &&
             Find(library, "WinHttpSendRequest", WinHttpSendRequest) &&
             Find(library, "WinHttpSetOption", WinHttpSetOption) &&
             Find(library, "WinHttpSetTimeouts", WinHttpSetTimeouts);
    return loaded;
}

// An open WinHTTP handle, closed when it goes.
class Internet {
public:
    explicit Internet(HINTERNET h = nullptr) : h_(h) {}
    ~Internet() {
        if (h_) WinHttpCloseHandle(h_);
    }
    Internet(const Internet&) = delete;
    Internet& operator=(const Internet&) = delete;
    HINTERNET get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

// The body's file: opened to be deleted when its last handle closes, so the system removes it also when the
// process ends in the middle of a download.
class Win32TempFile : public TempFile {
public:
    Win32TempFile(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
    ~Win32TempFile() override { CloseHandle(file_); }
    Win32TempFile(const Win32TempFile&) = delete;
    Win32TempFile& operator=(const Win32TempFile&) = delete;

    const std::string& path() const override { return path_; }
    bool ReadAll(std::string& content) override {
        if (SetFilePointer(file_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
        content.clear();
        char buf[kReadChunk];
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(file_, buf, sizeof buf, &read, nullptr)) return false;
            if (read == 0) return true;
            content.append(buf, read);
        }
    }
    bool Write(const void* data, DWORD size) {
        DWORD written = 0;
        return WriteFile(file_, data, size, &written, nullptr) && written == size;
    }

private:
    HANDLE file_;
    std::string path_;
};

std::unique_ptr<Win32TempFile> CreateTempFile() {
    char dir[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof dir, dir);
    if (n == 0 || n >= sizeof dir) return nullptr;
    char path[MAX_PATH + 1];
    // Makes the file, with a name no other file has.
    if (!GetTempFileNameA(dir, kTempPrefix, 0, path)) return nullptr;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(path);
        return nullptr;
    }
    return std::make_unique<Win32TempFile>(file, path);
}

std::wstring Widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// What a worker hands to the user-interface thread.
struct Finished {
    std::uint64_t id = 0;
    DownloadResult result;
};

// Where one request goes: an address taken apart.
struct Target {
    std::wstring host;
    std::wstring path;  // with the query
    INTERNET_PORT port = 0;
    bool secure = false;
};

bool Crack(const std::string& url, Target& target) {
    std::wstring wide = Widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target.path.empty()) target.path = L"/";
    target.port = parts.nPort;
    target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

// The address a redirect names, made whole against the one it came from; empty when it is neither a whole address
// nor a path from the root, or not plain ASCII.
std::string RedirectTarget(HINTERNET request, const std::string& from) {
    wchar_t location[kMaxLocation];
    DWORD size = sizeof location;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, location, &size,
                             WINHTTP_NO_HEADER_INDEX))
        return {};
    std::string to;
    for (DWORD i = 0; i < size / sizeof(wchar_t); ++i) {
        if (location[i] == 0 || location[i] >= 0x80) return {};
        to += static_cast<char>(location[i]);
    }
    if (to.size() > 1 && to[0] == '/' && to[1] != '/') {
        // The root of `from`: its scheme and authority.
        const std::size_t authority = from.find("://") + 3;
        to = from.substr(0, from.find_first_of("/?#", authority)) + to;
    }
    return to;
}

// One request, owned by its worker thread.
struct Job {
    std::uint64_t id = 0;
    HWND reply_to = nullptr;
    std::string url;
    DownloadLimits limits;
    DWORD deadline = 0;  // tick count
    std::unique_ptr<Win32TempFile> file;
};

// Every wait of the request gets what is left of the whole download's time, so the whole is bounded by it.
bool SetRemainingTime(HINTERNET request, const Job& job) {
    const auto left = static_cast<std::int32_t>(job.deadline - GetTickCount());
    if (left <= 0) return false;
    // The wait for the answer's head has a timeout of its own, which WinHttpSetTimeouts leaves alone.
    DWORD response = static_cast<DWORD>(left);
    WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response, sizeof response);
    return WinHttpSetTimeouts(request, left, left, left, left) != FALSE;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The request itself, following the redirects that the limits allow (WinHTTP's own following is off: it would go
// anywhere); an empty text on success.
std::string Fetch(Job& job) {
    Internet session(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return "no HTTP session";
    std::string url = job.url;
    for (int redirects = 0;; ++redirects) {
        Target target;
        if (!Crack(url, target)) return "no address";
        Internet connection(WinHttpConnect(session.get(), target.host.c_str(), target.port, 0));
        if (!connection) return "no connection";
        const DWORD flags = WINHTTP_FLAG_REFRESH | (target.secure ? WINHTTP_FLAG_SECURE : 0);
        Internet request(WinHttpOpenRequest(connection.get(), L"GET", target.path.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
        if (!request) return "no request";
        DWORD never = WINHTTP_DISABLE_REDIRECTS;
        if (!WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &never, sizeof never))
            return "redirects cannot be held";
        if (!SetRemainingTime(request.get(), job)) return "timed out";
        if (!WinHttpSendRequest(request.get(), kNoCacheHeaders, static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0,
                                0, 0))
            return "the request could not be sent";
        if (!SetRemainingTime(request.get(), job)) return "timed out";
        if (!WinHttpReceiveResponse(request.get(), nullptr)) return "no answer";
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
            return "no status";
        if (IsRedirect(status)) {
            std::string to = RedirectTarget(request.get(), url);
            if (redirects == kMaxRedirects || to.empty() || !job.limits.may_redirect ||
                !job.limits.may_redirect(url, to))
                return "a redirect not followed";
            url = std::move(to);
            continue;
        }
        if (status != kHttpOk) return "HTTP status " + std::to_string(status);
        std::size_t total = 0;
        char buf[kReadChunk];
        for (;;) {
            // Only what has arrived is read: a read of more waits for it, and a server that sends a byte now and
            // then would hold the download past its time.
            if (!SetRemainingTime(request.get(), job)) return "timed out";
            DWORD available = 0;
            if (!WinHttpQueryDataAvailable(request.get(), &available)) return "the answer broke off";
            if (!SetRemainingTime(request.get(), job)) return "timed out";
            DWORD read = 0;
            if (!WinHttpReadData(request.get(), buf, available < sizeof buf ? available : sizeof buf, &read))
                return "the answer broke off";
            if (read == 0) return {};
            total += read;
            if (total > job.limits.max_bytes) return "the answer is too long";
            if (!job.file->Write(buf, read)) return "the answer could not be stored";
        }
    }
}

DWORD WINAPI Worker(void* param) {
    std::unique_ptr<Job> job(static_cast<Job*>(param));
    auto finished = std::make_unique<Finished>();
    finished->id = job->id;
    finished->result.error = Fetch(*job);
    if (finished->result.error.empty()) finished->result.file = std::move(job->file);
    // On success the receiver owns the result; when it cannot be told (its window is gone), the result goes here,
    // and its file with it.
    if (PostMessageA(job->reply_to, kMsgDownloadFinished, 0, reinterpret_cast<LPARAM>(finished.get())))
        finished.release();
    return 0;
}

}  // namespace

struct Win32Downloads::State {
    HWND window = nullptr;
    std::uint64_t next_id = 1;
    struct Running {
        Completion done;
        OwnedTimer deadline;  // the timer's id is the download's
    };
    // The running downloads; a result whose id is not here was cancelled and is dropped.
    std::map<std::uint64_t, Running> running;

    // Ends a running download with its result: it is no longer running, its deadline is off, and its completion runs.
    void Complete(std::uint64_t id, DownloadResult result) {
        auto it = running.find(id);
        if (it == running.end()) return;  // cancelled, or already ended by its deadline: the result goes
        Completion done = std::move(it->second.done);
        running.erase(it);
        done(std::move(result));
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == kMsgDownloadFinished) {
            std::unique_ptr<Finished> finished(reinterpret_cast<Finished*>(lp));
            if (state) state->Complete(finished->id, std::move(finished->result));
            return 0;
        }
        if (msg == WM_TIMER) {
            // The whole download's deadline, kept here as well: a stack that ignores its own timeouts must not keep
            // the program waiting. The worker's late result is dropped when it comes. Completing stops the timer.
            if (state) state->Complete(static_cast<std::uint64_t>(wp), DownloadResult{nullptr, "timed out"});
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
};

Win32Downloads::Win32Downloads() : state_(std::make_unique<State>()) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = State::Proc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);  // a second instance of this service finds the class already there
    state_->window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (state_->window) SetWindowLongPtrA(state_->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state_.get()));
}

Win32Downloads::~Win32Downloads() {
    CancelAll();
    // Workers still running find no window to post to and drop their results, files included.
    if (state_->window) DestroyWindow(state_->window);
}

bool Win32Downloads::Get(const std::string& url, const DownloadLimits& limits, Completion done) {
    if (!state_->window || !LoadWinHttp()) return false;
    Target target;
    if (!Crack(url, target)) return false;

    auto job = std::make_unique<Job>();
    job->id = state_->next_id++;
    job->reply_to = state_->window;
    job->url = url;
    job->limits = limits;
    job->deadline = GetTickCount() + limits.timeout_ms;
    job->file = CreateTempFile();
    if (!job->file) return false;

    const std::uint64_t id = job->id;
    HANDLE thread = CreateThread(nullptr, 0, Worker, job.get(), 0, nullptr);
    if (!thread) return false;
    job.release();  // the worker owns it now
    CloseHandle(thread);
    State::Running& running = state_->running[id];
    running.done = std::move(done);
    running.deadline.Start(state_->window, static_cast<UINT_PTR>(id), limits.timeout_ms);
    return true;
}

void Win32Downloads::CancelAll() { state_->running.clear(); }

}  // namespace lumoff::platform::win32
