// The disconnect notice arrives on the device library's thread while the main thread works with
// the controller: the flag, the count and the teardown must stay sound (also run under TSan).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ScratchFolder.h"
#include "controller/Controller.h"
#include "device/CAPI.h"
#include "shell/Discovery.h"

namespace {

class DisconnectThreads : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        CloseController();
        unsetenv("DEVLINK");
        std::filesystem::current_path(previous_);
    }
    void UseProfile(const std::string& text) {
        const auto path = folder_ / "profile.txt";
        std::ofstream(path) << text;
        setenv("DEVLINK", ("sim:" + path.string()).c_str(), 1);
    }
    testsupport::ScratchFolder scratch_{"disconnect-test"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::filesystem::path previous_;
};

TEST_F(DisconnectThreads, TheNoticeMarksTheControllerWhileTheMainThreadPolls) {
    // Initialisation answers 15 requests; the next one brings the notice.
    UseProfile("model = K7P100\ndisconnect_after = 16\n");
    BuilderOptions options;
    ASSERT_TRUE(DiscoverController(options));
    CController* c = TheController();
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->Disconnected());
    EXPECT_EQ(ControllerCount(), 1);

    c->Api().SwitchWorkMode(0x8000);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!c->Disconnected() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(c->Disconnected());
    EXPECT_EQ(ControllerCount(), 0);
    // Every later call fails, and closing still tears everything down.
    EXPECT_FALSE(c->Api().SwitchWorkMode(0));
    CloseController();
    EXPECT_EQ(TheController(), nullptr);
}

TEST_F(DisconnectThreads, ClosingWhileNoticesMayArriveIsSafe) {
    for (int round = 0; round < 5; ++round) {
        UseProfile("model = K9PM100\ndisconnect_after = " + std::to_string(17 + round) + "\n");
        BuilderOptions options;
        ASSERT_TRUE(DiscoverController(options)) << round;
        TheController()->Api().SwitchWorkMode(0x8000);
        CloseController();  // the subscription goes before the controller is freed
        EXPECT_EQ(TheController(), nullptr);
    }
}

}  // namespace
