// The draw-test page's side of the controller against the simulated one: the requests of the page
// (thresholds, frequency, information stream, restart) and the scripted hand that the controller
// plays in its touch modes, drawn through the page's model.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ScratchFolder.h"
#include "model/DrawTestDevice.h"
#include "model/DrawTestMessages.h"
#include "model/DrawTestModel.h"
#include "model/Startup.h"

namespace tuner {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Collects the reports of one kind on the library's thread.
class Collector {
  public:
    static void Handle(void* context, int, const DevReport* report) {
        auto* self = static_cast<Collector*>(context);
        std::lock_guard lock(self->mutex_);
        self->reports_.push_back(*report);
        self->arrived_.notify_all();
    }
    // Waits until the condition holds for what arrived, or the time-out; answers a copy.
    template <typename Condition>
    std::vector<DevReport> WaitFor(Condition done, std::chrono::milliseconds timeout = 10s) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, timeout, [&] { return done(reports_); });
        return reports_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        reports_.clear();
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<DevReport> reports_;
};

class SimDrawTestTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (DevSubscription s : subscriptions_) devRemoveReportHandler(Handle(), s);
        state_.device.Close();
    }
    void Start(const std::string& profile, const std::string& model = "K7P100") {
        std::ofstream(folder_ / "controller.profile") << "model = " << model << "\n" << profile;
        setenv("DEVLINK", ("sim:" + (folder_ / "controller.profile").string()).c_str(), 1);
        ASSERT_EQ(StartController(state_), StartupResult::kReady);
    }
    DevHandle Handle() const { return state_.device.Handle(); }
    void Subscribe(Collector& collector, uint8_t kind, uint8_t sub) {
        subscriptions_.push_back(
            devAddReportHandler(Handle(), kind, sub, &collector, Collector::Handle));
    }

    testsupport::ScratchFolder folder_{"tuner-draw-sim"};
    TunerState state_;
    std::vector<DevSubscription> subscriptions_;
};

TEST_F(SimDrawTestTest, ThresholdListsAndSelections) {
    Start("", "K9PM100");  // a model that scans for the stylus
    DrawTestDevice device;
    EXPECT_TRUE(device.BeginActivation(Handle()).empty());
    EXPECT_TRUE(device.EndActivation(Handle()).empty());
    EXPECT_GE(device.TouchThresholds().entries.size(), 1u);
    EXPECT_EQ(device.TouchThresholds().entries[0], "Threshold-0");
    ASSERT_GE(device.StylusThresholds().entries.size(), 2u);
    EXPECT_EQ(device.StylusThresholds().entries[1], "PenThreshold-1");
    EXPECT_TRUE(device.SelectStylusThreshold(Handle(), 1).empty());
    // A mode the controller does not have is refused.
    const Messages refused = device.SelectTouchThreshold(Handle(), 9);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].text, kThresholdFailMessage.text);
    DrawTestDevice again;
    again.ReadThresholdLists(Handle());
    EXPECT_EQ(again.StylusThresholds().selected, 1);
}

TEST_F(SimDrawTestTest, UnreadableStylusThresholdsLeaveOneEntry) {
    Start("fail = pen_threshold_mode\n", "K9PM100");
    DrawTestDevice device;
    device.ReadThresholdLists(Handle());
    EXPECT_EQ(device.StylusThresholds().entries, std::vector<std::string>{"PenThreshold-0"});
    EXPECT_EQ(device.StylusThresholds().selected, 0);
}

TEST_F(SimDrawTestTest, FrequencyStepsWrapRound) {
    Start("");
    DrawTestDevice device;
    device.BeginActivation(Handle());
    const int count = device.Frequency().count;
    ASSERT_GT(count, 1);
    EXPECT_NE(device.Frequency().text.find(" KHz"), std::string::npos);
    const int start = device.Frequency().index;
    for (int i = 0; i < count; ++i) EXPECT_TRUE(device.StepFrequency(Handle(), true).empty());
    EXPECT_EQ(device.Frequency().index, start);
    while (device.Frequency().index != 0) device.StepFrequency(Handle(), false);
    device.StepFrequency(Handle(), false);
    EXPECT_EQ(device.Frequency().index, count - 1);
    device.StepFrequency(Handle(), true);
    EXPECT_EQ(device.Frequency().index, 0);
}

