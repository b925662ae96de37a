// A controller over the fake device library with a default software set, and small tools to edit
// the software text file the set writes: set, add or remove one key of one section.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "FakeController.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"

class SwFixture : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        options_.folders.workingFolder = folder_.string() + "/";
    }

    // A controller of the newest firmware with a default software set, no hardware water scan.
    CParam_SW& Set(int typeCode = 94) {
        CController& c = Build(typeCode);
        c.EditIdentity().kernelMajor = 5;
        c.EditIdentity().kernelMinor = 120;
        c.EditIdentity().swVersion = 26;
        c.EditGeometry().rangeClassX = 0;
        c.EditGeometry().rangeClassY = 0;
        c.Hw().SetWord(10, 0x0000);
        c.Sw().InitDefaultFileName();
        EXPECT_NE(c.Sw().LoadDefault(), 0);
        return c.Sw();
    }
    CController& Controller() { return *controller_; }

    std::filesystem::path TextPath() { return folder_ / controller_->Sw().GetTxtFileName(); }

    // Saves the set's text file and returns its text; the console output goes to *console.
    std::string Save(std::string* console = nullptr) {
        testing::internal::CaptureStdout();
        const int result = controller_->Sw().SaveTxtFile();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, 0) << out;
        if (console) *console = out;
        std::ifstream in(TextPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Writes text as the set's text file and loads it; returns the console output.
    std::string Load(const std::string& text, bool expectSuccess = true) {
        std::ofstream(TextPath(), std::ios::binary) << text;
        testing::internal::CaptureStdout();
        const int result = controller_->Sw().LoadTxtFile();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result != 0, expectSuccess) << out;
        return out;
    }

    // The text with key of section set to value: the key's line replaced, or added right after
    // the section header, or the section appended when the file has none.
    static std::string WithKey(const std::string& text, const std::string& section,
                               const std::string& key, const std::string& value) {
        const std::string line = key + " = " + value;
        const std::string header = "[" + section + "]\n";
        const auto start = text.find(header);
        if (start == std::string::npos) return text + header + line + "\n\n";
        const auto body = start + header.size();
        auto end = text.find("\n[", body);
        if (end == std::string::npos) end = text.size();
        const auto at = FindKeyLine(text, key, body, end);
        if (at == std::string::npos) return text.substr(0, body) + line + "\n" + text.substr(body);
        const auto lineEnd = text.find('\n', at);
        return text.substr(0, at) + line + text.substr(lineEnd);
    }
    static std::string WithoutKey(const std::string& text, const std::string& section,
                                  const std::string& key) {
        const auto start = text.find("[" + section + "]\n");
        if (start == std::string::npos) return text;
        auto end = text.find("\n[", start + 1);
        if (end == std::string::npos) end = text.size();
        const auto at = FindKeyLine(text, key, start, end);
        if (at == std::string::npos) return text;
        return text.substr(0, at) + text.substr(text.find('\n', at) + 1);
    }
    // The line of key in section, empty when missing.
    static std::string LineOf(const std::string& text, const std::string& section,
                              const std::string& key) {
        const auto start = text.find("[" + section + "]\n");
        if (start == std::string::npos) return "";
        auto end = text.find("\n[", start + 1);
        if (end == std::string::npos) end = text.size();
        const auto at = FindKeyLine(text, key, start, end);
        if (at == std::string::npos) return "";
        return text.substr(at, text.find('\n', at) - at);
    }

  private:
    static std::size_t FindKeyLine(const std::string& text, const std::string& key,
                                   std::size_t from, std::size_t to) {
        for (auto at = text.find("\n" + key + " = ", from); at != std::string::npos && at < to;
             at = text.find("\n" + key + " = ", at + 1)) {
            return at + 1;
        }
        return std::string::npos;
    }
};
