// Start-up failures of the tuner against simulated controllers with faults: the message box each
// one shows, and that no controller is left open.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "GuiSupport.h"
#include "app/CMainSheet.h"
#include "app/CTovrexTunerT3300App.h"
#include "model/Startup.h"
#include "platform/SingleInstance.h"

namespace {

using guitest::Calls;

class TunerStartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Calls() = {};
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    }

    guitest::TempFolder runtime_;
    guitest::TempFolder profiles_;
};

struct FaultCase {
    const char* name;
    const char* profile;  // lines after "model = K7P100"
    const char* text;
    const char* caption;
    QMessageBox::Icon icon;
    int opens;        // devOpen calls
    int openHandles;  // of which gave a handle
};

class TunerStartupFaultTest : public TunerStartupTest,
                              public ::testing::WithParamInterface<FaultCase> {};

TEST_P(TunerStartupFaultTest, ShowsItsMessageAndEndsWithoutHoldingTheController) {
    const FaultCase& fault = GetParam();
    setenv(
        "DEVLINK",
        guitest::WriteProfile(profiles_, std::string("model = K7P100\n") + fault.profile).c_str(),
        1);
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;

    EXPECT_EQ(app.Run(), 1);

    ASSERT_EQ(answerer.Seen().size(), 1u);
    const guitest::SeenMessage& message = answerer.Seen().front();
    EXPECT_EQ(message.text.toStdString(), fault.text);
    EXPECT_EQ(message.caption.toStdString(), fault.caption);
    EXPECT_EQ(message.icon, fault.icon);
    EXPECT_EQ(message.buttons, QMessageBox::Ok);
    EXPECT_EQ(app.MainSheet(), nullptr);

    EXPECT_EQ(Calls().opens, fault.opens);
    EXPECT_EQ(Calls().openedHandles, fault.openHandles);
    EXPECT_EQ(Calls().closes, fault.openHandles) << "every opened controller is closed, once";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TunerStartupFaultTest,
    ::testing::Values(
        FaultCase{"NoController", "controllers = 0\n", "Enumerate VORN Device Fail !", "ERROR",
                  QMessageBox::NoIcon, 0, 0},
        FaultCase{"ReportsOf32Bytes", "report_length = 32\n", "Enumerate VORN Device Fail !",
                  "ERROR", QMessageBox::NoIcon, 0, 0},
        FaultCase{"UnsupportedSolution", "type_code = 5\n",
                  "This Tool Only For VORN Solution - ZQCK7PXXX !!", "ERROR", QMessageBox::NoIcon,
                  1, 1},
        FaultCase{"OpenFails", "open_fails = 1\n", "VORN Device Not Found !", "ERROR",
                  QMessageBox::NoIcon, 1, 0},
        FaultCase{"ChannelRecordFails", "fail = info3\n", "Read channel information fail !!",
                  "ERROR", QMessageBox::Critical, 1, 1},
        FaultCase{"ChannelMapRecordFails", "fail = info4\n", "Read channel information fail !!",
                  "ERROR", QMessageBox::Critical, 1, 1},
        FaultCase{"InfoBlockFails", "fail = pcap_info\n", "Read channel information fail !!",
                  "ERROR", QMessageBox::Critical, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a backend nothing is found: after the message box, one line on standard error points to
// the simulated controller. A chosen backend that finds nothing gets no such hint.
TEST_F(TunerStartupTest, NoControllerWithoutABackendGivesAHintOnStandardError) {
    const char* hint = "No touch controller was found. To use the simulated one, set DEVLINK";
    for (const bool chosen : {false, true}) {
        SCOPED_TRACE(chosen ? "DEVLINK set" : "DEVLINK unset");
        if (chosen) {
            setenv("DEVLINK",
                   guitest::WriteProfile(profiles_, "model = K7P100\ncontrollers = 0\n").c_str(), 1);
        } else {
            unsetenv("DEVLINK");
        }
        CTovrexTunerT3300App app;
        guitest::MessageBoxAnswerer answerer;
        testing::internal::CaptureStderr();
        EXPECT_EQ(app.Run(), 1);
        const std::string errors = testing::internal::GetCapturedStderr();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen().front().text.toStdString(), "Enumerate VORN Device Fail !");
        EXPECT_EQ(errors.find(hint) != std::string::npos, !chosen) << errors;
    }
}

TEST_F(TunerStartupTest, SecondCopyWarnsAndLeavesTheFirstUntouched) {
    setenv("DEVLINK", "sim:K7P100", 1);
    platform::CSingleInstanceLock firstCopy(tuner::kSingleInstanceName);
    ASSERT_TRUE(firstCopy.Acquired());

    CTovrexTunerT3300App second;
    guitest::MessageBoxAnswerer answerer;
    EXPECT_EQ(second.Run(), 1);

    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, QStringLiteral("TOVREX_TUNER_K7PXXX is already running"));
    EXPECT_EQ(answerer.Seen()[0].caption, QStringLiteral("WARNING"));
    EXPECT_EQ(answerer.Seen()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(Calls().opens, 0) << "the second copy must not touch the controller";
    EXPECT_TRUE(firstCopy.Acquired());
    EXPECT_EQ(platform::CSingleInstanceLock(tuner::kSingleInstanceName).GetState(),
              platform::CSingleInstanceLock::State::kHeldElsewhere);
}

// The real program, started as a process; stopped and reaped with the object.
class RunningTuner {
  public:
    explicit RunningTuner(const std::vector<std::string>& environment) {
        const std::string program =
            std::string(std::getenv("TOVREX_BIN_DIR")) + "/TovrexTuner_K7PXXX";
        std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
        std::vector<std::string> env = environment;
        for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
        std::vector<char*> envp;
        for (auto& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
    }
    ~RunningTuner() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    bool Started() const { return pid_ > 0; }
    bool StillRunning() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

  private:
    pid_t pid_ = -1;
};

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs) QThread::msleep(20);
    return condition();
}

TEST_F(TunerStartupTest, SecondCopyLeavesTheRunningProgramAndItsControllerAlone) {
    ASSERT_NE(std::getenv("TOVREX_BIN_DIR"), nullptr);
    const std::string trace = (profiles_.Path() / "first-copy-trace.txt").string();
    RunningTuner first(
        {"QT_QPA_PLATFORM=offscreen", "DEVLINK=sim:K7P100", "DEVLINK_SIM_TRACE=" + trace});
    ASSERT_TRUE(first.Started());
    auto traceText = [&] {
        std::ifstream in(trace);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    // The first copy is up once it has read the controller's texts for its title.
    ASSERT_TRUE(WaitUntil([&] { return traceText().find("version_text") != std::string::npos; }))
        << "the first copy did not start: " << traceText();

    setenv("DEVLINK", "sim:K7P100", 1);
    CTovrexTunerT3300App second;
    guitest::MessageBoxAnswerer answerer;
    EXPECT_EQ(second.Run(), 1);

    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, QStringLiteral("TOVREX_TUNER_K7PXXX is already running"));
    EXPECT_EQ(Calls().opens, 0);
    EXPECT_TRUE(first.StillRunning());
    EXPECT_EQ(platform::CSingleInstanceLock(tuner::kSingleInstanceName).GetState(),
              platform::CSingleInstanceLock::State::kHeldElsewhere);
}

TEST_F(TunerStartupTest, TheLockIsFreeAgainAfterTheTunerEnds) {
    setenv("DEVLINK", "sim:K7P100", 1);
    {
        CTovrexTunerT3300App app;
        guitest::MessageBoxAnswerer answerer;
        guitest::WhenReady close([&] { return app.MainSheet() && app.MainSheet()->isVisible(); },
                                 [&] { app.MainSheet()->close(); });
        ASSERT_EQ(app.Run(), 0);
    }
    EXPECT_TRUE(platform::CSingleInstanceLock(tuner::kSingleInstanceName).Acquired());
}

}  // namespace