TEST_F(SimDrawTestTest, NoFrequencyTableMeansNothingToStep) {
    const fs::path trace = folder_ / "trace.txt";
    setenv("DEVLINK_SIM_TRACE", trace.c_str(), 1);
    Start("fail = frequency_table\n");
    DrawTestDevice device;
    device.BeginActivation(Handle());
    EXPECT_EQ(device.Frequency().count, 0);
    EXPECT_EQ(device.Frequency().text, "");
    EXPECT_TRUE(device.StepFrequency(Handle(), false).empty());
    EXPECT_TRUE(device.StepFrequency(Handle(), true).empty());
    state_.device.Close();
    unsetenv("DEVLINK_SIM_TRACE");
    std::ifstream in(trace);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(text.find("frequency_table -> failed"), std::string::npos) << text;
    EXPECT_EQ(text.find("set_frequency"), std::string::npos) << text;
}

TEST_F(SimDrawTestTest, InformationStreamFollowsTheModeAndTheFrequency) {
    Start("error_flags = 0x40\n");
    Collector touch, stylus;
    Subscribe(touch, 0x3F, 0x68);
    Subscribe(stylus, 0x3F, 0x70);
    DrawTestDevice device;
    device.BeginActivation(Handle());
    EXPECT_EQ(device.ErrorText(), "0x00000040");
    EXPECT_EQ(device.ErrorNames(), "ERR_T310_INVALID, ERR_RX_INVALID, ");
    device.EndActivation(Handle());
    EXPECT_TRUE(device.SetInfoBox(Handle(), InfoMode::kTouch, true).empty());
    device.StepFrequency(Handle(), true);
    const int index = device.Frequency().index;
    const auto reports = touch.WaitFor(
        [&](const auto& r) { return !r.empty() && DecodeTouchInfo(r.back()).freqIndex == index; });
    ASSERT_FALSE(reports.empty());
    const TouchInfo info = DecodeTouchInfo(reports.back());
    EXPECT_EQ(info.freqIndex, index);
    EXPECT_EQ(info.errorWord, 0x40u);
    EXPECT_EQ(info.threshold, device.TouchThresholds().selected);

    EXPECT_TRUE(device.SetInfoBox(Handle(), InfoMode::kStylus, true).empty());
    const auto pen = stylus.WaitFor([](const auto& r) { return r.size() >= 4; });
    ASSERT_GE(pen.size(), 4u);
    std::set<int> states;
    for (const DevReport& r : pen) states.insert(DecodeStylusInfo(r).scanState);
    EXPECT_GE(states.size(), 2u);  // the scan states cycle

    // The restart turns the stream off in the controller; the page turns it on again.
    const Messages restart = device.Restart(Handle(), [] { return true; });
    ASSERT_EQ(restart.size(), 1u);
    EXPECT_EQ(restart[0].text, kRestartOkMessage.text);
    stylus.Clear();
    EXPECT_GE(stylus.WaitFor([](const auto& r) { return !r.empty(); }).size(), 1u);
}

TEST_F(SimDrawTestTest, FailingInformationSwitchKeepsTheChosenMode) {
    Start("fail = set_info_report\n");
    DrawTestDevice device;
    const Messages messages = device.SetInfoBox(Handle(), InfoMode::kStylus, true);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kNoPenInfoMessage.text);
    EXPECT_EQ(device.Info(), InfoMode::kStylus);
}

