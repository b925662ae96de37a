// The device handle is closed once, whichever way the tuner ends.
#include <gtest/gtest.h>

#include "FakeDevlink.h"
#include "model/Startup.h"

namespace tuner {
namespace {

class DeviceSessionTest : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }
    fake::Controller& device() { return fake::Device(); }
};

TEST_F(DeviceSessionTest, PageCloseThenStartupCloseClosesOnceInNormalMode) {
    {
        TunerState state;
        ASSERT_EQ(StartController(state), StartupResult::kReady);
        state.device.ReturnToNormalAndClose();  // the first page that goes away
        state.device.ReturnToNormalAndClose();  // the second page
        state.device.Close();                   // start-up after the sheet
    }                                           // and the state itself
    EXPECT_EQ(device().Count("devSwitchWorkMode 0x0000"), 1);
    EXPECT_EQ(device().Count("devClose"), 1);
    EXPECT_EQ(device().handleCallsWithBadHandle, 0);
}

TEST_F(DeviceSessionTest, HandleStillHeldAtTheEndIsClosed) {
    {
        TunerState state;
        ASSERT_EQ(StartController(state), StartupResult::kReady);
    }
    EXPECT_EQ(device().Count("devClose"), 1);
}

TEST_F(DeviceSessionTest, ControllerThatIsGoneIsNotClosed) {
    {
        TunerState state;
        ASSERT_EQ(StartController(state), StartupResult::kReady);
        state.device.Forget();
        state.device.ReturnToNormalAndClose();
    }
    EXPECT_EQ(device().Count("devClose"), 0);
    EXPECT_EQ(device().Count("devSwitchWorkMode 0x0000"), 0);
}

}  // namespace
}  // namespace tuner
