// Shared by the shell tests: a fresh temporary working folder per test, default options, and
// helpers that read what the log wrote.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "core/LogRecord.h"
#include "shell/Options.h"

class TempFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        Options() = BuilderOptions{};
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        Options() = BuilderOptions{};
    }
    testsupport::ScratchFolder scratch_{"shell-test"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::filesystem::path previous_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct DecodedRecord {
    uint16_t checkWord = 0;
    uint16_t length = 0;
    uint8_t keyRow = 0;
    bool reservedZero = false;
    std::string scrambled;  // as stored
    std::string text;       // unscrambled
};

// Splits an ".en" file into its records; fails the test when the framing is broken.
inline std::vector<DecodedRecord> DecodeRecords(const std::string& file) {
    std::vector<DecodedRecord> records;
    std::size_t at = 0;
    while (at < file.size()) {
        EXPECT_GE(file.size() - at, kLogRecordHeaderSize) << "truncated header at " << at;
        if (file.size() - at < kLogRecordHeaderSize) break;
        const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(file[at + i]); };
        DecodedRecord r;
        r.checkWord = static_cast<uint16_t>(byte(0) | byte(1) << 8);
        r.length = static_cast<uint16_t>(byte(2) | byte(3) << 8);
        r.keyRow = byte(4);
        r.reservedZero =
            byte(5) == 0 && byte(6) == 0 && byte(7) == 0 && byte(8) == 0 && byte(9) == 0;
        at += kLogRecordHeaderSize;
        EXPECT_LE(r.length, file.size() - at) << "record runs past the end";
        if (r.length > file.size() - at || r.keyRow >= kLogKeyRows) break;
        r.scrambled = file.substr(at, r.length);
        for (std::size_t i = 0; i < r.scrambled.size(); ++i) {
            r.text += static_cast<char>(static_cast<uint8_t>(r.scrambled[i]) ^
                                        LogKeys()[r.keyRow][i % kLogKeyRowSize]);
        }
        at += r.length;
        records.push_back(r);
    }
    return records;
}

// The check word computed independently: 153 plus the stored bytes as signed bytes.
inline uint16_t ExpectedCheckWord(const std::string& scrambled) {
    int sum = 153;
    for (const char c : scrambled) sum += static_cast<signed char>(c);
    return static_cast<uint16_t>(sum);
}

// Takes the "[%8.3f] " stamp off the front of a log line: true when it is there, with the elapsed
// seconds and the text after it.
inline bool SplitStamp(const std::string& line, double* elapsed, std::string* text) {
    if (line.size() < 11 || line[0] != '[' || line.compare(9, 2, "] ") != 0) return false;
    const std::string number = line.substr(1, 8);
    const std::size_t first = number.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const std::string digits = number.substr(first);
    const std::size_t point = digits.find('.');
    if (point == std::string::npos || digits.size() - point != 4) return false;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != point && (digits[i] < '0' || digits[i] > '9')) return false;
    }
    *elapsed = std::stod(digits);
    *text = line.substr(11);
    return true;
}

// Splits a plain log file into its "\r\n"-ended lines; the last piece is whatever follows the
// last line end.
inline std::vector<std::string> SplitCrLf(const std::string& file) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = file.find("\r\n", at)) != std::string::npos; at = end + 2) {
        lines.push_back(file.substr(at, end - at));
    }
    lines.push_back(file.substr(at));
    return lines;
}
