// A controller over the fake device library with a default stylus set, and its text file: save,
// edit one key, load. The text editing tools are the software set tests'.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "FakeController.h"
#include "SwFixture.h"
#include "chips/CSlave.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/PenLayout.h"

class PenFixture : public SwFixture {
  protected:
    // A controller of the given type whose hardware set uses a stylus, with a default stylus set;
    // structVersion is the stylus structure version the controller reports.
    CParam_Pen& Pen(int typeCode = 94, int structVersion = 14) {
        CController& c = Build(typeCode);
        c.EditIdentity().penVersion = static_cast<uint8_t>(structVersion);
        c.Hw().SetWord(10, 0x02E5);
        c.Pen().InitDefaultFileName();
        EXPECT_EQ(c.Pen().LoadDefault(), 1);
        return c.Pen();
    }
    CSlave& Chip() { return controller_->Chip(); }

    std::filesystem::path PenTextPath() { return folder_ / controller_->Pen().GetTxtFileName(); }

    std::string SavePen(std::string* console = nullptr) {
        testing::internal::CaptureStdout();
        const int result = controller_->Pen().SaveTxtFile();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, 0) << out;
        if (console) *console = out;
        std::ifstream in(PenTextPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string LoadPen(const std::string& text, bool expectSuccess = true) {
        std::ofstream(PenTextPath(), std::ios::binary) << text;
        testing::internal::CaptureStdout();
        const int result = controller_->Pen().LoadTxtFile();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result != 0, expectSuccess) << out;
        return out;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool Has(const std::string& text, const std::string& what) {
        return text.find(what) != std::string::npos;
    }
    static std::string ValueOf(const std::string& text, const std::string& section,
                               const std::string& key) {
        const std::string line = LineOf(text, section, key);
        const auto at = line.find(" = ");
        return at == std::string::npos ? "" : line.substr(at + 3, line.find(' ', at + 3) - at - 3);
    }

    uint8_t Byte(int offset) { return controller_->Pen().Byte(offset); }
    uint16_t Word(int offset) { return controller_->Pen().Word(offset); }
};
