// Form: a top-level window of the program as a plain object: title, position, visibility, its controls and timers.
//
// The form owns nothing of the operating system. A backend attaches to it (FormHost) and mirrors every change;
// moves made by the user are written back by the backend through set_position.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace lumoff::ui {

enum class Border { None, FixedToolWindow };

struct FormStyle {
    Border border = Border::None;
    bool taskbar_button = false;
    bool centred = false;
    Colour back_colour = kBlack;
    int client_width = 0;  // twips
    int client_height = 0;
    // Where the designed window does not fit the work area of its monitor, it is arranged to fit (ui::LayOutToFit).
    bool fits_work_area = false;
};

class Form {
public:
    Form(std::string name, FormStyle style) : name_(std::move(name)), style_(style) {}
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    const std::string& name() const { return name_; }
    const FormStyle& style() const { return style_; }

    const std::string& title() const { return title_; }
    void set_title(std::string t);

    // Position of the window's top-left corner on the screen, in twips.
    float left() const { return left_; }
    float top() const { return top_; }
    void set_left(float v) { set_position(v, top_); }
    void set_top(float v) { set_position(left_, v); }
    void set_position(float left, float top);

    bool visible() const { return visible_; }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void SetVisible(bool v);
    // Put the window on top of all others (always-on-top) and show it, keeping its place and size.
    void ShowTopmost();
    // Put the window on top of all others and show it over the whole desktop, every monitor included.
    void ShowTopmostCoveringScreen();
    bool topmost() const { return topmost_; }
    // How often the window was made to cover the screen; the backend places it each time the count grows.
    int cover_count() const { return cover_count_; }

    // The close box or Alt+F4; the form decides what it means.
    std::function<void()> OnCloseRequest;
    // The mouse moved over the client area; x and y in pixels.
    std::function<void(int x, int y)> OnMouseMove;
    // A hotkey message reached this window through the ordinary dispatch of events.
    std::function<void(int id)> OnHotKey;
    // The shell's taskbar and notification area started again (after a crash of the shell, for example); the
    // icons it showed are gone.
    std::function<void()> OnShellRestarted;

    template <typename T, typename... Args>
    T& Add(Control* container, Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *control;
        ref.form_ = this;
        ref.container_ = container;
        controls_.push_back(std::move(control));
        return ref;
    }
    Timer& AddTimer(std::string name, unsigned interval_ms);
    // Controls from the top of the stack down; the keyboard order is their tab_index.
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    const std::vector<std::unique_ptr<Timer>>& timers() const { return timers_; }
    Control* Find(const std::string& name) const;

    // Select one option button and clear the others of its container.
    void SelectOption(OptionButton& option);

    FormHost* host = nullptr;
    std::uintptr_t native = 0;

private:
    void Notify(Property what);
    std::string name_;
    FormStyle style_;
    std::string title_;
    float left_ = 0;
    float top_ = 0;
    bool visible_ = false;
    bool topmost_ = false;
    int cover_count_ = 0;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
};

// Where a centred window of `length` starts in an area (one axis, any unit). A window longer than the area starts
// at the area's start, so that its title bar stays inside: centred, it would lie above the top of the screen where it
// can neither be moved nor closed with the mouse.
int CentredStart(int area_start, int area_length, int length);

}  // namespace lumoff::ui
