// The Win32 view: gives each form a real window and each control a child window, mirrors every change of the
// objects into them, and turns the user's actions back into the objects' setters and notifications. Also the
// message queue of the user-interface thread (EventLoop).
//
// Controls are siblings on the form window, also those inside a frame; a frame is only the group box drawn
// beneath them. Forms with a tool-window border are dialogs: the view walks their controls with the keyboard in
// the controls' tab order (Tab, Shift+Tab, arrows within a pair of option buttons), and Escape closes them.
#pragma once

#include "platform/win32/handles_win.h"
#include "platform/win32/win32_services.h"
#include "ui/layout.h"

#include <map>
#include <vector>

namespace lumoff::platform::win32 {

class Win32View : public View, public EventLoop, public ui::FormHost {
public:
    Win32View();
    ~Win32View() override;

    // View
    void Create(ui::Form& form) override;
    WindowRef Handle(const ui::Form& form) override;
    void PopupMenu(ui::Form& owner, const ui::Menu& menu) override;
    void BeginCaptionDrag(ui::Form& form) override;

    // EventLoop
    void WaitMessage() override;
    bool TakeHotKeyMessage(WindowRef window) override;
    void DoEvents() override;

    // FormHost
    void FormChanged(ui::Form& form, ui::Property what) override;
    void ControlChanged(ui::Control& control, ui::Property what) override;
    void TimerChanged(ui::Timer& timer) override;

private:
    struct FormWindow;
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK LiteProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    LRESULT OnFormMessage(FormWindow& fw, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnLiteMessage(ui::Control& control, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(FormWindow& fw, int id, int code);
    void DrawCommandButton(FormWindow& fw, const DRAWITEMSTRUCT& item);
    // Dialog keyboard: true when the key was taken.
    bool OnDialogKey(FormWindow& fw, const MSG& msg);
    bool CanTakeFocus(const ui::Control& control) const;
    std::vector<ui::Control*> TabStops(const FormWindow& fw) const;
    ui::Control* FocusedControl(const FormWindow& fw) const;
    void MoveFocus(FormWindow& fw, bool backward);
    void FocusControl(FormWindow& fw, ui::Control& control);
    void RestoreFocus(FormWindow& fw);
    void CreateControl(FormWindow& fw, ui::Control& control);
    void MakeControls(FormWindow& fw);
    void ScheduleTooltip(FormWindow& fw);
    void MakeTooltip(FormWindow& fw);
    void MoveFrameTool(FormWindow& fw, size_t index, const ui::PixelRect& rect);
    // The form laid out again for the work area of the window's monitor (Fit), or as fw.pixels says (ApplyFit,
    // Layout): the size and scroll bar of a window that fits the work area, and every control.
    void Fit(FormWindow& fw);
    void ApplyFit(FormWindow& fw);
    void Layout(FormWindow& fw);
    ui::WindowFrame FrameAt(const FormWindow& fw) const;
    void OnDpiChanged(FormWindow& fw, int dpi, const RECT& suggested);
    void OnWorkAreaChanged(FormWindow& fw);
    // A client area that scrolls: to a position, by a scroll bar's or the wheel's message, to show a focused control.
    void ScrollTo(FormWindow& fw, int scroll);
    void OnScroll(FormWindow& fw, UINT msg, WPARAM wp);
    void ScrollIntoView(FormWindow& fw, HWND control);
    void PlaceForm(FormWindow& fw);
    void ApplyVisibility(FormWindow& fw);
    void PaintLite(ui::Control& control, HDC dc, const RECT& client);
    HFONT FontFor(FormWindow& fw, const ui::Font& font);
    HBRUSH BrushFor(ui::Colour colour);
    FormWindow* WindowOf(const ui::Form& form);
    int Px(const FormWindow& fw, double twips) const;

    std::map<const ui::Form*, std::unique_ptr<FormWindow>> forms_;
    std::map<ui::Colour, OwnedGdi> brushes_;
    std::map<ui::Timer*, OwnedTimer> live_timers_;
    int system_dpi_ = USER_DEFAULT_SCREEN_DPI;  // the DPI at which screen positions convert to twips
    bool syncing_ = false;  // a change coming from the window itself; do not mirror it back
    OwnedIcon icon_;
    OwnedIcon small_icon_;
    // Broadcast to every top-level window when the shell's taskbar starts again.
    UINT taskbar_created_ = 0;
};

}  // namespace lumoff::platform::win32
