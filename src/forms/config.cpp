#include "forms/config.h"

namespace lumoff {

std::string VersionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

Config Config::FromEnvironment(platform::Process& process) {
    Config config;
    std::string host = process.EnvironmentVariable(kWebHostVariable);
    if (!host.empty()) {
        while (!host.empty() && host.back() == '/') host.pop_back();
        config.web_host = host;
    }
    return config;
}

}  // namespace lumoff
