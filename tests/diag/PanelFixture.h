// The builder's model of a simulated controller whose panel a profile describes, opened and
// initialised as start-up does, with the simulator's truth file and trace in a fresh folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "TruthFile.h"
#include "chips/CSlave.h"
#include "device/CAPI.h"
#include "device/DevLinkApi.h"
#include "diag/CTuneData.h"
#include "params/CParam_HW.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

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

// What the gain search makes of one sample set: the best sample (the largest amplitude over the
// channels, first on ties), its smallest and largest amplitude, and the mean amplitude of it.
struct Peaks {
    int a = 0, b = 0;
    double mean = 0;
};

// The gain search's amplitude of a sample word: the swing between the low (negative) and high
// (positive) byte, scaled by 1.22 and halved, clipped to 127 when positive.
inline int Amplitude(int16_t word) {
    const int a = static_cast<int8_t>(word & 0xFF), b = static_cast<int8_t>((word >> 8) & 0xFF);
    int v = static_cast<int16_t>((b - a) * 1.22) >> 1;
    if (v > 127) v = 127;
    return std::abs(v);
}

class PanelFixture {
  public:
    // The AFE samples of the gain-test preset at RS and gain on the line of phase target 4, as
    // the gain search reads them; `image` is the register image the preset starts from.
    Peaks SwingAt(std::array<uint8_t, 68>& image_, int rs, int gain) {
        Peaks p;
        EXPECT_TRUE(Chip().EnterGainTestMode(image_, CSlave::kScanImage));
        EXPECT_TRUE(Chip().WriteRs(CSlave::kAllChips, image_, rs));
        EXPECT_TRUE(Chip().WriteAfeGain(CSlave::kAllChips, image_, gain));
        const int line = C().Hw().PhaseTarget(4);
        EXPECT_TRUE(C().Api().SetTestMode(static_cast<uint8_t>(line), static_cast<uint8_t>(line)));
        if (!Data().AcquireAfeSamples(gain, CSlave::kScanImage, image_)) {
            ADD_FAILURE() << "no samples at RS " << rs << ", gain " << gain;
            return p;
        }
        const int rows = Chip().GetSinTableLength(image_), channels = C().Geometry().rxCount;
        int best = 0, bestMax = -1;
        for (int s = 0; s < rows; ++s) {
            int most = 0;
            for (int c = 0; c < channels; ++c)
                most = std::max(most, Amplitude(Data().FrameValue(s, c)));
            if (most > bestMax) bestMax = most, best = s;
        }
        p.a = 1 << 30;
        for (int c = 0; c < channels; ++c) {
            const int amp = Amplitude(Data().FrameValue(best, c));
            p.a = std::min(p.a, amp);
            p.b = std::max(p.b, amp);
            p.mean += amp / static_cast<double>(channels);
        }
        return p;
    }

    // Opens the first controller of a profile: a model name, or "model = ..." profile text.
    void Open(const std::string& profile, int typeCode) {
        scratch_.emplace("panel-test");
        folder_ = scratch_->Path();
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
        options_.folders.workingFolder = folder_.string() + "/";
        controller_ = std::make_unique<CController>(RealDevLink(), handle, record, typeCode,
                                                    "model", options_);
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
        scratch_.reset();
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
        for (int r = 0; r < controller_->Geometry().rxCount; ++r) row.push_back(Data().FrameValue(t, r));
        return row;
    }

    std::optional<testsupport::ScratchFolder> scratch_;
    std::filesystem::path folder_, previous_;
    BuilderOptions options_;  // read by the controller, so it outlives it
    std::unique_ptr<CController> controller_;
};
