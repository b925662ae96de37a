#include <gtest/gtest.h>
#include <stdlib.h>

#include "LogTestSupport.h"
#include "core/ResultCodes.h"
#include "core/Progress.h"

namespace {

TEST(ResultCodes, ExitStatusKeepsFailuresApartFromSuccess) {
    const struct {
        uint32_t result;
        int status;
    } cases[] = {
        {0, 0},          {1, 1},          {0x80000000, 2}, {0x4001, 3}, {0x4004, 4},
        {0x4005, 4},     {0x4006, 4},     {0x400A, 5},     {0x400B, 6}, {0x400C, 7},
        {0x81000000, 8},  // low byte 0: as a raw status it would read as success
        {0x80000001, 8}, {0x82400002, 8}, {2, 9},          {0x4002, 9}, {0x01000000, 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExitStatusFor(c.result), c.status) << std::hex << c.result;
}

class ResultFile : public TempFolderTest {
  protected:
    void TearDown() override {
        unsetenv(kResultFileVariable);
        TempFolderTest::TearDown();
    }
};

TEST_F(ResultFile, HoldsTheFullCodeAndIsClearedAtStart) {
    const std::filesystem::path file = folder_ / "result";
    setenv(kResultFileVariable, file.c_str(), 1);
    EXPECT_TRUE(WriteResultFile(0x81000000));
    EXPECT_EQ(ReadFile(file), "0x81000000\n");
    EXPECT_TRUE(WriteResultFile(0x400B));
    EXPECT_EQ(ReadFile(file), "0x0000400B\n");
    ClearResultFile();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                            std::filesystem::directory_iterator()),
              0);  // no temporary left behind
}

TEST_F(ResultFile, UnwritablePathIsReportedAndNothingIsAskedWithoutTheVariable) {
    setenv(kResultFileVariable, (folder_ / "missing" / "result").c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteResultFile(0));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("missing/result"), std::string::npos);
    unsetenv(kResultFileVariable);
    EXPECT_TRUE(WriteResultFile(0));
}

TEST(Progress, MessageNamesByPercent) {
    const struct {
        int percent;
        const char* name;
    } cases[] = {
        {0, "processed_0"},   {10, "processed_10"}, {90, "processed_90"}, {100, "processed_done"},
        {101, "processed_I"}, {55, "processed_I"},  {-10, "processed_I"}, {110, "processed_I"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgressMessageName(c.percent), c.name) << c.percent;
}

class RecordingNotifier : public platform::CWindowNotifier {
  public:
    explicit RecordingNotifier(std::vector<std::string>* sent) : sent_(sent) {}
    bool Send(std::size_t target, const std::string& message) override {
        sent_->push_back(std::to_string(target) + ":" + message);
        return true;
    }

  private:
    std::vector<std::string>* sent_;
};

TEST(Progress, NoticesGoToTheInstalledNotifierOnly) {
    std::vector<std::string> sent;
    NotifyProgress(10, 0);  // nothing installed: nowhere
    SetProgressNotifier(std::make_unique<RecordingNotifier>(&sent));
    NotifyProgress(10, 0);
    NotifyProgress(100, 1);
    NotifyProgress(101, 0);
    SetProgressNotifier(nullptr);
    NotifyProgress(60, 0);
    EXPECT_EQ(sent,
              (std::vector<std::string>{"0:processed_10", "1:processed_done", "0:processed_I"}));
}

}  // namespace
