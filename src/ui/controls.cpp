#include "ui/controls.h"

#include "ui/form.h"

namespace lumoff::ui {

void Control::Notify(Property what) {
    if (form_ && form_->host) form_->host->ControlChanged(*this, what);
}

void Control::set_text(std::string t) {
    if (text_ == t) return;
    text_ = std::move(t);
    Notify(Property::Text);
}

void CheckBox::set_value(int v) {
    if (value_ == v) return;
    value_ = v;
    Notify(Property::Value);
    if (OnClick) OnClick();
}

void OptionButton::set_value(bool v) {
    if (!v) {
        Set(value_, false, Property::Value);
        return;
    }
    if (value_) return;
    if (form()) {
        form()->SelectOption(*this);
    } else {
        value_ = true;
    }
    if (OnClick) OnClick();
}

void ComboBox::Clear() {
    items_.clear();
    list_index_ = -1;
    Notify(Property::Items);
}

void ComboBox::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Notify(Property::Items);
}

void ComboBox::set_list_index(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) return;
    list_index_ = index;
    Notify(Property::Selection);
    if (OnClick) OnClick();
}

std::string ComboBox::SelectedText() const {
    return list_index_ >= 0 ? items_[static_cast<size_t>(list_index_)] : std::string();
}

void Timer::set_interval(unsigned ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    Notify();
}

void Timer::set_enabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    Notify();
}

void Timer::Notify() {
    if (form && form->host) form->host->TimerChanged(*this);
}

}  // namespace lumoff::ui
