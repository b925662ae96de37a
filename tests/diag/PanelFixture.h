// The builder's model of a simulated controller whose panel a profile describes, opened and
// initialised as start-up does, with the simulator's truth file and trace in a fresh folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TruthFile.h"
#include "chips/CSlave.h"
#include "device/CAPI.h"
#include "device/DevLinkApi.h"
#include "diag/CTuneData.h"
#include "params/CParam_HW.h"
#include "shell/Controller.h"

// One simulated model of each chip family.
struct ChipCase {
    const char* model;
    int typeCode;
};
inline const ChipCase kChipCases[] = {{"K7P100", 94}, {"K7P128", 96}, {"K7P84", 176}};

inline void PrintTo(const ChipCase& c, std::ostream* os) {
    *os << c.model;
}

inline std::string ChipCaseName(const testing::TestParamInfo<ChipCase>& info) {
    return info.param.model;
}

class PanelFixture {
  public:
    // Opens the first controller of a profile: a model name, or "model = ..." profile text.
    void Open(const std::string& profile, int typeCode) {
        char pattern[] = "/tmp/panel-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        std::string device = profile;
        if (profile.find('=') != std::string::npos) {
            device = (folder_ / "panel.profile").string();
            std::ofstream(device) << profile << '\n';
        }
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        setenv("DEVLINK", ("sim:" + device).c_str(), 1);
        setenv("DEVLINK_SIM_TRUTH", TruthPath().c_str(), 1);
        setenv("DEVLINK_SIM_TRACE", TracePath().c_str(), 1);

        DevRecord record{};
        devEnumerate(
            nullptr,
            [](DevRecord* r, const char*, void* ctx, uint32_t, uint32_t, uint16_t, uint16_t) {
                *static_cast<DevRecord*>(ctx) = *r;
                return 1;
            },
            &record);
        ASSERT_NE(record.path[0], '\0') << "the profile is not usable";
        DevHandle handle = devOpen(record);
        ASSERT_NE(handle, nullptr);
        ControllerOptions options;
        options.workingFolder = folder_.string() + "/";
        controller_ = std::make_unique<CController>(RealDevLink(), handle, record, typeCode,
                                                    "model", options);
        controller_->CreateObjects();
        testing::internal::CaptureStdout();
        controller_->Initialise();
        controller_->SubscribeDisconnect([](void* c, int, const DevReport*) {
            static_cast<CController*>(c)->MarkDisconnected();
        });
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(controller_->Api().SwitchWorkMode(0x8000));
    }

    void Close() {
        controller_.reset();
        unsetenv("DEVLINK");
        unsetenv("DEVLINK_SIM_TRUTH");
        unsetenv("DEVLINK_SIM_TRACE");
        if (!previous_.empty()) std::filesystem::current_path(previous_);
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }

    std::string TruthPath() const { return (folder_ / "truth.txt").string(); }
    std::string TracePath() const { return (folder_ / "trace.txt").string(); }
    TruthFile Truth() const { return TruthFile(TruthPath()); }
    std::string Trace() const {
        std::ifstream in(TracePath());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    CController& C() { return *controller_; }
    CTuneData& Data() { return controller_->TuneData(); }
    CSlave& Chip() { return controller_->Chip(); }

    // Frame row t as the workspace holds it.
    std::vector<int> FrameRow(int t) {
        std::vector<int> row;
        for (int r = 0; r < controller_->rxCount; ++r) row.push_back(Data().FrameValue(t, r));
        return row;
    }

    std::filesystem::path folder_, previous_;
    std::unique_ptr<CController> controller_;
};
