// The tuner's start-up against the simulated controller of every model: what the title shows, and
// when the coordinate ranges are asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "ScratchFolder.h"
#include "SimModels.h"
#include "model/Startup.h"

namespace tuner {
namespace {

class SimStartupTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("DEVLINK_SIM_TRACE", TracePath().c_str(), 1); }
    void TearDown() override { unsetenv("DEVLINK_SIM_TRACE"); }

    std::string TracePath() const { return (folder_ / "trace.txt").string(); }
    std::string Trace() const {
        std::ifstream in(TracePath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void UseProfile(const std::string& text) {
        const auto path = folder_ / "controller.profile";
        std::ofstream(path) << text;
        setenv("DEVLINK", ("sim:" + path.string()).c_str(), 1);
    }

    testsupport::ScratchFolder folder_{"tuner-sim"};
};

// What the title must show for each model, written down here rather than taken from the
// simulator's table.
struct ModelCase {
    const char* profile;
    int typeCode;
    uint32_t tx;
    uint32_t rx;
};

const ModelCase kModels[] = {{"K7P100", 94, 40, 70},    {"K7P80", 158, 32, 56},
                             {"K9P100", 164, 80, 140},  {"K9P80", 166, 64, 112},
                             {"K9PM100", 172, 96, 168}, {"K7P128", 96, 64, 112},
                             {"6310_K7P", 160, 48, 80}, {"K7P84", 176, 40, 64}};

// The test runs over the simulator's models; a model without expected values here fails.
class EveryModelTest : public SimStartupTest,
                       public ::testing::WithParamInterface<testsupport::SimModel> {};

TEST_P(EveryModelTest, TitleShowsTheSimulatedController) {
    const std::string& simulated = GetParam().name;
    const auto expected = std::find_if(std::begin(kModels), std::end(kModels),
                                       [&](const ModelCase& m) { return simulated == m.profile; });
    ASSERT_NE(expected, std::end(kModels)) << "no expected title for " << simulated;
    const ModelCase& model = *expected;
    setenv("DEVLINK", (std::string("sim:") + model.profile).c_str(), 1);

    TunerState state;
    ASSERT_EQ(StartController(state), StartupResult::kReady);
    const Titles& titles = UpdateTitles(state);

    char code[8];
    std::snprintf(code, sizeof code, "P%03d", model.typeCode);
    const std::string name = model.profile;
    EXPECT_EQ(titles.full, "TovrexTuner_K7PXXX v1.0.0.87(180308) ( M:TVX-" + name + "-" + code +
                               " (" + name + "-EVB), V:V5.120.07, T:" + std::to_string(model.tx) +
                               ", R:" + std::to_string(model.rx) + ", Ker:05.120.260115 )");
    EXPECT_EQ(state.texts.icType, "TC-" + name);
    EXPECT_EQ(state.solutionCode, model.typeCode);
    EXPECT_EQ(state.coordinateMaxima, CoordinateMaxima{});  // the models report 4095 themselves
    EXPECT_NE(Trace().find("report_info"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Models, EveryModelTest, ::testing::ValuesIn(testsupport::SimModels()),
                         [](const auto& info) { return testsupport::TestName(info.param); });

struct KernelCase {
    int major;
    int minor;
    bool asks;
};

class KernelGateTest : public SimStartupTest, public ::testing::WithParamInterface<KernelCase> {};

TEST_P(KernelGateTest, CoordinateRangesAreAskedFromKernel5Point38) {
    UseProfile("model = K7P100\nkernel_major = " + std::to_string(GetParam().major) +
               "\nkernel_minor = " + std::to_string(GetParam().minor) + "\n");

    TunerState state;
    ASSERT_EQ(StartController(state), StartupResult::kReady);

    EXPECT_EQ(Trace().find("report_info") != std::string::npos, GetParam().asks) << Trace();
    EXPECT_EQ(state.coordinateMaxima, CoordinateMaxima{});
}

INSTANTIATE_TEST_SUITE_P(Kernels, KernelGateTest,
                         ::testing::Values(KernelCase{5, 37, false}, KernelCase{5, 38, true},
                                           KernelCase{6, 0, true}, KernelCase{4, 120, false}),
                         [](const auto& info) {
                             return "Kernel" + std::to_string(info.param.major) + "_" +
                                    std::to_string(info.param.minor);
                         });

TEST_F(SimStartupTest, FailingRangeQueryIsSilent) {
    UseProfile("model = K7P100\nfail = report_info\n");

    TunerState state;
    EXPECT_EQ(StartController(state), StartupResult::kReady);
    EXPECT_EQ(state.coordinateMaxima, CoordinateMaxima{});
    EXPECT_NE(Trace().find("report_info -> failed"), std::string::npos) << Trace();
}

}  // namespace
}  // namespace tuner
