// The software-set commands of the builder end to end against the simulated controller, whose
// stored sets survive between runs in a state file.

#include "SimModels.h"
#include "SimulatedBuilder.h"

namespace {

class SwCommands : public SimulatedBuilder {
  protected:
    // The one file of the program folder with this extension; empty when there is none.
    std::filesystem::path Only(const std::string& extension) {
        std::filesystem::path found;
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(app_)) {
            if (entry.path().extension() == extension) {
                found = entry.path();
                ++count;
            }
        }
        EXPECT_LE(count, 1) << "several " << extension << " files";
        return found;
    }

    static std::string Replaced(std::string text, const std::string& line,
                                const std::string& with) {
        const auto at = text.find(line);
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos) text.replace(at, line.size(), with);
        return text;
    }

    // The value of key in section of a text file, empty when missing.
    static std::string ValueOf(const std::string& text, const std::string& section,
                               const std::string& key) {
        const auto start = text.find("[" + section + "]\n");
        if (start == std::string::npos) return "";
        const auto end = text.find("\n[", start + 1);
        const auto at = text.find("\n" + key + " = ", start);
        if (at == std::string::npos || at > end) return "";
        const auto value = at + key.size() + 4;
        return text.substr(value, text.find("    ;", value) - value);
    }
};

using Model = testsupport::SimModel;

class EveryModelSw : public SwCommands, public testing::WithParamInterface<Model> {};

