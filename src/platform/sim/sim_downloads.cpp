#include "platform/sim/sim_downloads.h"

#include "platform/sim/sim.h"

namespace lumoff::platform::sim {

// A temporary file of the simulated disk; it is removed when the object goes, as the real one is.
class SimDownloads::File : public TempFile {
public:
    File(SimDownloads& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
    ~File() override { owner_.temp_files.erase(path_); }
    const std::string& path() const override { return path_; }
    bool ReadAll(std::string& content) override {
        auto it = owner_.temp_files.find(path_);
        if (it == owner_.temp_files.end()) return false;
        content = it->second;
        return true;
    }

private:
    SimDownloads& owner_;
    std::string path_;
};

bool SimDownloads::Get(const std::string& url, const DownloadLimits& limits, Completion done) {
    if (refuse_start) return false;
    requests.push_back({url, limits, world_.now_ms()});
    SimAnswer answer;
    if (auto it = answers_.find(url); it != answers_.end() && !it->second.empty()) {
        answer = std::move(it->second.front());
        it->second.pop_front();
    }
    const std::uint64_t id = next_id_++;
    std::string path = "C:\\Temp\\lmf" + std::to_string(id) + ".tmp";
    temp_files[path] = "";
    const std::uint64_t due =
        world_.now_ms() + (answer.kind == SimAnswer::Kind::kStall ? limits.timeout_ms : answer.delay_ms);
    running_[id] = Running{std::move(answer), limits, std::move(path), std::move(done)};
    world_.At(due, [this, id] { Finish(id); });
    return true;
}

void SimDownloads::Finish(std::uint64_t id) {
    auto it = running_.find(id);
    if (it == running_.end()) return;  // cancelled
    Running r = std::move(it->second);
    running_.erase(it);
    DownloadResult result;
    switch (r.answer.kind) {
        case SimAnswer::Kind::kBody:
            if (r.answer.body.size() > r.limits.max_bytes) {
                result.error = "the answer is too long";
                break;
            }
            temp_files[r.path] = r.answer.body;
            result.file = std::make_unique<File>(*this, r.path);
            break;
        case SimAnswer::Kind::kStatus:
            result.error = "HTTP status " + std::to_string(r.answer.status);
            break;
        case SimAnswer::Kind::kRefused:
            result.error = "connection refused";
            break;
        case SimAnswer::Kind::kStall:
            result.error = "timed out";
            break;
    }
    if (!result.file) temp_files.erase(r.path);
    r.done(std::move(result));
}

void SimDownloads::CancelAll() {
    for (const auto& [id, r] : running_) temp_files.erase(r.path);
    running_.clear();
}

}  // namespace lumoff::platform::sim
