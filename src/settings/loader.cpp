#include "settings/loader.h"

#include "options/start_with_windows.h"
#include "settings/settings_store.h"
#include "settings/short_date.h"
#include "timed/time_fields.h"
#include "web/file_download.h"
#include "web/update_info.h"

namespace lumoff {

namespace {

using settings::ValueForm;

const char* const kNl = "\r\n";

void WriteDefaults(Context& ctx, platform::RegKey key) {
    auto& os = ctx.os;
    const std::string left = settings::PositionText(ctx.main.left());
    const std::string top = settings::PositionText(ctx.main.top());
    const std::string version = VersionText();
    const platform::LocalTime now = os.clock.Now();
    const std::string today = settings::FormatShortDate({now.year, now.month, now.day}, os.clock.ShortDatePattern());
    settings::WriteValues(os.registry, key,
                          {{settings::kLeft, left},
                           {settings::kTop, top},
                           {settings::kTray, "0", ValueForm::Flag},
                           {settings::kVersion, version},
                           {settings::kTimerHr, "00", ValueForm::TwoDigit},
                           {settings::kTimerMn, "00", ValueForm::TwoDigit},
                           {settings::kTimerSc, "30", ValueForm::TwoDigit},
                           {settings::kTimerIdle, "0", ValueForm::Flag},
                           {settings::kTimerSaver, "0", ValueForm::Flag},
                           {settings::kTimerOther, "0", ValueForm::Flag},
                           {settings::kTimerOtherSelect, "0", ValueForm::ListPosition},
                           {settings::kSchedule, "0", ValueForm::Flag},
                           {settings::kScheduleHr, "23", ValueForm::TwoDigit},
                           {settings::kScheduleMn, "59", ValueForm::TwoDigit},
                           {settings::kScheduleSc, "59", ValueForm::TwoDigit},
                           {settings::kScheduleOther, "0", ValueForm::Flag},
                           {settings::kScheduleOtherSelect, "0", ValueForm::ListPosition},
                           {settings::kHotKeyA, "0"},
                           {settings::kHotKeyB, "9"},
                           {settings::kHotKeyMouse, "1", ValueForm::Flag},
                           {settings::kHotKeyEnter, "1", ValueForm::Flag},
                           {settings::kHotKeySpace, "1", ValueForm::Flag},
                           {settings::kHotKeySet, "0", ValueForm::Flag},
                           {settings::kOffMsg, "1", ValueForm::Flag},
                           {settings::kIDate, today}});
}

void FirstRun(Context& ctx, FileDownloadControl& fdc, settings::OpenKey& key) {
    auto& os = ctx.os;
    key.reset(os.registry.Create(settings::kSettingsKey));
    if (!key.is_open()) {
        os.desktop.ShowMessage(ctx.MainHandle(),
                               std::string(kRegistryErrorLine) + kNl + "Please contact " + ctx.config.support_address,
                               kProgramName, platform::kMbOk | platform::kMbIconExclamation);
        os.process.Exit();
    }
    WriteDefaults(ctx, key.get());
    int answer = os.desktop.ShowMessage(ctx.MainHandle(), kFirstRunMessage, kProgramName,
                                       platform::kMbYesNo | platform::kMbIconInformation);
    if (answer == platform::kIdYes)
        RepeatWhileBusy(os.events, [&fdc] { return fdc.ValidateInstall(); });
}

void OfferReadmeAfterUpgrade(Context& ctx, platform::RegKey key) {
    auto& os = ctx.os;
    const std::string version = VersionText();
    settings::WriteValues(os.registry, key, {{settings::kVersion, version}});
    std::string text = std::string("Thank you for installing a newer version :)") + kNl + "Version details: " +
                       version + kNl + "Do you want to read the readme?";
    int answer = os.desktop.ShowMessage(ctx.MainHandle(), text, "Lumoff :)",
                                       platform::kMbYesNo | platform::kMbIconInformation);
    if (answer == platform::kIdYes) os.desktop.OpenUrl(ctx.MainHandle(), ctx.config.Url(kReadmePath));
}

// Stored text to control state. A value that is empty leaves the control as the dialog made it; so does one that is
// no number or that the control cannot hold, instead of passing it on.
class Rows {
public:
    explicit Rows(const settings::OpenKey& key) : key_(key) {}

