// A controller over the fake device library, initialised, with its settings file in a fresh
// working folder.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FakeController.h"
#include "params/CParam_INI.h"

class IniFixture : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        options_.folders.workingFolder = folder_.string() + "/";
    }

    // typeCode 94 has the T3300 chip and the 47-row frequency table, 96 the T320 chip.
    CController& Ready(int typeCode = 94) {
        device_.typeCode = typeCode;
        device_.blocks[1] = ValidImage(4096, 3350);
        device_.blocks[0] = ValidImage(2048, 1266);
        CController& c = Build(typeCode);
        testing::internal::CaptureStdout();
        c.Initialise();
        testing::internal::GetCapturedStdout();
        return c;
    }

    // The settings file under the name the controller gives it.
    std::string IniPath() const { return (folder_ / "GXXX_C000.ini").string(); }

    void WriteIni(const std::string& text) const { std::ofstream(IniPath()) << text; }

    static std::string ReadWhole(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Runs an operation of the settings and returns what it printed.
    template <typename Operation>
    static std::string Printed(Operation&& operation) {
        testing::internal::CaptureStdout();
        operation();
        return testing::internal::GetCapturedStdout();
    }

  private:
    // A checksum-valid image: used length, seed 0x55 over 16-bit words from offset 4.
    static std::vector<uint8_t> ValidImage(int length, int used) {
        std::vector<uint8_t> image(static_cast<std::size_t>(length), 0x11);
        image[0] = static_cast<uint8_t>(used & 0xFF);
        image[1] = static_cast<uint8_t>(used >> 8);
        uint16_t sum = 0x55;
        for (int i = 0; i < used / 2; ++i)
            sum = static_cast<uint16_t>(sum + (image[4 + 2 * i] | image[5 + 2 * i] << 8));
        image[2] = static_cast<uint8_t>(sum & 0xFF);
        image[3] = static_cast<uint8_t>(sum >> 8);
        return image;
    }
};
