#include "options/start_with_windows.h"

#include "settings/settings_store.h"

namespace lumoff {

std::string StartupPath(platform::Process& process) {
    std::string path = process.ExePath();
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return path;
    // The root of a drive is reported with its separator ("C:\"), so the path then holds two in a row, which the
    // system takes as one.
    const std::string folder = slash == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, slash);
    std::string name = path.substr(slash + 1);
    if (size_t dot = name.find_last_of('.'); dot != std::string::npos) name.resize(dot);
    return folder + "\\" + name + ".exe";
}

std::string StartupCommand(platform::Process& process) { return "\"" + StartupPath(process) + "\""; }

bool StartsWithWindows(platform::Platform& os) {
    settings::OpenKey run(os.registry, os.registry.Open(settings::kRunKey));
    std::string stored;
    if (!run.is_open() || os.registry.QueryUnicodeText(run.get(), settings::kRunValue, &stored) != platform::kErrorSuccess)
        return false;
    return os.process.SameFileName(stored, StartupCommand(os.process)) ||
           os.process.SameFileName(stored, StartupPath(os.process));
}

void StartWithWindows::Wire() {
    ctx_.options.radStartOn.OnClick = [this] { radStartOn_Click(); };
    ctx_.options.radStartOff.OnClick = [this] { radStartOff_Click(); };
}

void StartWithWindows::radStartOn_Click() {
    auto& os = ctx_.os;
    // Opened, or made when a profile lacks it: the write below is the one result that counts.
    settings::OpenKey run(os.registry, os.registry.Create(settings::kRunKey));
    long result = os.registry.SetUnicodeText(run.get(), settings::kRunValue, StartupCommand(os.process));
    if (result != platform::kErrorSuccess) {
        os.desktop.ShowMessage(os.view.Handle(ctx_.options), kStartupError, kProgramName,
                               platform::kMbOk | platform::kMbIconError);
        ctx_.options.radStartOff.set_value(true);
    }
}

void StartWithWindows::radStartOff_Click() {
    auto& os = ctx_.os;
    // A missing value or key: nothing to delete, and nothing to say.
    settings::OpenKey run(os.registry, os.registry.Open(settings::kRunKey));
    if (run.is_open()) os.registry.DeleteValue(run.get(), settings::kRunValue);
}

}  // namespace lumoff
