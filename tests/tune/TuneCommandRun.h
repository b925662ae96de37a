// Runs the builder as a user does, one command after another against one simulated controller
// whose storage lasts between the runs, and reads what a run left: the exit status, the full
// result code, the console, the simulator's truth file and trace, and the hardware set that a
// following dump_hw read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "ScratchFolder.h"
#include "TruthFile.h"

struct CommandRun {
    int status = -1;
    std::string out;
    std::string result;  // "0x%08X\n"
};

class TuneCommandRun : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::copy_file(std::filesystem::path(bin) / "TovrexBuilder4",
                                   folder_ / "TovrexBuilder4");
    }

    // The profile the runs use: a model name and changes, one "key = value" per line.
    void UseProfile(const std::string& text) {
        profile_ = (folder_ / "panel.profile").string();
        std::ofstream(profile_) << text << '\n';
    }

    // One run of the builder; -Je keeps its logs plain and shows every detail line in full.
    CommandRun Run(const std::vector<std::string>& args) {
        std::filesystem::remove(ResultPath());
        testsupport::ProgramRequest request;
        request.program = folder_ / "TovrexBuilder4";
        request.args = args;
        request.args.push_back("-Je" + folder_.string());
        request.setEnv = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                          "TOVREX_RESULT_FILE=" + ResultPath().string(),
                          "DEVLINK=sim:" + profile_,
                          "DEVLINK_SIM_STATE=" + (folder_ / "state").string(),
                          "DEVLINK_SIM_TRUTH=" + TruthPath().string(),
                          "DEVLINK_SIM_TRACE=" + TracePath().string()};
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_", "DEVLINK"};
        request.scratch = folder_;
        request.workingFolder = folder_;
        const testsupport::ProgramRun run = testsupport::RunProgram(request);
        return CommandRun{run.status, run.out, Read(ResultPath())};
    }

    // dump_hw, then the hardware text file it wrote as "key = value" pairs.
    std::map<std::string, std::string> DumpHw() {
        const CommandRun run = Run({"-cdump_hw"});
        EXPECT_EQ(run.status, 0) << run.out;
        std::map<std::string, std::string> items;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.path().extension() != ".hwt") continue;
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                const auto eq = line.find('=');
                if (eq == std::string::npos || line[0] == ';' || line[0] == '[') continue;
                items[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
            }
        }
        return items;
    }

    static int Number(const std::map<std::string, std::string>& items, const std::string& key) {
        const auto it = items.find(key);
        if (it == items.end()) {
            ADD_FAILURE() << "no item " << key;
            return -1;
        }
        return std::stoi(it->second, nullptr, 0);
    }

    TruthFile Truth() const { return TruthFile(TruthPath()); }
    std::string Trace() const { return Read(TracePath()); }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool Has(const std::string& text, const std::string& what) {
        return text.find(what) != std::string::npos;
    }
    static int CountLines(const std::string& text, const std::string& what) {
        int n = 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) n += Has(line, what);
        return n;
    }

    std::filesystem::path ResultPath() const { return folder_ / "result"; }
    std::filesystem::path TruthPath() const { return folder_ / "truth.txt"; }
    std::filesystem::path TracePath() const { return folder_ / "trace.txt"; }

    testsupport::ScratchFolder scratch_{"tune-e2e"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::string profile_ = "K7P100";

  private:
    static std::string Trim(std::string s) {
        const auto first = s.find_first_not_of(" \t\r");
        const auto last = s.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
    }
};
