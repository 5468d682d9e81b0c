// The program's version and the maker's addresses: the configuration constants, in one place.
#pragma once

#include <string>

#include "lumoff_version.h"
#include "platform/platform.h"

namespace lumoff {

inline constexpr int kVersionMajor = LUMOFF_VERSION_MAJOR;
inline constexpr int kVersionMinor = LUMOFF_VERSION_MINOR;
inline constexpr int kVersionRevision = LUMOFF_VERSION_REVISION;

// "1.1.2": plain decimals without leading zeros.
std::string VersionText();

inline constexpr const char* kProgramName = "Lumoff";
// The maker's web host (plain HTTP). The environment variable LUMOFF_WEBHOST replaces it, for mirrors and tests.
inline constexpr const char* kDefaultWebHost = "http://www.brevald.example";
inline constexpr const char* kWebHostVariable = "LUMOFF_WEBHOST";
inline constexpr const char* kSupportAddress = "support@brevald.example";

struct Config {
    std::string web_host = kDefaultWebHost;
    std::string support_address = kSupportAddress;

    static Config FromEnvironment(platform::Process& process);
    std::string Url(const char* path) const { return web_host + path; }
};

inline constexpr const char* kReadmePath = "/files/lumoff/readme.txt";
inline constexpr const char* kFeedbackPath = "/files/lumoff/feedback.php";
inline constexpr const char* kUpdateInfoPath = "/files/lumoff11/updateinfo.txt";
inline constexpr const char* kValidatePath = "/files/lumoff11/validate.vdt";

}  // namespace lumoff
