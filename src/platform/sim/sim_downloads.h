// The simulated downloads: a test scripts what the server answers for each address (a body, an HTTP error status, a
// refused connection, a server that never answers), and the answer arrives as a message through the copy's virtual
// event loop after a virtual delay. Temporary files are kept in memory, so a test sees exactly which are left.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lumoff::platform::sim {

class SimWorld;

struct SimAnswer {
    enum class Kind { kBody, kStatus, kRefused, kStall };
    Kind kind = Kind::kRefused;
    std::string body;
    int status = 200;
    // Virtual time from the request to the answer (a stall ends only at the request's timeout).
    std::uint32_t delay_ms = 50;

    static SimAnswer Body(std::string body, std::uint32_t delay_ms = 50) {
        return {Kind::kBody, std::move(body), 200, delay_ms};
    }
    static SimAnswer Status(int status) { return {Kind::kStatus, "<html>error</html>", status, 50}; }
    static SimAnswer Refused() { return {Kind::kRefused, {}, 0, 5}; }
    static SimAnswer Stall() { return {Kind::kStall, {}, 0, 0}; }
};

struct SimRequest {
    std::string url;
    DownloadLimits limits;
    std::uint64_t at_ms;
};

class SimDownloads : public Downloads {
public:
    explicit SimDownloads(SimWorld& world) : world_(world) {}

    bool Get(const std::string& url, const DownloadLimits& limits, Completion done) override;
    void CancelAll() override;

    // Queues the next answer for the address; a request with none queued is refused, as with no server there.
    void Answer(const std::string& url, SimAnswer answer) { answers_[url].push_back(std::move(answer)); }
    // Get fails at once (the system cannot start a request at all).
    bool refuse_start = false;

    std::vector<SimRequest> requests;
    // The temporary files that exist now, by path, with their content.
    std::map<std::string, std::string> temp_files;
    // Downloads started and not yet completed or cancelled.
    std::size_t running() const { return running_.size(); }

private:
    class File;
    void Finish(std::uint64_t id);

    struct Running {
        SimAnswer answer;
        DownloadLimits limits;
        std::string path;
        Completion done;
    };
    SimWorld& world_;
    std::map<std::string, std::deque<SimAnswer>> answers_;
    std::map<std::uint64_t, Running> running_;
    std::uint64_t next_id_ = 1;
};

}  // namespace lumoff::platform::sim
