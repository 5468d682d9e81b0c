#include "ui/form.h"

namespace lumoff::ui {

void Form::Notify(Property what) {
    if (host) host->FormChanged(*this, what);
}

void Form::set_title(std::string t) {
    if (title_ == t) return;
    title_ = std::move(t);
    Notify(Property::Text);
}

void Form::set_position(float left, float top) {
    if (left_ == left && top_ == top) return;
    left_ = left;
    top_ = top;
    Notify(Property::Position);
}

void Form::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    Notify(Property::Visible);
}

void Form::ShowTopmost() {
    topmost_ = true;
    visible_ = true;
    Notify(Property::Visible);
}

void Form::ShowTopmostCoveringScreen() {
    ++cover_count_;
    ShowTopmost();
}

Timer& Form::AddTimer(std::string name, unsigned interval_ms) {
    timers_.push_back(std::make_unique<Timer>(std::move(name), interval_ms));
    timers_.back()->form = this;
    return *timers_.back();
}

Control* Form::Find(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->name() == name) return c.get();
    return nullptr;
}

void Form::SelectOption(OptionButton& option) {
    for (const auto& c : controls_) {
        if (c->kind() != Kind::OptionButton || c->container() != option.container()) continue;
        auto& other = static_cast<OptionButton&>(*c);
        bool selected = &other == &option;
        if (other.value_ != selected) {
            other.value_ = selected;
            other.Notify(Property::Value);
        }
    }
}

int CentredStart(int area_start, int area_length, int length) {
    return length >= area_length ? area_start : area_start + (area_length - length) / 2;
}

}  // namespace lumoff::ui
