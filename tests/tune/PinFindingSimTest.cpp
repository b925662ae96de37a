// Pin finding that ends without a result leaves nothing of its test ranges behind in the builder:
// the working hardware image and the channel counts are those read from the controller, so no
// later command of the same session can store the test ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PanelFixture.h"
#include "core/BuilderLog.h"
#include "tune/PinFinding.h"

namespace {

struct Ending {
    const char* name;
    const char* profile;
    bool result;
    const char* message;
    bool framesStop = false;  // shorter waits, so that the tries run out quickly
};

class PinFindingSimTest : public testing::TestWithParam<Ending>, protected PanelFixture {
  protected:
    void TearDown() override { Close(); }
};

TEST_P(PinFindingSimTest, RestoresTheImageAndTheChannelCounts) {
    Open(std::string("model = K9P100\nwiring_unknown = 1\n") + GetParam().profile, 164);
    ASSERT_FALSE(HasFatalFailure());
    CParam_HW& hw = C().Hw();
    ASSERT_TRUE(hw.HasFirstRead());
    const std::vector<uint8_t> image(hw.Image(), hw.Image() + CParam_HW::kImageLength);
    const int tx = C().Geometry().txCount, rx = C().Geometry().rxCount;
    const int info3 = C().Identity().channelInfo[3], info4 = C().Identity().channelInfo[4];

    if (GetParam().framesStop) Data().SetWaitPeriod(std::chrono::milliseconds(5));
    TestLog().Open(0, "pins");  // a plain file of this test's own
    testing::internal::CaptureStdout();
    EXPECT_EQ(FindSensorPins(C()), GetParam().result);
    testing::internal::GetCapturedStdout();
    std::ifstream in(TestLog().Path());
    const std::string log(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(log.find(GetParam().message), std::string::npos) << log;

    EXPECT_TRUE(std::equal(image.begin(), image.end(), hw.Image()));
    EXPECT_EQ(C().Geometry().txCount, tx);
    EXPECT_EQ(C().Geometry().rxCount, rx);
    EXPECT_EQ(C().Identity().channelInfo[3], info3);
    EXPECT_EQ(C().Identity().channelInfo[4], info4);
    EXPECT_EQ(Trace().find("flag=1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, PinFindingSimTest,
    testing::Values(Ending{"NoWiredPins", "no_wired_pins = 1", true,
                           "Can't find Pin define, Please fit it by yourself"},
                    Ending{"TestImageRefused", "refuse_write = hw", false, "Set Parameter Fail"},
                    Ending{"FramesStop", "frames_stop_after = 0", false, "Get Data Fail", true}),
    [](const testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

}  // namespace
