#include "timed/action_lists.h"

#include <string>
#include <string_view>

#include "forms/options_dialog.h"
#include "settings/settings_store.h"

namespace lumoff {

namespace {

constexpr const char* kActions[] = {"Shutdown", "Restart", "Logoff", "Standby", "Hibernate"};
// The tag text that tells a list's click handler it was raised by the load, not by the user.
constexpr const char* kLoadGuard = "startup";

void Fill(ui::ComboBox& list) {
    list.Clear();
    for (const char* action : kActions) list.AddItem(action);
    list.tag = kLoadGuard;
}

void OnListClick(ui::ComboBox& list, platform::Registry& registry, std::string_view value_name) {
    if (list.tag == kLoadGuard) {
        list.tag.clear();
        return;
    }
    settings::Store(registry, value_name, std::to_string(list.list_index()), settings::ValueForm::ListPosition);
}

}  // namespace

void FillActionLists(OptionsDialog& options) {
    Fill(options.Combo1);
    Fill(options.Combo2);
    options.Combo1.set_list_index(kDefaultAction);
    options.Combo2.set_list_index(kDefaultAction);
}

void WireActionLists(OptionsDialog& options, platform::Registry& registry) {
    ui::ComboBox& timer_list = options.Combo1;
    ui::ComboBox& schedule_list = options.Combo2;
    timer_list.OnClick = [&timer_list, &registry] { OnListClick(timer_list, registry, settings::kTimerOtherSelect); };
    schedule_list.OnClick = [&schedule_list, &registry] {
        OnListClick(schedule_list, registry, settings::kScheduleOtherSelect);
    };
}

}  // namespace lumoff
