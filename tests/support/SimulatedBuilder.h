// Runs the real builder against the simulated controller the way a calling program would: the
// program and the stand-in uniformity tool copied into a fresh folder, no -J options, its own
// runtime folder, a result file, standard input from a text, and the simulator's trace. With the
// controller's storage kept between runs, what one command writes the next one reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
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

    // One run of the copied builder: the controller `device` (a built-in model or a profile file;
    // empty: none chosen), the program's own runtime folder, result file and trace. A test that
    // needs more changes the request before it runs it.
    testsupport::ProgramRequest Request(const std::string& device,
                                        const std::vector<std::string>& args) const {
        testsupport::ProgramRequest request;
        request.program = app_ / "TovrexBuilder4";
        request.args = args;
        request.setEnv = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                          "TOVREX_RESULT_FILE=" + ResultPath().string(),
                          "DEVLINK_SIM_TRACE=" + TracePath().string()};
        if (!device.empty()) request.setEnv.push_back("DEVLINK=sim:" + device);
        request.setEnv.insert(request.setEnv.end(), extraEnv_.begin(), extraEnv_.end());
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_", "DEVLINK"};
        request.scratch = folder_;
        return request;
    }

    static BuilderRun Run(const testsupport::ProgramRequest& request) {
        const testsupport::ProgramRun run = testsupport::RunProgram(request);
        return BuilderRun{run.status, run.out};
    }

    // A run against a controller fresh from the factory.
    BuilderRun Run(const std::string& device, const std::vector<std::string>& args,
                   const std::string& input = "",
                   const std::vector<testsupport::Reply>& replies = {}) {
        std::filesystem::remove(TracePath());
        testsupport::ProgramRequest request = Request(device, args);
        request.input = input;
        request.replies = replies;
        return Run(request);
    }

    // A run against a controller whose storage is kept in the test's folder from run to run; the
    // stand-in tool records that it ran.
    BuilderRun RunKept(const std::string& device, const std::vector<std::string>& args) {
        std::filesystem::remove(TracePath());
        std::filesystem::remove(ToolRanPath());
        testsupport::ProgramRequest request = Request(device, args);
        request.setEnv.push_back("DEVLINK_SIM_STATE=" + (folder_ / "state").string());
        request.setEnv.push_back("TOVREX_STANDIN_ARGS=" + ToolRanPath().string());
        return Run(request);
    }

    static std::string Read(const std::filesystem::path& path) {
        return testsupport::ReadWhole(path);
    }

    std::filesystem::path ResultPath() const { return folder_ / "result"; }
    std::filesystem::path TracePath() const { return folder_ / "trace.txt"; }
    std::filesystem::path ToolRanPath() const { return folder_ / "tool-args"; }
    std::string Result() const { return Read(ResultPath()); }
    std::string Trace() const { return Read(TracePath()); }
    bool ToolRan() const { return std::filesystem::exists(ToolRanPath()); }

    // Files in the program's folder, where the builder writes its parameter files.
    std::string File(const std::string& name) const { return Read(app_ / name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(app_ / name); }
    // The image of a binary parameter file, without its 64-byte header (which carries a date).
    std::string ImageOf(const std::string& name) const { return File(name).substr(64); }

    // Replaces the value of the first item `key` in `section` of a text file in the program's
    // folder, as an editor would.
    void SetItem(const std::string& name, const std::string& section, const std::string& key,
                 const std::string& value) {
        std::istringstream in(File(name));
        std::string out, current, line;
        bool done = false;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '[') current = line.substr(1, line.find(']') - 1);
            if (!done && current == section && line.rfind(key + " = ", 0) == 0) {
                line = key + " = " + value;
                done = true;
            }
            out += line + '\n';
        }
        ASSERT_TRUE(done) << key << " in [" << section << "]";
        std::ofstream(app_ / name, std::ios::binary) << out;
    }

    // The value of item `key` in `section` of a text file in the program's folder, without its
    // range and comment; empty when missing.
    std::string ItemValue(const std::string& name, const std::string& section,
                          const std::string& key) const {
        std::istringstream in(File(name));
        std::string current, line;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '[') current = line.substr(1, line.find(']') - 1);
            if (current == section && line.rfind(key + " = ", 0) == 0)
                return line.substr(key.size() + 3, line.find("    ;") - key.size() - 3);
        }
        return "";
    }

    // Console output of a parameter file command that needed no correction and met no failure.
    static bool Clean(const std::string& out) {
        return !Has(out, "range error") && !Has(out, "Fail") && !Has(out, "Incorrect");
    }

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