// Draws every report of one demo loop through the page's model and looks at what it drew.
TEST_F(SimDrawTestTest, DemoPathDrawsLinesCirclesBorderMarksAndTwoFingers) {
    Start("touch_path = demo\ntouch_interval_ms = 1\n");
    Collector points;
    Subscribe(points, 0x36, 0x13);
    ASSERT_NE(devSwitchWorkMode(Handle(), kTouchModeFiltered), 0);
    // About 600 steps make one loop of the demo.
    const auto reports = points.WaitFor([](const auto& r) { return r.size() >= 700; }, 20s);
    devSwitchWorkMode(Handle(), kCommandMode);
    ASSERT_GE(reports.size(), 700u);

    DrawTestModel model{folder_.Path()};
    DrawArea area;
    area.width = 1000;
    area.height = 1000;
    std::set<int> ids;
    int lines = 0, borderMarks = 0, downCircles = 0, liftCircles = 0, twoFingerReports = 0;
    // The counts at the last moment nobody touched: the collection ends inside a stroke.
    int downAtRest = -1, liftAtRest = -1;
    for (const DevReport& report : reports) {
        const PointReport decoded = DecodePoints(report);
        if (decoded.count >= 2) ++twoFingerReports;
        for (int k = 0; k < decoded.count; ++k) {
            const PointRecord& p = decoded.points[static_cast<std::size_t>(k)];
            ids.insert(p.id);
            EXPECT_LE(p.x, 4095);
            EXPECT_LE(p.y, 4095);
        }
        DrawOps ops;
        ASSERT_TRUE(model.OnPoints(report, area, 0, {}, ops));
        for (const DrawOp& op : ops) {
            if (op.kind == DrawOp::Kind::kLine) ++lines;
            if (op.kind == DrawOp::Kind::kCircle && op.radius == 2) ++liftCircles;
            if (op.kind == DrawOp::Kind::kCircle && op.radius == 5) {
                if (op.pen == BorderPen())
                    ++borderMarks;
                else
                    ++downCircles;
            }
        }
        bool anyDown = false;
        for (int id = 0; id < kPointSlots; ++id) anyDown |= model.Slots().Slot(id).down;
        if (!anyDown) {
            downAtRest = downCircles + borderMarks;
            liftAtRest = liftCircles;
        }
    }
    EXPECT_EQ(ids, (std::set<int>{0, 1, 2, 3}));
    EXPECT_GT(lines, 400);
    EXPECT_GE(borderMarks, 1);  // the contact that starts on the left edge
    EXPECT_GE(downCircles, 5);
    EXPECT_GE(downAtRest, 7);           // seven contacts in one loop
    EXPECT_EQ(liftAtRest, downAtRest);  // every contact ends with a lift
    EXPECT_GT(twoFingerReports, 50);
}

TEST_F(SimDrawTestTest, WaterAndPalmShowInTheTouchInformation) {
    Start("touch_path = water, palm\ntouch_interval_ms = 1\ninfo_interval_ms = 1\n");
    Collector touch;
    Subscribe(touch, 0x3F, 0x68);
    DrawTestDevice device;
    device.SetInfoBox(Handle(), InfoMode::kTouch, true);
    ASSERT_NE(devSwitchWorkMode(Handle(), kTouchModeFiltered), 0);
    auto seen = [](const std::vector<DevReport>& reports, auto what) {
        return std::any_of(reports.begin(), reports.end(),
                           [&](const DevReport& r) { return what(DecodeTouchInfo(r)); });
    };
    auto palm = [](const TouchInfo& t) { return t.palm == 1 && t.touches == 0; };
    const auto reports = touch.WaitFor([&](const auto& r) { return seen(r, palm); });
    devSwitchWorkMode(Handle(), kCommandMode);
    EXPECT_TRUE(seen(reports, palm));
    EXPECT_TRUE(seen(reports, [](const TouchInfo& t) { return t.water == 3 && t.touches == 1; }));
    EXPECT_TRUE(seen(reports, [](const TouchInfo& t) { return t.waterQuantity > 200; }));
    // The water ratio the page computes from the record is not zero while there is water.
    EXPECT_TRUE(seen(reports, [](const TouchInfo& t) { return WaterRatio(t) != 0; }));
}

TEST_F(SimDrawTestTest, ProfileWithAnUnknownPathPartIsRefused) {
    std::ofstream(folder_ / "controller.profile") << "model = K7P100\ntouch_path = demo, wave\n";
    setenv("DEVLINK", ("sim:" + (folder_ / "controller.profile").string()).c_str(), 1);
    EXPECT_EQ(StartController(state_), StartupResult::kNoController);
}

