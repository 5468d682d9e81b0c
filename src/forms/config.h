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
// The maker's web host: set when the program is built (the CMake cache variable LUMOFF_WEBHOST), and replaced at run
// time by the environment variable of the same name, for mirrors and tests, when that names a clean web host
// (IsWebHost). The readme, feedback, update and install-ping addresses are this host and the paths below.
#ifndef LUMOFF_DEFAULT_WEBHOST
#define LUMOFF_DEFAULT_WEBHOST "https://www.brevald.example"
#endif
inline constexpr const char* kDefaultWebHost = LUMOFF_DEFAULT_WEBHOST;
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
