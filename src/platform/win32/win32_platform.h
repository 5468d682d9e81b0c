// The real platform: thin wrappers over the Win32 API. They decide nothing; every choice is the program's.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace lumoff::platform::win32 {

// Builds the Win32 services for this process. The returned object owns them.
class Win32Platform {
public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;
    Platform platform();

private:
    struct Services;
    std::unique_ptr<Services> services_;
};

}  // namespace lumoff::platform::win32
