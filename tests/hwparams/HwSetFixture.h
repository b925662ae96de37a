// A controller over the fake device library whose hardware set starts from its default image, with
// its files named in a fresh working folder, and helpers to read and edit the text files it writes.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "params/CParam_HW.h"

class HwSetFixture : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        options_.folders.workingFolder = (folder_ / "").string();
    }

    // A controller of the type code with the default hardware set: 40 Tx channels, kernel 3.30
    // (the stray counts still belong to this set), hardware structure version 13.
    CParam_HW& DefaultSet(int typeCode = 96) {
        device_.typeCode = typeCode;
        CController& c = Build(typeCode);
        c.EditGeometry().txCount = 40;
        c.EditIdentity().kernelMajor = 3;
        c.EditIdentity().kernelMinor = 30;
        c.EditIdentity().hwVersion = 13;
        CParam_HW& hw = c.Hw();
        hw.InitDefaultFileName();
        EXPECT_EQ(Captured([&] { EXPECT_EQ(hw.LoadDefault(), 0); }), "");
        return hw;
    }

    CSlave& Chip() { return controller_->Chip(); }

    template <typename F>
    static std::string Captured(F&& operation) {
        testing::internal::CaptureStdout();
        operation();
        return testing::internal::GetCapturedStdout();
    }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    static std::string ReadText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteText(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    // Replaces the value of the first item `key` in `section` of a text file, as an editor would;
    // the key must be there.
    static void SetItem(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) {
        std::istringstream in(ReadText(path));
        std::string out, current, line;
        bool done = false;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '[') current = line.substr(1, line.find(']') - 1);
            const std::string prefix = key + " = ";
            if (!done && current == section && line.rfind(prefix, 0) == 0) {
                line = prefix + value;
                done = true;
            }
            out += line + '\n';
        }
        ASSERT_TRUE(done) << "no item " << key << " in [" << section << "]";
        WriteText(path, out);
    }

    static bool Has(const std::string& text, const std::string& what) {
        return text.find(what) != std::string::npos;
    }
};
