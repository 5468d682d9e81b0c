// The Win32 view's event loop and form window procedure: the message queue of the user-interface thread (waiting,
// taking a hotkey message, letting waiting messages through with the dialog keyboard) and the messages a form's
// window handles.
#include "platform/win32/view_win.h"

#include <windowsx.h>

#include "platform/win32/view_win_internal.h"

namespace lumoff::platform::win32 {

namespace {

// Colours of the kinds that show the form's design colour; the lists keep the system's look in every state.
bool TakesBackColour(ui::Kind kind) { return kind != ui::Kind::ComboBox && kind != ui::Kind::Image; }

}  // namespace

void Win32View::WaitMessage() { ::WaitMessage(); }

bool Win32View::TakeHotKeyMessage(WindowRef window) {
    MSG msg;
    return PeekMessageA(&msg, reinterpret_cast<HWND>(window), WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != FALSE;
}

void Win32View::DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) ExitProcess(static_cast<UINT>(msg.wParam));
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        FormWindow* dialog = nullptr;
        for (auto& [form, fw] : forms_)
            if (fw->hwnd == root && IsDialog(*form)) dialog = fw.get();
        if (dialog && OnDialogKey(*dialog, msg)) continue;
        if (dialog && IsDialogMessageA(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK Win32View::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* fw = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fw));
        fw->hwnd = hwnd;
    }
    auto* fw = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!fw || !fw->form) return DefWindowProcA(hwnd, msg, wp, lp);
    return fw->view->OnFormMessage(*fw, hwnd, msg, wp, lp);
}

LRESULT Win32View::OnFormMessage(FormWindow& fw, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    ui::Form& form = *fw.form;
    if (msg == taskbar_created_ && taskbar_created_ != 0) {
        if (form.OnShellRestarted) form.OnShellRestarted();
        return 0;
    }
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(reinterpret_cast<HDC>(wp), &rc, BrushFor(form.style().back_colour));
            return 1;
        }
        case WM_CLOSE:
            if (form.OnCloseRequest) form.OnCloseRequest();
            return 0;
        case WM_SETTEXT: {
            // Another copy retitles this window to talk to it: the form's title must follow.
            LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
            if (!syncing_ && lp) {
                syncing_ = true;
                form.set_title(reinterpret_cast<const char*>(lp));
                syncing_ = false;
            }
            return result;
        }
        case WM_ACTIVATE:
            // A dialog keeps its focused control while another window is active, as the system's dialogs do.
            if (!IsDialog(form)) break;
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) fw.last_focus = focus;
            } else if (!HIWORD(wp)) {
                RestoreFocus(fw);
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item->CtlType != ODT_BUTTON) break;
            DrawCommandButton(fw, *item);
            return TRUE;
        }
        case WM_COMMAND:
            if (lp == 0 && LOWORD(wp) == IDCANCEL) {  // Escape in a dialog
                if (form.OnCloseRequest) form.OnCloseRequest();
                return 0;
            }
            if (lp != 0) OnCommand(fw, LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT: {
            ui::Control* c = fw.ById(GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
            if (!c || !TakesBackColour(c->kind())) break;
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkColor(dc, ToColorref(c->back_colour()));
            SetTextColor(dc, ToColorref(c->fore_colour));
            return reinterpret_cast<LRESULT>(BrushFor(c->back_colour()));
        }
        case WM_TIMER: {
            auto* timer = reinterpret_cast<ui::Timer*>(wp);
            if (live_timers_.count(timer)) timer->Tick();
            return 0;
        }
        case kMsgMakeTooltip:
            MakeTooltip(fw);
            return 0;
        case WM_HOTKEY:
            if (form.OnHotKey) form.OnHotKey(static_cast<int>(wp));
            return 0;
        case WM_MOUSEMOVE:
            if (form.OnMouseMove) form.OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_MOVE:
            if (!syncing_) {
                RECT wr;
                GetWindowRect(hwnd, &wr);
                syncing_ = true;
                form.set_position(static_cast<float>(ui::PixelsToTwips(wr.left, system_dpi_)),
                                  static_cast<float>(ui::PixelsToTwips(wr.top, system_dpi_)));
                syncing_ = false;
                // Onto another monitor of the same scale (one of another scale sends WM_DPICHANGED): another work area.
                if (form.style().fits_work_area && MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) != fw.monitor)
                    Fit(fw);
            }
            return 0;
        case WM_DPICHANGED:
            // Moved to a monitor of another scale: the suggested rectangle, the form's position and the layout.
            OnDpiChanged(fw, HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_SETTINGCHANGE:
            // A taskbar moved or resized: the work area is another.
            if (wp == SPI_SETWORKAREA) OnWorkAreaChanged(fw);
            break;
        case WM_DISPLAYCHANGE:
            OnWorkAreaChanged(fw);
            break;
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            if (!fw.pixels.scrolls()) break;
            OnScroll(fw, msg, wp);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace lumoff::platform::win32
