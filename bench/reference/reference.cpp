// The floor for Lumoff's benchmarks: the smallest Win32 GUI program that shows a window and pumps messages.
//
// It is what every measurement of lumoff.exe is compared with (start-up time, working set, handle counts), and the
// end-to-end harness uses it as a known, inert program to prove its own tools against. It has deliberately no
// behaviour beyond one 81x65 popup window painted black, so anything it costs is the cost of any Windows program.

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"LumoffReference";
constexpr wchar_t kTitle[] = L"Reference";
constexpr int kWidth = 81;
constexpr int kHeight = 65;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The class brush paints the client area; no WM_PAINT handler is needed for a black window.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) {
        return 1;
    }

    HWND window = CreateWindowExW(0, kClassName, kTitle, WS_POPUP | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
