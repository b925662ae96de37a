// The calibration check and the choice of short test on the simulated panel: a forced
// calibration measures each Rx chip's value as the panel's truth has it, whatever the information
// block said, and a chip whose calibration input is broken fails the check and keeps its old value.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "PanelFixture.h"
#include "diag/CalibrationCheck.h"
#include "diag/Diagnostics.h"
#include "params/CParam_INI.h"

namespace {

class DiagnosticsSimTest : public testing::Test, protected PanelFixture {
  protected:
    void TearDown() override { Close(); }

    // Loads settings that force the calibration.
    void ForceCalibration() {
        std::ofstream(C().Ini().SettingsPath())
            << "[Sensor Test]\nForceCalibration = 1\nCalTolerance = 20\n";
        testing::internal::CaptureStdout();
        const int loaded = C().Ini().LoadTxtFile();
        const std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_EQ(loaded, 0) << printed;
        ASSERT_EQ(C().Ini().ForceCalibration(), 1);
    }

    uint32_t Check() {
        testing::internal::CaptureStdout();
        const uint32_t result = CheckCalibration(C());
        printed_ = testing::internal::GetCapturedStdout();
        return result;
    }

    std::string printed_;
};

struct GainCase {
    const char* model;
    int typeCode;
    const char* chipGain;
    uint32_t expected;
};

class ForcedCalibration : public DiagnosticsSimTest,
                          public testing::WithParamInterface<GainCase> {};

TEST_P(ForcedCalibration, GivesEveryChipItsTrueValue) {
    const GainCase& c = GetParam();
    // The information block holds 90 for every chip: only a measurement finds the true values.
    Open(std::string("model = ") + c.model + "\ncalibration = 90\nchip_gain = " + c.chipGain,
         c.typeCode);
    ASSERT_FALSE(HasFatalFailure());
    ForceCalibration();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(C().Geometry().calValue[0], 90);

    EXPECT_EQ(Check(), c.expected) << printed_;
    const std::vector<double> truth = Truth().Numbers("calibration");
    ASSERT_EQ(truth.size(), C().Geometry().numRxChips);
    for (size_t i = 0; i < truth.size(); ++i) {
        EXPECT_EQ(C().Geometry().calValue[i], truth[i]) << "chip " << i;
        EXPECT_NE(printed_.find("IC" + std::to_string(i) + " Calibrating Value =" +
                                std::to_string(static_cast<int>(truth[i])) + "\n"),
                  std::string::npos)
            << printed_;
    }
}

// Gains of 1.25 and 0.8333 give 80 and 120, the edges of the tolerance of 20.
INSTANTIATE_TEST_SUITE_P(
    Chips, ForcedCalibration,
    testing::Values(GainCase{"K7P100", 94, "1.0", 0}, GainCase{"K7P100", 94, "1.25", 0},
                    GainCase{"K7P128", 96, "0.8333", 0}, GainCase{"K7P128", 96, "1.25", 0},
                    GainCase{"K7P84", 176, "1.25", 0}, GainCase{"K7P84", 176, "0.8333", 0},
                    GainCase{"K9P100", 164, "1.0,1.33", 4}),
    [](const testing::TestParamInfo<GainCase>& info) {
        std::string name = std::string(info.param.model) + "_" + info.param.chipGain;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(DiagnosticsSimTest, UnreadableInputFailsAndKeepsTheOldValue) {
    Open("model = K7P100\ncalibration = 90\ncalibration_unreadable = 1", 94);
    ASSERT_FALSE(HasFatalFailure());
    ForceCalibration();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Check(), 3u);
    EXPECT_NE(printed_.find("Calibrating Fail...\n"), std::string::npos) << printed_;
    EXPECT_EQ(printed_.find("Calibrating Value"), std::string::npos) << printed_;
    EXPECT_EQ(C().Geometry().calValue[0], 90);
}

TEST_F(DiagnosticsSimTest, WithoutForcingTheHeldValuesAreJudged) {
    // Measured, the chip would give 100; unforced, the held 75 fails the tolerance.
    Open("model = K7P100\ncalibration = 75", 94);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Check(), 4u);
    EXPECT_NE(printed_.find("IC0 Calibrating Value =75\n"), std::string::npos) << printed_;
    EXPECT_NE(printed_.find("Calibrating Delta Value =25\n"), std::string::npos) << printed_;
    EXPECT_EQ(Trace().find("set_test_mode"), std::string::npos) << "measured without forcing";
}

// The classifying short test needs both a model whose firmware has it and a kernel above 2.34.
TEST_F(DiagnosticsSimTest, ShortTestFormFollowsModelAndKernel) {
    struct {
        const char* model;
        int typeCode;
        uint8_t major, minor;
        bool classifying;
    } const cases[] = {
        {"K7P100", 94, 5, 120, true},  {"K7P100", 94, 2, 35, true},   {"K7P100", 94, 2, 34, false},
        {"K7P100", 94, 1, 99, false},  {"6310_K7P", 160, 3, 0, true}, {"K7P128", 96, 5, 120, false},
        {"K7P84", 176, 5, 120, false},
    };
    for (const auto& c : cases) {
        Open(c.model, c.typeCode);
        ASSERT_FALSE(HasFatalFailure());
        C().EditIdentity().kernelMajor = c.major;
        C().EditIdentity().kernelMinor = c.minor;
        EXPECT_EQ(UsesClassifyingShortTest(C()), c.classifying)
            << c.model << " kernel " << int{c.major} << "." << int{c.minor};
        Close();
    }
}

}  // namespace
