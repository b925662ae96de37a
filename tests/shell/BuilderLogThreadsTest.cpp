#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>

#include "LogTestSupport.h"
#include "core/BuilderLog.h"

namespace {

class BuilderLogThreads : public TempFolderTest {};

// The disconnect notice prints from the device library's thread while the main thread prints:
// every line must arrive whole, in either file form.
TEST_F(BuilderLogThreads, ConcurrentPrintsKeepEveryLineWhole) {
    for (const bool fixedName : {true, false}) {
        Options().fixed.fixedName = fixedName;
        CBuilderLog log;
        log.UseOptions(&Options());
        ASSERT_TRUE(log.Open(1, fixedName ? "Plain" : "Scrambled"));
        const auto writer = [&log](char tag) {
            for (int i = 0; i < 200; ++i) {
                log.Print(kColourError, kRouteFile,
                          std::string(40, tag) + std::to_string(i) + "\n");
            }
        };
        std::thread other(writer, 'b');
        writer('a');
        other.join();

        std::string text;
        const std::string file = ReadFile(log.Path());
        if (fixedName) {
            text = file;
        } else {
            for (const auto& r : DecodeRecords(file)) text += r.text;
        }
        std::istringstream lines(text);
        std::string line;
        int count = 0;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            double elapsed = 0;
            std::string body;
            ASSERT_TRUE(SplitStamp(line, &elapsed, &body)) << line;
            ASSERT_GE(body.size(), 41u) << line;
            const char tag = body[0];
            EXPECT_TRUE(tag == 'a' || tag == 'b') << line;
            EXPECT_EQ(body.substr(0, 40), std::string(40, tag)) << line;
            EXPECT_EQ(body.find_first_not_of("0123456789", 40), std::string::npos) << line;
            ++count;
        }
        EXPECT_EQ(count, 400);
    }
}

}  // namespace
