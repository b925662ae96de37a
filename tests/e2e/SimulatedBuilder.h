// Runs the real builder against the simulated controller the way a calling program would: the
// program and the stand-in uniformity tool copied into a fresh folder, no -J options, its own
// runtime folder, a result file, standard input from a text, and the simulator's trace.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "ScratchFolder.h"

struct BuilderRun {
    int status = -1;  // exit status; -1 when the program did not exit by itself
    std::string out;  // standard output and error
};

class SimulatedBuilder : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        app_ = folder_ / "app";
        std::filesystem::create_directories(app_);
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::copy_file(std::filesystem::path(bin) / "TovrexBuilder4",
                                   app_ / "TovrexBuilder4");
        std::filesystem::copy_file(std::filesystem::path(bin) / "uniformity_stand_in",
                                   app_ / "TovrexT310Suite.exe");
    }

    // A profile file: a built-in model and some changes, one "key = value" per line.
    std::string Profile(const std::string& text) {
        const std::filesystem::path path = folder_ / "profile.txt";
        std::ofstream(path) << text;
        return path.string();
    }

    BuilderRun Run(const std::string& device, const std::vector<std::string>& args,
                   const std::string& input = "",
                   const std::vector<testsupport::Reply>& replies = {}) {
        std::filesystem::remove(TracePath());
        testsupport::ProgramRequest request;
        request.program = app_ / "TovrexBuilder4";
        request.args = args;
        request.input = input;
        request.replies = replies;
        request.setEnv = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                          "TOVREX_RESULT_FILE=" + ResultPath().string(), "DEVLINK=sim:" + device,
                          "DEVLINK_SIM_TRACE=" + TracePath().string()};
        request.setEnv.insert(request.setEnv.end(), extraEnv_.begin(), extraEnv_.end());
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_", "DEVLINK"};
        request.scratch = folder_;
        const testsupport::ProgramRun run = testsupport::RunProgram(request);
        return BuilderRun{run.status, run.out};
    }

    static std::string Read(const std::filesystem::path& path) {
        return testsupport::ReadWhole(path);
    }

    std::filesystem::path ResultPath() const { return folder_ / "result"; }
    std::filesystem::path TracePath() const { return folder_ / "trace.txt"; }
    std::string Result() const { return Read(ResultPath()); }
    std::string Trace() const { return Read(TracePath()); }

    // The session as the controller saw it: opened once at the start, restarted into the resume
    // mode at exit and then closed, once.
    static testing::AssertionResult EndsWithRestartAndClose(const std::string& trace,
                                                            const char* mode = "0x0000") {
        const std::string end = std::string("restart mode=") + mode + " -> ok\nclose -> ok\n";
        int opens = 0, closes = 0;
        std::istringstream lines(trace);
        for (std::string line; std::getline(lines, line);) {
            opens += line.rfind("open", 0) == 0;
            closes += line.rfind("close", 0) == 0;
        }
        if (trace.rfind("open -> ok\n", 0) != 0 || opens != 1)
            return testing::AssertionFailure() << "not opened exactly once, first:\n" << trace;
        if (closes != 1) return testing::AssertionFailure() << closes << " closes:\n" << trace;
        if (trace.size() < end.size() ||
            trace.compare(trace.size() - end.size(), end.size(), end) != 0)
            return testing::AssertionFailure() << "does not end with\n" << end << "but:\n" << trace;
        return testing::AssertionSuccess();
    }

    static bool Has(const std::string& text, const std::string& what) {
        return text.find(what) != std::string::npos;
    }

    // Further "NAME=value" variables of every run (a test's own DEVLINK_SIM_ settings).
    std::vector<std::string> extraEnv_;
    testsupport::ScratchFolder scratch_{"builder-e2e"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::filesystem::path app_;
};
