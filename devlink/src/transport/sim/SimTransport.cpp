#include "transport/sim/SimTransport.h"

#include <cstdlib>
#include <cstring>

#include "sim/Controller.h"

namespace devlink::simtransport {
namespace {

constexpr const char* kPrefix = "sim:";

class SimTransport final : public Transport {
  public:
    SimTransport(const sim::Profile& profile, const sim::Options& options)
        : controller_(profile, options) {}
    bool write(const uint8_t* report64) override { return controller_.write(report64); }
    ReadResult read(uint8_t* report64, std::chrono::milliseconds timeout) override {
        switch (controller_.read(report64, timeout)) {
            case sim::ReadStatus::Ok:
                return ReadResult::Ok;
            case sim::ReadStatus::Timeout:
                return ReadResult::Timeout;
            default:
                return ReadResult::Gone;
        }
    }
    void close(bool byProgram) override { controller_.close(byProgram); }

  private:
    sim::Controller controller_;
};

// "sim:K7P100#1" -> profile "K7P100", index 1.
bool splitPath(const std::string& path, std::string& profileName, int& index) {
    if (path.rfind(kPrefix, 0) != 0) return false;
    profileName = path.substr(std::strlen(kPrefix));
    index = 0;
    const auto hash = profileName.rfind('#');
    if (hash != std::string::npos && hash + 1 < profileName.size() &&
        profileName.find_first_not_of("0123456789", hash + 1) == std::string::npos &&
        profileName.size() - hash <= 3) {
        index = std::atoi(profileName.c_str() + hash + 1);
        profileName.erase(hash);
    }
    return !profileName.empty();
}

std::string envOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<DevRecord> enumerateSpec(const std::string& profileSpec, std::string& error) {
    std::vector<DevRecord> records;
    auto profile = sim::loadProfile(profileSpec, error);
    if (!profile) return records;
    for (int i = 0; i < profile->controllers; ++i) {
        DevRecord record{};
        std::string path(kPrefix);
        path += profileSpec;
        if (i > 0) path += '#' + std::to_string(i);
        std::strncpy(record.path, path.c_str(), kDevPathSize - 1);
        record.inputLength = profile->inputLength;
        record.outputLength = profile->outputLength;
        record.id1 = profile->id1;
        record.id2 = profile->id2;
        records.push_back(record);
    }
    return records;
}

std::unique_ptr<Transport> openPath(const std::string& path, std::string& error) {
    std::string profileName;
    int index = 0;
    if (!splitPath(path, profileName, index)) {
        error = "not a simulator path: " + path;
        return nullptr;
    }
    auto profile = sim::loadProfile(profileName, error);
    if (!profile) return nullptr;
    if (index >= profile->controllers && index > 0) {
        error = "the profile has no controller " + std::to_string(index);
        return nullptr;
    }
    sim::Options options;
    options.statePath = envOrEmpty("DEVLINK_SIM_STATE");
    options.tracePath = envOrEmpty("DEVLINK_SIM_TRACE");
    options.truthPath = envOrEmpty("DEVLINK_SIM_TRUTH");
    const std::string pace = envOrEmpty("DEVLINK_SIM_PACE");
    options.reportsPerMs = pace == "fs" ? 1 : pace == "hs" ? 8 : 0;
    if (profile->faults.openFails) {
        sim::traceRefusedOpen(options);
        error = "the simulated controller refuses to open";
        return nullptr;
    }
    if (index > 0 && !options.statePath.empty()) {
        options.statePath += '#';
        options.statePath += std::to_string(index);
    }
    if (index > 0 && !options.truthPath.empty())
        options.truthPath += '#' + std::to_string(index);
    return std::make_unique<SimTransport>(*profile, options);
}

int solutionCodeOf(const std::string& path) {
    std::string profileName, error;
    int index = 0;
    if (!splitPath(path, profileName, index)) return 0;
    auto profile = sim::loadProfile(profileName, error);
    return profile ? profile->typeCode : 0;
}

}  // namespace

const Backend kBackend = {kPrefix, enumerateSpec, openPath, solutionCodeOf};

}  // namespace devlink::simtransport
