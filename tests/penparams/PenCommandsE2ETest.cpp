// The stylus set commands end to end: the real builder against the simulated controller, with the
// controller's storage kept between runs, so that what one command writes the next one reads.
#include <filesystem>
#include <fstream>

#include "SimModels.h"
#include "SimulatedBuilder.h"

namespace {

using Model = testsupport::SimModel;

// The register of a stylus group image that holds the read select in its low four bits, by chip.
int ReadSelectRegister(sim::ChipModel chip) {
    switch (chip) {
        case sim::ChipModel::T3300:
            return 8;
        case sim::ChipModel::T324:
            return 9;
        default:
            ADD_FAILURE() << "no stylus read select known for this chip";
            return 0;
    }
}

class PenCommands : public SimulatedBuilder {
  protected:
    static constexpr const char* kStored = "write_block type=3 offset=0 length=4096 flag=1 -> ok";
};

class StylusModels : public PenCommands, public testing::WithParamInterface<Model> {};

// An edited value reaches the controller's storage; with automatic gain control the raw scan's
// tuning is the detection scan's too.
TEST_P(StylusModels, EditedTextValuesReachTheController) {
    const Model m = GetParam();
    const std::string file = m.stem + ".pwt";
    ASSERT_EQ(RunKept(m.name, {"-cdump_pw"}).status, 0);
    SetItem(file, "Threshold Config", "DetectThH", "1234");
    SetItem(file, "Alg Threshold 1", "TouchTh", "222");
    SetItem(file, "Freq-1 General Config", "FREQCTRL_PADDING_5", "1");
    BuilderRun run = RunKept(m.name, {"-cdownload_pwt"});
    ASSERT_EQ(run.status, 0) << run.out;

    std::filesystem::remove(app_ / file);
    run = RunKept(m.name, {"-cdump_pw"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(ItemValue(file, "Threshold Config", "DetectThH"), "1234");
    EXPECT_EQ(ItemValue(file, "Alg Threshold 1", "TouchTh"), "222");
    EXPECT_EQ(ItemValue(file, "Freq-1 General Config", "FreqCtrl"), "0x20");
}

// A register file names chip fields of the stylus group images; only the images it names change.
TEST_P(StylusModels, ARegisterFileChangesTheGroupImagesItNames) {
    const Model m = GetParam();
    const std::string stem = m.stem;
    ASSERT_EQ(RunKept(m.name, {"-cdump_pw"}).status, 0);
    const std::string before = ImageOf(stem + ".pw");
    std::ofstream(app_ / (stem + ".pwr"))
        << "[" << m.name << " stylus register file]\nControllerType = " << m.typeCode
        << "\n\n[Freq-1 DetTx Reg Parameters]\nDetTx_ReadSel = 5\n";
    BuilderRun run = RunKept(m.name, {"-cdownload_pwr"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(Trace(), kStored)) << Trace();
    ASSERT_EQ(RunKept(m.name, {"-cdump_pw"}).status, 0);
    const std::string after = ImageOf(stem + ".pw");
    ASSERT_EQ(after.size(), 4096u);
    int changed = 0;
    for (std::size_t i = 4; i < after.size(); ++i) changed += after[i] != before[i];
    EXPECT_EQ(changed, 1);
    const std::size_t readSel = 172 + 384 + 68 + ReadSelectRegister(m.chip);
    EXPECT_EQ(static_cast<uint8_t>(after[readSel]) & 0x0F, 5);
}

TEST_P(StylusModels, ConvertWritesTheTextOfADumpedBinaryFile) {
    const Model m = GetParam();
    const std::string stem = m.stem;
    ASSERT_EQ(RunKept(m.name, {"-cdump_pw"}).status, 0);
    const std::string text = File(stem + ".pwt");
    std::filesystem::remove(app_ / (stem + ".pwt"));
    const BuilderRun run = RunKept(m.name, {"-cconvert_pbt", (app_ / (stem + ".pw")).string()});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(File(stem + ".pwt"), text);
    EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();

    const BuilderRun download =
        RunKept(m.name, {"-cdownload_pw", (app_ / (stem + ".pw")).string()});
    EXPECT_EQ(download.status, 0) << download.out;
    EXPECT_TRUE(Has(Trace(), kStored)) << Trace();
}

INSTANTIATE_TEST_SUITE_P(Models, StylusModels,
                         testing::ValuesIn(testsupport::SimModelsWhere(testsupport::WithStylus)),
                         [](const auto& info) { return testsupport::TestName(info.param); });

// The stylus files of dump_all are for research; the set is read either way.
TEST_F(PenCommands, DumpAllWritesTheStylusFilesInResearchModeOnly) {
    BuilderRun run = RunKept("K9PM100", {"-cdump_all"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(Trace(), "read_block type=3 offset=0 length=4096")) << Trace();
    EXPECT_TRUE(Exists("P172_C0AC.hwt"));
    EXPECT_FALSE(Exists("P172_C0AC.pwt"));
    EXPECT_FALSE(Exists("P172_C0AC.pw"));

    run = RunKept("K9PM100", {"-cdump_all", "-Jd"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Exists("GXXX_C000.pwt")) << run.out;
    EXPECT_EQ(std::filesystem::file_size(app_ / "GXXX_C000.pw"), 64u + 4096u);
}

// The default stylus files are written in research mode, and load again.
TEST_F(PenCommands, DumpDefWritesStylusDefaultsThatLoadAgain) {
    BuilderRun run = RunKept("K7P84", {"-cdump_def"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Result(), "0x00000000\n");
    EXPECT_FALSE(Exists("K7P84_Default.pwt")) << "outside research mode";

    run = RunKept("K7P84", {"-cdump_def", "-Jd"});
    EXPECT_EQ(run.status, 0) << run.out;
    ASSERT_TRUE(Exists("GXXX_Default.pwt")) << run.out;
    EXPECT_EQ(std::filesystem::file_size(app_ / "GXXX_Default.pw"), 64u + 4096u);

    run = RunKept("K7P84", {"-cdownload_pwt", (app_ / "GXXX_Default.pwt").string()});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Clean(run.out)) << run.out;
    run = RunKept("K7P84", {"-cdownload_pw", (app_ / "GXXX_Default.pw").string()});
    EXPECT_EQ(run.status, 0) << run.out;
    ASSERT_EQ(RunKept("K7P84", {"-cdump_pw"}).status, 0);
    EXPECT_TRUE(ImageOf("P176_C0B0.pw") == ImageOf("GXXX_Default.pw"));
}

// A controller whose hardware set uses no stylus keeps no stylus set: every stylus command says
// so and stores nothing; none of them names a file without a name.
TEST_F(PenCommands, WithoutAStylusTheCommandsSayWhatIsMissing) {
    struct Case {
        const char* command;
        const char* result;
    };
    ASSERT_EQ(RunKept("K9PM100", {"-cdump_pw"}).status, 0);  // a stylus file to offer
    std::filesystem::copy_file(app_ / "P172_C0AC.pw", app_ / "stylus.pw");
    for (const Case& c : {Case{"download_pwt", "0x81000000\n"},
                          Case{"download_pwr", "0x81000000\n"}, Case{"dump_pw", "0x8600000B\n"}}) {
        SCOPED_TRACE(c.command);
        const BuilderRun run = RunKept("K7P100", {std::string("-c") + c.command});
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(Result(), c.result);
        EXPECT_TRUE(Has(run.out,
                        "No stylus parameter set: the hardware set of this controller "
                        "uses no stylus.\n"))
            << run.out;
        EXPECT_FALSE(Has(run.out, "/ ")) << run.out;
        EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();
    }
}

}  // namespace
