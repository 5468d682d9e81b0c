// The Win32 downloads: HTTP GET with WinHTTP on a worker thread per request. The worker owns nothing of the user
// interface: it writes the body to a temporary file and posts the result to a message-only window of the
// user-interface thread, whose handler runs the completion.
#pragma once

#include "platform/win32/win32_services.h"

#include <memory>

namespace lumoff::platform::win32 {

class Win32Downloads : public Downloads {
public:
    Win32Downloads();
    ~Win32Downloads() override;
    Win32Downloads(const Win32Downloads&) = delete;
    Win32Downloads& operator=(const Win32Downloads&) = delete;

    bool Get(const std::string& url, const DownloadLimits& limits, Completion done) override;
    void CancelAll() override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumoff::platform::win32