TEST_F(SimDrawTestTest, StylusPathAndTouchKeys) {
    Start("touch_path = stylus, keys\ntouch_keys = 3\ntouch_interval_ms = 1\n");
    EXPECT_EQ(state_.touchKeys.keys, 3);
    Collector points, keys;
    Subscribe(points, 0x36, 0x13);
    Subscribe(keys, 0x2F, 0xFF);
    ASSERT_NE(devSwitchWorkMode(Handle(), kTouchModeUnfiltered), 0);
    const auto pressed = keys.WaitFor([](const auto& r) { return r.size() >= 6; }, 20s);
    const auto reports = points.WaitFor([](const auto& r) { return r.size() >= 180; });
    devSwitchWorkMode(Handle(), kCommandMode);

    ASSERT_GE(pressed.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        const TouchKeyState key = DecodeTouchKey(pressed[static_cast<std::size_t>(k)]);
        EXPECT_EQ(key.index, k / 2);
        EXPECT_EQ(key.pressed, k % 2 == 0);
    }
    std::set<StylusStyle> styles;
    for (const DevReport& r : reports) {
        const PointReport p = DecodePoints(r);
        for (int k = 0; k < p.count; ++k)
            if (p.points[static_cast<std::size_t>(k)].InRange())
                styles.insert(StyleOf(p.points[static_cast<std::size_t>(k)]));
    }
    EXPECT_EQ(styles,
              (std::set<StylusStyle>{StylusStyle::kHover, StylusStyle::kTip, StylusStyle::kBarrel,
                                     StylusStyle::kEraser, StylusStyle::kInRange}));
}

// A key the panel holds down reaches the draw test without any script: pressed when the touch
// mode starts and again while it stays down, so a page that subscribes late still sees it.
TEST_F(SimDrawTestTest, KeyThePanelHoldsIsReportedPressedInTouchMode) {
    Start("touch_keys = 4\nkey_pressed = 2\ntouch_interval_ms = 5\n");
    Collector keys;
    Subscribe(keys, 0x2F, 0xFF);
    ASSERT_NE(devSwitchWorkMode(Handle(), kTouchModeFiltered), 0);
    const auto got = keys.WaitFor([](const auto& r) { return r.size() >= 3; }, 20s);
    devSwitchWorkMode(Handle(), kCommandMode);
    ASSERT_GE(got.size(), 3u);
    for (const DevReport& r : got) {
        const TouchKeyState key = DecodeTouchKey(r);
        EXPECT_TRUE(key.pressed);
        EXPECT_EQ(key.index, 2);
    }
}

// Scripted keys on a panel that holds key 1: each scripted key is let go before the held one is
// pressed again, and a scripted press of the held key itself changes nothing.
TEST_F(SimDrawTestTest, ScriptedKeysTakeTurnsWithTheHeldKey) {
    Start("touch_path = keys\ntouch_keys = 3\nkey_pressed = 1\ntouch_interval_ms = 1\n");
    Collector keys;
    Subscribe(keys, 0x2F, 0xFF);
    ASSERT_NE(devSwitchWorkMode(Handle(), kTouchModeFiltered), 0);
    auto changes = [](const std::vector<DevReport>& reports) {
        std::vector<std::pair<bool, int>> out;  // repeats of the held key left out
        for (const DevReport& r : reports) {
            const TouchKeyState key = DecodeTouchKey(r);
            if (out.empty() || out.back() != std::pair{key.pressed, key.index})
                out.emplace_back(key.pressed, key.index);
        }
        return out;
    };
    const auto got =
        changes(keys.WaitFor([&](const auto& r) { return changes(r).size() >= 7; }, 20s));
    devSwitchWorkMode(Handle(), kCommandMode);
    const std::vector<std::pair<bool, int>> expected = {
        {true, 0}, {false, 0}, {true, 1}, {false, 1}, {true, 2}, {false, 2}, {true, 1}};
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(std::vector(got.begin(), got.begin() + 7), expected);
}

}  // namespace
}  // namespace tuner
