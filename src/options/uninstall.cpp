#include "options/uninstall.h"

#include <string>

#include "settings/settings_store.h"

namespace lumoff {

void DeleteAllValues(platform::Registry& registry, platform::RegKey key) {
    std::string name;
    std::uint32_t count = 0;
    while (registry.EnumValueName(key, count, &name) == platform::kErrorSuccess) ++count;
    // Each deletion moves the values behind it up one place, so the walk stays at the first value it could not
    // delete. Every value gets one try, so the walk ends whatever the registry answers.
    std::uint32_t index = 0;
    for (std::uint32_t tries = 0; tries < count; ++tries) {
        if (registry.EnumValueName(key, index, &name) != platform::kErrorSuccess) break;
        if (registry.DeleteValue(key, name) != platform::kErrorSuccess) ++index;
    }
}

void Uninstall::Wire() {
    ctx_.options.cmdReg.OnClick = [this] { cmdReg_Click(); };
}

void Uninstall::cmdReg_Click() {
    auto& os = ctx_.os;
    constexpr unsigned kQuestion = platform::kMbYesNo | platform::kMbIconQuestion;
    const platform::WindowRef owner = os.view.Handle(ctx_.options);
    if (os.desktop.ShowMessage(owner, kUninstallQuestion, "Lumoff :(", kQuestion) != platform::kIdYes) return;
    if (os.desktop.ShowMessage(owner, kUninstallFeedbackQuestion, "Lumoff :(", kQuestion) == platform::kIdYes)
        os.desktop.OpenUrl(0, ctx_.config.Url(kFeedbackPath));

    // Results are not looked at: whatever is left, the program ends.
    {
        settings::SettingsKey settings(os.registry);
        if (settings.is_open()) {
            DeleteAllValues(os.registry, settings.get());
            os.registry.DeleteKey(settings.get(), "");
        }
    }
    {
        settings::OpenKey run(os.registry, os.registry.Open(settings::kRunKey));
        if (run.is_open()) os.registry.DeleteValue(run.get(), settings::kRunValue);
    }
    os.process.Exit();
}

}  // namespace lumoff
