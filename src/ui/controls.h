// Controls: plain objects that hold the live state of every window element of the program.
//
// Event convention: members named OnXxx are notifications. Setting a value from code raises the same
// notification that the user's action raises (a check box's or option button's OnClick when its state changes, a
// list's OnClick whenever its selection is set to one of its entries or to none), so the program has one path for
// both. A backend that mirrors the controls into real windows watches them through FormHost and feeds
// the user's actions back through the same setters.
//
// Not here: any knowledge of the operating system. Lengths are in twips (1/1440 inch).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumoff::ui {

inline constexpr int kTwipsPerPixelAt96Dpi = 15;

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Colours are 0x00BBGGRR values, or a system colour index with kSystemColourFlag set.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColourFlag = 0x80000000u;
inline constexpr Colour SystemColour(int index) { return kSystemColourFlag | static_cast<Colour>(index); }
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;

struct Font {
    std::string face;
    double points = 8.25;
    bool bold = false;
};

enum class Align { Left, Centre };
enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

// Pictures are the program's own artwork, drawn by the backend.
enum class Picture { None, CaptionStrip, TurnOff, Close, MinToTray, Settings };

enum class Property { Visible, Enabled, Text, Value, Items, Selection, Locked, BackColour, Position, Font };

class Control;
class Form;
class Timer;

// Implemented by a backend that mirrors forms into real windows.
class FormHost {
public:
    virtual ~FormHost() = default;
    virtual void FormChanged(Form& form, Property what) = 0;
    virtual void ControlChanged(Control& control, Property what) = 0;
    virtual void TimerChanged(Timer& timer) = 0;
};

enum class Kind { Label, Image, CheckBox, OptionButton, CommandButton, TextBox, ComboBox, Frame };

class Control {
public:
    Control(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form* form() const { return form_; }
    Control* container() const { return container_; }  // the frame holding it, or null on the form itself

    bool visible() const { return visible_; }
    void set_visible(bool v) { Set(visible_, v, Property::Visible); }
    bool enabled() const { return enabled_; }
    void set_enabled(bool v) { Set(enabled_, v, Property::Enabled); }

    // Small run-time state kept as text on the control it belongs to.
    std::string tag;
    std::string tooltip;
    int tab_index = -1;

    const TwipRect& rect() const { return rect_; }
    void set_rect(TwipRect r) { rect_ = r; Notify(Property::Position); }

    Colour back_colour() const { return back_colour_; }
    void set_back_colour(Colour c) { Set(back_colour_, c, Property::BackColour); }
    Colour fore_colour = kBlack;
    const Font& font() const { return font_; }
    void set_font(Font f) { font_ = std::move(f); Notify(Property::Font); }

    // Caption of labels, buttons, check boxes and frames; text of text boxes.
    const std::string& text() const { return text_; }
    void set_text(std::string t);

    // Backend-side handle; zero until the form is created.
    std::uintptr_t native = 0;

protected:
    template <typename T>
    void Set(T& field, const T& value, Property what) {
        if (field == value) return;
        field = value;
        Notify(what);
    }
    void Notify(Property what);

private:
    friend class Form;
    Kind kind_;
    std::string name_;
    Form* form_ = nullptr;
    Control* container_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TwipRect rect_;
    Colour back_colour_ = kBlack;
    Font font_;
    std::string text_;
};

class Label : public Control {
public:
    explicit Label(std::string name) : Control(Kind::Label, std::move(name)) {}
    Align align = Align::Left;
    bool transparent = false;
    bool word_wrap = false;
    // A wrapped text that would not fit its box at the font's size is drawn at the largest smaller size that fits.
    bool shrink_to_fit = false;
    std::function<void(MouseButton, int x, int y)> OnMouseDown;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // Paint the new caption at once instead of at the next paint cycle.
    void Refresh() { Notify(Property::Text); }
};

class Image : public Control {
public:
    Image(std::string name, Picture picture) : Control(Kind::Image, std::move(name)), picture(picture) {}
    Picture picture;
    std::function<void()> OnClick;
    void Click() { if (OnClick) OnClick(); }
};

class CommandButton : public Control {
public:
    explicit CommandButton(std::string name) : Control(Kind::CommandButton, std::move(name)) {}
    std::function<void()> OnClick;
    void Click() { if (OnClick) OnClick(); }
};

class Frame : public Control {
public:
    explicit Frame(std::string name) : Control(Kind::Frame, std::move(name)) {}
};

// Value 1 checked, 0 clear. Changing the value raises OnClick, as a user's click does.
class CheckBox : public Control {
public:
    explicit CheckBox(std::string name) : Control(Kind::CheckBox, std::move(name)) {}
    int value() const { return value_; }
    void set_value(int v);
    std::function<void()> OnClick;

private:
    int value_ = 0;
};

// Option buttons in one container form a group: selecting one clears the others.
// Selecting raises OnClick when the button was not selected yet; selecting it again changes nothing.
class OptionButton : public Control {
public:
    explicit OptionButton(std::string name) : Control(Kind::OptionButton, std::move(name)) {}
    bool value() const { return value_; }
    void set_value(bool v);
    std::function<void()> OnClick;

private:
    friend class Form;
    bool value_ = false;
};

class TextBox : public Control {
public:
    explicit TextBox(std::string name) : Control(Kind::TextBox, std::move(name)) {}
    bool locked() const { return locked_; }
    void set_locked(bool v) { Set(locked_, v, Property::Locked); }
    // A typed character; the handler may swallow it by setting it to 0.
    std::function<void(char& key)> OnKeyPress;
    std::function<void()> OnLostFocus;

private:
    bool locked_ = false;
};

// A drop-down list that accepts only its entries. Setting the selection to an entry or to none (-1) raises OnClick
// every time; a position outside the list is refused: the selection stays and nothing is raised.
class ComboBox : public Control {
public:
    explicit ComboBox(std::string name) : Control(Kind::ComboBox, std::move(name)) {}
    const std::vector<std::string>& items() const { return items_; }
    void Clear();
    void AddItem(std::string item);
    int list_index() const { return list_index_; }
    void set_list_index(int index);
    std::string SelectedText() const;
    std::function<void()> OnClick;

private:
    std::vector<std::string> items_;
    int list_index_ = -1;
};

class Timer {
public:
    Timer(std::string name, unsigned interval_ms) : name_(std::move(name)), interval_(interval_ms) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    unsigned interval() const { return interval_; }
    void set_interval(unsigned ms);
    bool enabled() const { return enabled_; }
    void set_enabled(bool v);
    std::string tag;
    std::function<void()> OnTimer;
    void Tick() { if (OnTimer) OnTimer(); }

    Form* form = nullptr;
    std::uintptr_t native = 0;

private:
    void Notify();
    std::string name_;
    unsigned interval_;
    bool enabled_ = false;
};

struct MenuItem {
    std::string name;
    std::string caption;  // "-" is a separator
    std::function<void()> OnClick;
};

struct Menu {
    std::string name;
    std::string caption;
    std::vector<MenuItem> items;
};

}  // namespace lumoff::ui