// The factory image of every model is one the builder writes and reads back without corrections.
TEST_P(EveryModelSw, DumpedTextLoadsBackCleanlyAndIsWritten) {
    const BuilderRun dump = Run(GetParam().name, {"-cdump_sw"});
    ASSERT_EQ(dump.status, 0) << dump.out;
    EXPECT_FALSE(Has(dump.out, "range error")) << dump.out;
    const std::filesystem::path text = Only(".swt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.filename().string().rfind(GetParam().project, 0), 0u) << text;
    EXPECT_EQ(std::filesystem::file_size(Only(".sw")), 64u + 2048u);

    const BuilderRun download = Run(GetParam().name, {"-cdownload_swt"});
    EXPECT_EQ(download.status, 0) << download.out;
    EXPECT_FALSE(Has(download.out, "Clamp!")) << download.out;
    EXPECT_FALSE(Has(download.out, "resolution not match")) << download.out;
    EXPECT_TRUE(Has(Trace(), "write_block type=0")) << Trace();
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

INSTANTIATE_TEST_SUITE_P(Models, EveryModelSw, testing::ValuesIn(testsupport::SimModels()),
                         [](const auto& info) { return "Type" + info.param.project; });

TEST_F(SwCommands, AnEditedValueReachesTheControllerAndComesBackInTheNextDump) {
    ASSERT_EQ(RunKept("K7P100", {"-cdump_sw"}).status, 0);
    const std::filesystem::path text = Only(".swt");
    const std::string dumped = Read(text);
    ASSERT_EQ(ValueOf(dumped, "Point Alg Setting", "MergeDistance"), "10");
    std::ofstream(text, std::ios::binary)
        << Replaced(dumped, "MergeDistance = 10    ;", "MergeDistance = 12    ;");

    const BuilderRun download = RunKept("K7P100", {"-cdownload_swt"});
    ASSERT_EQ(download.status, 0) << download.out;
    EXPECT_TRUE(Has(download.out, "Command Execution Success!")) << download.out;
    std::filesystem::remove(text);

    ASSERT_EQ(RunKept("K7P100", {"-cdump_sw"}).status, 0);
    const std::string again = Read(text);
    EXPECT_EQ(ValueOf(again, "Point Alg Setting", "MergeDistance"), "12");
    // The download derived mode 0's thresholds from its average touch signal 150.
    EXPECT_EQ(ValueOf(again, "---Sensitivity-0-RD", "TouchThFinger"), "97");
}

// Every value a 16-bit item accepts on loading, except the unset pattern 65535, comes back from
// the controller unchanged.
TEST_F(SwCommands, SixteenBitTimesAboveTheSignedRangeSurviveTheRoundTrip) {
    ASSERT_EQ(RunKept("K7P100", {"-cdump_sw"}).status, 0);
    const std::filesystem::path text = Only(".swt");
    std::string edited = Read(text);
    const std::pair<const char*, const char*> items[] = {
        {"Alg General Water Setting", "WaterDisableTouchKeepTime"},
        {"Alg General Water Setting-RD", "CheckCookL2WQInterval"}};
    for (const auto& [section, key] : items) {
        const std::string was = std::string(key) + " = " + ValueOf(edited, section, key) + "    ;";
        edited = Replaced(edited, was, std::string(key) + " = 40000    ;");
    }
    std::ofstream(text, std::ios::binary) << edited;
    const BuilderRun download = RunKept("K7P100", {"-cdownload_swt"});
    ASSERT_EQ(download.status, 0) << download.out;
    EXPECT_FALSE(Has(download.out, "range error")) << download.out;
    std::filesystem::remove(text);

    const BuilderRun dump = RunKept("K7P100", {"-cdump_sw"});
    ASSERT_EQ(dump.status, 0) << dump.out;
    EXPECT_FALSE(Has(dump.out, "range error")) << dump.out;
    const std::string again = Read(text);
    for (const auto& [section, key] : items) EXPECT_EQ(ValueOf(again, section, key), "40000") << key;
}

TEST_F(SwCommands, AdjustAlgThStoresTheOptionsInTheChosenBlock) {
    const BuilderRun adjust =
        RunKept("K7P100", {"-Gi1", "-Gc77", "-Gg1500", "-Gt44", "-Gv9", "-cadjust_alg_th"});
    ASSERT_EQ(adjust.status, 0) << adjust.out;
    EXPECT_TRUE(Has(Trace(), "write_block type=0")) << Trace();

    ASSERT_EQ(RunKept("K7P100", {"-cdump_sw"}).status, 0);
    const std::string text = Read(Only(".swt"));
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1", "AvgTouchSignal"), "0");
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1", "CookTouchBase"), "77");
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1-RD", "CookTouchTh"), "77");
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1-RD", "GroupMassTh"), "1500");
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1-RD", "TouchThFinger"), "44");
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1-RD", "RawFlatForStray"), "9");
    EXPECT_EQ(ValueOf(text, "---Sensitivity-1-RD", "DeltaTouchTh"), "60");  // -Gd's default
    EXPECT_EQ(ValueOf(text, "---Sensitivity-2-RD", "CookTouchTh"), "120");  // from its base
}

TEST_F(SwCommands, AdjustAlgThRefusesABlockBeyondTheThird) {
    const BuilderRun adjust = Run("K7P100", {"-Gi3", "-Gc77", "-cadjust_alg_th"});
    EXPECT_EQ(adjust.status, 8) << adjust.out;
    EXPECT_EQ(Result(), "0x81E00001\n");
    EXPECT_TRUE(Has(adjust.out, "Set Parameter Fail\n")) << adjust.out;
    EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(SwCommands, ConvertSbtWritesTheTextOfADumpedBinaryFile) {
    ASSERT_EQ(Run("K7P100", {"-cdump_sw"}).status, 0);
    const std::filesystem::path text = Only(".swt");
    const std::string dumped = Read(text);
    std::filesystem::remove(text);
    const BuilderRun convert = Run("K7P100", {"-cconvert_sbt"});
    EXPECT_EQ(convert.status, 0) << convert.out;
    EXPECT_EQ(Read(text), dumped);
    EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();
}

TEST_F(SwCommands, DumpDefWritesSoftwareDefaultsThatLoadAgain) {
    const BuilderRun def = Run("K7P100", {"-cdump_def"});
    EXPECT_EQ(Result(), "0x00000000\n") << def.out;
    const std::filesystem::path text = app_ / "K7P100_Default.swt";
    ASSERT_TRUE(std::filesystem::exists(text)) << def.out;
    EXPECT_EQ(std::filesystem::file_size(app_ / "K7P100_Default.sw"), 64u + 2048u);

    const BuilderRun download = Run("K7P100", {"-g" + text.string(), "-cdownload_swt"});
    EXPECT_EQ(download.status, 0) << download.out;
    EXPECT_FALSE(Has(download.out, "Clamp!")) << download.out;
    EXPECT_TRUE(Has(Trace(), "write_block type=0")) << Trace();
}

TEST_F(SwCommands, DumpAllWritesTheHardwareAndSoftwareFilesAndTheSettings) {
    const BuilderRun all = Run("K7P100", {"-cdump_all"});
    EXPECT_EQ(all.status, 0) << all.out;
    EXPECT_EQ(Result(), "0x00000000\n");
    for (const char* extension : {".hw", ".hwt", ".sw", ".swt", ".ini"}) {
        SCOPED_TRACE(extension);
        const std::filesystem::path file = Only(extension);
        ASSERT_FALSE(file.empty()) << all.out;
        EXPECT_GT(std::filesystem::file_size(file), 0u);
    }
    EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();
}

}  // namespace
