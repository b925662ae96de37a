// check_flat as a user runs it, on every model: the builder writes the raw frames to the check
// log, and the last frame there is the panel the simulator knows (its truth file), within the
// noise; an open Rx line shows as a column of near-zero values.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "ScratchFolder.h"
#include "TruthFile.h"

namespace {

namespace fs = std::filesystem;

class CheckFlatE2ETest : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        fs::create_directories(folder_ / "runtime");
        fs::copy_file(fs::path(bin) / "TovrexBuilder4", folder_ / "TovrexBuilder4");
    }

    testsupport::ProgramRun Run(const std::string& device) {
        testsupport::ProgramRequest request;
        request.program = folder_ / "TovrexBuilder4";
        request.args = {"-ccheck_flat"};
        request.setEnv = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                          "DEVLINK=sim:" + device,
                          "DEVLINK_SIM_TRUTH=" + (folder_ / "truth.txt").string()};
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_", "DEVLINK"};
        request.scratch = folder_;
        request.workingFolder = folder_;
        return testsupport::RunProgram(request);
    }

    // The values of the last frame in the check log: frame[t][r] from the rows "Rx[r],v(t=0),...".
    std::vector<std::vector<int>> LastLoggedFrame() {
        fs::path csv;
        for (const auto& entry : fs::directory_iterator(folder_ / "BuilderLog"))
            if (entry.path().filename().string().rfind("TovrexCheck", 0) == 0) csv = entry.path();
        std::ifstream in(csv);
        std::vector<std::vector<int>> columns;  // per Rx line, the Tx values
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("Rx[", 0) != 0) continue;
            const int r = std::stoi(line.substr(3));
            if (r == 0) columns.clear();  // a new frame
            std::vector<int> values;
            std::stringstream cells(line.substr(line.find(',') + 1));
            for (std::string cell; std::getline(cells, cell, ',');)
                if (cell.rfind("Chip", 0) != 0) values.push_back(std::stoi(cell));
            columns.push_back(values);
        }
        std::vector<std::vector<int>> frame;
        for (size_t t = 0; !columns.empty() && t < columns[0].size(); ++t) {
            frame.emplace_back();
            for (const auto& column : columns) frame.back().push_back(column[t]);
        }
        return frame;
    }

    testsupport::ScratchFolder scratch_{"check-flat"};
    const std::filesystem::path folder_ = scratch_.Path();
};

TEST_P(CheckFlatE2ETest, LoggedFrameIsThePanel) {
    const auto run = Run(GetParam());
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Finish Raw16"), std::string::npos);
    const TruthFile truth(folder_ / "truth.txt");
    const auto frame = LastLoggedFrame();
    ASSERT_EQ(static_cast<int>(frame.size()), truth.Number("frame_tx"));
    for (size_t t = 0; t < frame.size(); ++t) {
        const auto m = truth.Magnitude(static_cast<int>(t));
        const auto phase = truth.Phase(static_cast<int>(t));
        ASSERT_EQ(frame[t].size(), m.size()) << t;
        for (size_t r = 0; r < m.size(); ++r) {
            const double i = m[r] * std::sin(phase[r] * M_PI / 180.0);  // the raw frame is I
            ASSERT_NEAR(frame[t][r], i, 0.01 * i + 6) << t << "," << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, CheckFlatE2ETest,
                         testing::Values("K7P100", "K7P80", "K9P100", "K9P80", "K9PM100", "K7P128",
                                         "6310_K7P", "K7P84"));

TEST_F(CheckFlatE2ETest, AnOpenRxLineShowsInTheLoggedFrame) {
    const fs::path profile = folder_ / "open.profile";
    std::ofstream(profile) << "model = K7P100\nopen_rx = 17\n";
    const auto run = Run(profile.string());
    ASSERT_EQ(run.status, 0) << run.out;
    const TruthFile truth(folder_ / "truth.txt");
    EXPECT_EQ(truth.Text("open_rx"), "17");
    const auto frame = LastLoggedFrame();
    ASSERT_FALSE(frame.empty());
    for (size_t t = 0; t < frame.size(); ++t) {
        EXPECT_LT(std::abs(frame[t][17]), 10) << t;
        EXPECT_GT(frame[t][16], 500) << t;
        EXPECT_GT(frame[t][18], 500) << t;
    }
}

}  // namespace