    // A time box shows the number without leading zeros ("05" as 5); one above the box's bound shows as the bound,
    // as the box itself corrects it, so every countdown and schedule starts from a time a user could have entered.
    void TimeBox(std::string_view name, ui::TextBox& box, int bound) {
        auto n = Number(name);
        if (n && *n >= 0) box.set_text(WithinBound(std::to_string(*n), bound));
    }
    void Check(std::string_view name, ui::CheckBox& box) {
        auto n = Number(name);
        if (n && (*n == 0 || *n == 1)) box.set_value(static_cast<int>(*n));
    }
    // False when something is stored that is no position of the list.
    bool List(std::string_view name, ui::ComboBox& list) {
        if (key_.Read(name).empty()) return true;
        auto n = Number(name);
        if (!n || *n < 0 || *n >= static_cast<long>(list.items().size())) return false;
        list.set_list_index(static_cast<int>(*n));
        return true;
    }

private:
    std::optional<long> Number(std::string_view name) const { return settings::ParseStoredNumber(key_.Read(name)); }
    const settings::OpenKey& key_;
};

}  // namespace

bool IsOlderVersion(std::string_view stored, std::string_view current) {
    auto a = ParseVersion(stored);
    auto b = ParseVersion(current);
    if (a && b) return CompareVersions(*a, *b) < 0;
    // Text by character code (a text that ends where the other goes on is the smaller), so an empty one is older
    // and one that sorts after the current version (a later program's own form, say) is left alone.
    return stored < current;
}

LoadedSettings LoadSettings(Context& ctx, FileDownloadControl& fdc) {
    auto& os = ctx.os;
    OptionsDialog& o = ctx.options;
    LoadedSettings loaded;

    // The open's handle, not its result code, tells whether the key exists.
    settings::OpenKey key(os.registry, os.registry.Open(settings::kSettingsKey));
    if (!key.is_open()) FirstRun(ctx, fdc, key);

    if (auto left = settings::ParseStoredNumber(key.Read(settings::kLeft))) ctx.last_left = *left;
    if (auto top = settings::ParseStoredNumber(key.Read(settings::kTop))) ctx.last_top = *top;

    if (IsOlderVersion(key.Read(settings::kVersion), VersionText())) OfferReadmeAfterUpgrade(ctx, key.get());

    // In this order: each control's handler runs and stores again, and the schedule's check box stores the time of
    // the schedule boxes, which must hold the stored time by then.
    Rows rows(key);
    rows.TimeBox(settings::kTimerHr, o.timHrs1, kHoursBound);
    rows.TimeBox(settings::kTimerMn, o.timMin1, kMinutesBound);
    rows.TimeBox(settings::kTimerSc, o.timSec1, kSecondsBound);
    rows.Check(settings::kTimerIdle, o.chkIdle);
    rows.Check(settings::kTimerSaver, o.chkScr);
    rows.Check(settings::kTimerOther, o.chkOther1);
    rows.List(settings::kTimerOtherSelect, o.Combo1);
    rows.TimeBox(settings::kScheduleHr, o.timHrs2, kHoursBound);
    rows.TimeBox(settings::kScheduleMn, o.timMin2, kMinutesBound);
    rows.TimeBox(settings::kScheduleSc, o.timSec2, kSecondsBound);
    rows.Check(settings::kSchedule, o.chkSchedule);
    rows.Check(settings::kScheduleOther, o.chkOther2);
    rows.List(settings::kScheduleOtherSelect, o.Combo2);
    const bool modifier_usable = rows.List(settings::kHotKeyA, o.hkeyButton1);
    const bool key_usable = rows.List(settings::kHotKeyB, o.hkeyButton2);
    loaded.hotkey_pair_usable = modifier_usable && key_usable;
    rows.Check(settings::kHotKeyMouse, o.chkMouse);
    rows.Check(settings::kHotKeyEnter, o.chkEnter);
    rows.Check(settings::kHotKeySpace, o.chkSpace);
    if (!key.Read(settings::kOffMsg).empty()) {
        rows.Check(settings::kOffMsg, o.chkMsg);
        ctx.turned_off.lblOffMessage.set_visible(o.chkMsg.value() == 1);
    }
    key.Close();

    if (StartsWithWindows(os))
        o.radStartOn.set_value(true);
    else
        o.radStartOff.set_value(true);
    return loaded;
}

}  // namespace lumoff
