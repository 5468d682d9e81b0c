#include "forms/config.h"

#include "forms/web_address.h"

namespace lumoff {

std::string VersionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

Config Config::FromEnvironment(platform::Process& process) {
    Config config;
    std::string host = process.EnvironmentVariable(kWebHostVariable);
    while (!host.empty() && host.back() == '/') host.pop_back();
    // Every address the program opens is this host and a path of its own, so a value that is no clean web host is
    // passed over, and the built-in host stays.
    if (IsWebHost(host)) config.web_host = host;
    return config;
}

}  // namespace lumoff
