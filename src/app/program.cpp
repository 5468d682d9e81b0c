#include "app/program.h"

#include "app/command_line.h"
#include "hotkey/hotkey_lists.h"
#include "settings/loader.h"
#include "settings/settings_store.h"
#include "settings/short_date.h"
#include "timed/action_lists.h"
#include "timed/time_fields.h"

namespace lumoff {

namespace {

constexpr int kWmSysCommandMonitorOff = 2;  // SC_MONITORPOWER parameter: power off
constexpr std::uint32_t kSwitchDelayMs = 200;
constexpr std::uint32_t kTrayRequestLifetimeMs = 5000;
constexpr long kFeedbackAfterDays = 10;

const char* const kNl = "\r\n";

}  // namespace

int ProbeOsGeneration(platform::Process& process) {
    platform::OsVersion v = process.QueryOsVersion();
    switch (v.platform_id) {
        case 1:  // Windows 95/98/Me
            return kOsXpOrOlder;
        case 2:  // NT
            switch (v.major) {
                case 3: return kOsUnsupported;
                case 4:
                case 5: return kOsXpOrOlder;
                case 6: return kOsVistaOrNewer;
                default: return kOsUnknownNt;
            }
        default:
            return kOsUnsupported;
    }
}

std::string ReadCommandLine(platform::Process& process) { return process.CommandLine(); }

Program::Program(platform::Platform os)
    : ctx(os, Config::FromEnvironment(os.process)),
      monitor(ctx),
      tray(ctx, monitor),
      hotkey(ctx, monitor),
      wake_options(ctx),
      start_with_windows(ctx),
      uninstall(ctx),
      housekeeping(ctx, HousekeepingActions{
                            [this] { return !monitor.KeepingOff(); },
                            [this] { tray.imgMinToTray_Click(); },
                            [this] { monitor.imgTurnOff_Click(); },
                            [this] { schedule.Check(); },
                        }),
      countdown(ctx, monitor),
      screensaver(ctx),
      schedule(ctx, monitor) {
    ctx.load_options = [this] { LoadOptionsDialog(); };
    FDC.Attach(ctx.os, ctx.config.web_host, [this] { return ctx.MainHandle(); });
    WireMainWindow();
}

void Program::WireMainWindow() {
    MainWindow& m = ctx.main;
    m.lblCaption.OnMouseDown = [this](ui::MouseButton button, int, int) {
        if (button == ui::MouseButton::Left)
            ctx.os.view.BeginCaptionDrag(ctx.main);
        else
            ctx.os.view.PopupMenu(ctx.main, ctx.Options().mnuMP);
    };
    m.lblCaption.OnDblClick = [this] { ShowAbout(); };
    m.imgTurnOff.OnClick = [this] { monitor.imgTurnOff_Click(); };
    m.imgClose.OnClick = [this] { ctx.os.process.Exit(); };
    m.imgMinToTray.OnClick = [this] { tray.imgMinToTray_Click(); };
    m.imgSettings.OnClick = [this] {
        OptionsDialog& options = ctx.Options();
        options.SetVisible(!options.visible());
    };
    m.OnCloseRequest = [this] { ctx.os.process.Exit(); };
    m.OnHotKey = [this](int) { monitor.imgTurnOff_Click(); };
    m.OnMouseMove = [this](int x, int) { tray.Form_MouseMove(x); };
    m.tmrSticky.OnTimer = [this] { housekeeping.tmrSticky_Timer(); };
}

void Program::LoadOptionsDialog() {
    OptionsDialog& o = ctx.options;
    // Closing only hides: the controls are the live settings and the timers keep running.
    o.OnCloseRequest = [&o] { o.Hide(); };
    o.mnuMP.items[0].OnClick = [this] { ShowOptionsAbout(); };
    o.mnuMP.items[1].OnClick = [this] { ctx.os.process.Exit(); };
    o.mnuMPTray.items[0].OnClick = [this] { tray.mnuExit_Click(); };
    o.mnuMPTray.items[2].OnClick = [this] { tray.mnuShow_Click(); };
    o.mnuMPTray.items[3].OnClick = [this] { tray.mnuOptions_Click(); };
    o.mnuMPTray.items[4].OnClick = [this] { tray.mnuTurnOff_Click(); };
    o.cmdReadme.OnClick = [this] {
        ctx.os.desktop.OpenUrl(ctx.os.view.Handle(ctx.options), ctx.config.Url(kReadmePath));
    };
    o.cmdUpdate.OnClick = [this] { FDC.cmdUpdate_Click(); };
    // Before the fill: the action lists' handlers consume the guards the fill arms.
    WireActionLists(o, ctx.os.registry);
    hotkey.Wire();
    WireTimeFields(o);
    countdown.Wire();
    screensaver.Wire();
    schedule.Wire();
    wake_options.Wire([this] { monitor.imgTurnOff_Click(); });
    start_with_windows.Wire();
    uninstall.Wire();
    ctx.os.view.Create(o);

    // The dialog's load: the lists and nothing else; the stored settings are put in afterwards.
    FillHotKeyLists(o);
    FillActionLists(o);
}

void Program::ShowAbout() {
    std::string text = std::string("Lumoff v") + VersionText() + kNl +
                       "Use this simple tool to turn off your Laptop/PC monitor" + kNl +
                       "or to shutdown, restart, hibernate or logoff your system";
    ctx.os.desktop.ShowMessage(ctx.MainHandle(), text, kProgramName, platform::kMbOk);
}

void Program::ShowOptionsAbout() {
    std::string text = "Version " + VersionText() + kNl + "Please visit " + ctx.config.web_host +
                       " for more info about Lumoff" + kNl + kNl + kNl +
                       "In return you can donate at the website, or just send us an" + kNl + "email to " +
                       ctx.config.support_address + " [ Please? :( ], letting" + kNl +
                       "us know we've helped you out today :D";
    ctx.os.desktop.ShowMessage(ctx.MainHandle(), text, "Lumoff :)", platform::kMbOk | platform::kMbIconInformation);
}

void Program::Run() {
    ctx.os.view.Create(ctx.main);
    Form_Load();
    // A copy that handed over to a running one keeps only its housekeeping tick until it is told to close.
    for (;;) {
        ctx.os.events.WaitMessage();
        ctx.os.events.DoEvents();
    }
}

void Program::SelectModeFromProbe() {
    ctx.os_generation = ProbeOsGeneration(ctx.os.process);
    switch (ctx.os_generation) {
        case kOsVistaOrNewer:
            ctx.Options().radVista.set_value(true);
            break;
        case kOsXpOrOlder:
            ctx.Options().radXP.set_value(true);
            break;
        case kOsUnsupported: {
            std::string text = std::string("Unsupported Windows version! Proceed anyway?") + kNl +
                               "We'd really appreciate it if you let us know" + kNl +
                               "how it works on this if you do :)" + kNl + ctx.config.support_address;
            int answer = ctx.os.desktop.ShowMessage(0, text, "Lumoff :(",
                                                   platform::kMbYesNo | platform::kMbIconExclamation);
            if (answer != platform::kIdYes) ctx.os.process.Exit();
            ctx.Options().radVista.set_value(true);
            break;
        }
        default:
            break;  // an NT version the probe does not know: the dialog's own selection stays
    }
}

void Program::Form_Load() {
    auto& os = ctx.os;
    MainWindow& main = ctx.main;
    os.process.HideFromTaskList();
    SelectModeFromProbe();

    if (EndsWithSwitch(ReadCommandLine(os.process), "/off")) {
        os.clock.Sleep(kSwitchDelayMs);
        os.desktop.SendMonitorPower(ctx.MainHandle(), kWmSysCommandMonitorOff);
        os.process.Exit();
    }
    const std::string exe = os.process.ExeName();
    if (EndsWithSwitch(ReadCommandLine(os.process), "/tray")) {
        if (os.process.PreviousInstanceRunning()) {
            main.Hide();
            main.set_title(exe + kTrayRequest);
            main.imgTurnOff.set_visible(false);
            os.clock.Sleep(kTrayRequestLifetimeMs);
            os.process.Exit();
        }
        os.clock.Sleep(kSwitchDelayMs);
        os.desktop.SendMonitorPower(ctx.MainHandle(), kWmSysCommandMonitorOff);
        monitor.imgTurnOff_Click();
        tray.imgMinToTray_Click();
    }
    if (os.process.PreviousInstanceRunning()) {
        std::string text = std::string("Lumoff is already running!") + kNl + "Do you want it shown? :)";
        int answer = os.desktop.ShowMessage(0, text, kProgramName, platform::kMbYesNo | platform::kMbIconInformation);
        if (answer != platform::kIdYes) os.process.Exit();
        main.Hide();
        main.set_title(exe + kShowRequest);
        main.imgTurnOff.set_visible(false);
        main.tmrSticky.set_enabled(true);
        return;
    }

    ctx.Options();
    const LoadedSettings loaded = LoadSettings(ctx, FDC);
    main.set_top(static_cast<float>(ctx.last_top));
    main.set_left(static_cast<float>(ctx.last_left));
    ctx.running_copy = true;
    main.ShowTopmost();
    main.tmrSticky.set_enabled(true);

    std::string tray_state, hotkey_set;
    {
        // Closed before the hotkey's registration: that runs the message loop for as long as the hotkey stays set,
        // which may be the program's whole life.
        settings::SettingsKey key(os.registry);
        tray_state = key.Read(settings::kTray);
        hotkey_set = key.Read(settings::kHotKeySet);
    }
    if (tray_state != "0" && !tray_state.empty()) tray.imgMinToTray_Click();
    // A stored pair the lists could not show is not registered: the lists' own pair is not the user's choice.
    if (hotkey_set == "1" && loaded.hotkey_pair_usable) {
        ctx.options.cmdHotKey.tag = kStartupTag;
        hotkey.cmdHotKey_Click();
    }
    FeedbackPrompt(settings::SettingsKey(os.registry).Read(settings::kIDate));
    monitor.ProcessMessages(false);
}

void Program::FeedbackPrompt(const std::string& install_date) {
    if (install_date == "-" || install_date.empty()) return;
    auto& os = ctx.os;
    const std::string pattern = os.clock.ShortDatePattern();
    // A date that does not read as one is not due; it is left as it is.
    auto since = settings::ParseShortDate(install_date, pattern);
    if (!since) return;
    platform::LocalTime now = os.clock.Now();
    settings::Date today{now.year, now.month, now.day};
    if (settings::DaysSinceEpoch(today) - settings::DaysSinceEpoch(*since) <= kFeedbackAfterDays) return;

    std::string ask = std::string("You've used Lumoff for some time now, would you like to give us a feedback?") +
                      kNl + "We'd really Really appreciate any feedback from you :) Or simply a thank you message :)";
    int answer = os.desktop.ShowMessage(ctx.MainHandle(), ask, "Lumoff :)",
                                       platform::kMbYesNo | platform::kMbIconQuestion | platform::kMbSetForeground);
    if (answer == platform::kIdYes) {
        settings::Store(os.registry, settings::kIDate, "-");
        os.desktop.OpenUrl(ctx.MainHandle(), ctx.config.Url(kFeedbackPath));
        return;
    }
    int again = os.desktop.ShowMessage(ctx.MainHandle(),
                                      "Would you like to be prompted again? We'd really love to hear from you...",
                                      "Lumoff :(", platform::kMbYesNo | platform::kMbIconQuestion);
    if (again == platform::kIdYes)
        settings::Store(os.registry, settings::kIDate, settings::FormatShortDate(today, pattern));
    else
        settings::Store(os.registry, settings::kIDate, "-");
}

}  // namespace lumoff
