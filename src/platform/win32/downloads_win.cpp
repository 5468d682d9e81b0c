#include "platform/win32/downloads_win.h"

namespace lumoff::platform::win32 {

struct Win32Downloads::State {};

Win32Downloads::Win32Downloads() : state_(std::make_unique<State>()) {}
Win32Downloads::~Win32Downloads() = default;

bool Win32Downloads::Get(const std::string&, const DownloadLimits&, Completion) { return false; }

void Win32Downloads::CancelAll() {}

}  // namespace lumoff::platform::win32
