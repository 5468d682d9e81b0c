#include "platform/win32/win32_platform.h"

#include "platform/win32/downloads_win.h"
#include "platform/win32/view_win.h"
#include "platform/win32/win32_services.h"

namespace lumoff::platform::win32 {

struct Win32Platform::Services {
    Win32Registry registry;
    Win32Clock clock;
    Win32Process process;
    Win32Desktop desktop;
    Win32View view;
    Win32Tray tray;
    Win32Downloads downloads;
};

Win32Platform::Win32Platform() : services_(std::make_unique<Services>()) {}
Win32Platform::~Win32Platform() = default;

Platform Win32Platform::platform() {
    Services& s = *services_;
    return Platform{s.registry, s.clock, s.process, s.desktop, s.view, s.view, s.tray, s.downloads};
}

}  // namespace lumoff::platform::win32
