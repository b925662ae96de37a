// The factory parameter sets of every model go through their text files unchanged: dumped, loaded
// from the text and stored, each reads back byte for byte, without a single range message on the
// way. The controller's storage is kept between runs, so what one command writes the next reads.
#include <ostream>
#include <string>
#include <vector>

#include "SimModels.h"
#include "SimulatedBuilder.h"

namespace {

using testsupport::SimModel;

// A parameter set as its commands and files show it.
struct ParamSet {
    std::string name;
    std::string dump, download;         // the commands that write its files and store its text
    std::string binary, text;           // file name extensions
    std::string title;                  // the text file's first section, after the model's name
    std::vector<std::string> sections;  // some sections every text file of the set has
    std::string dumpSays;               // a line the dump prints; empty: none checked
    std::string stored;                 // the trace line of the set going into storage
    bool buildsUniformityTable;         // storing the set has the uniformity tool run
};

const ParamSet kHardware{.name = "Hardware",
                         .dump = "-cdump_hw",
                         .download = "-cdownload_hwt",
                         .binary = ".hw",
                         .text = ".hwt",
                         .title = "hardware parameter file",
                         .sections = {"Freq-2 Img Reg Parameters"},
                         .dumpSays = "",
                         .stored = "write_block type=1 offset=0 length=4096 flag=1 -> ok",
                         .buildsUniformityTable = true};
const ParamSet kStylus{.name = "Stylus",
                       .dump = "-cdump_pw",
                       .download = "-cdownload_pwt",
                       .binary = ".pw",
                       .text = ".pwt",
                       .title = "stylus parameter file",
                       .sections = {"Freq-1 RawTx Reg Parameters", "Alg Threshold 1"},
                       .dumpSays = "Dev parameter version: HW=13, SW=26, PW=14\n",
                       .stored = "write_block type=3 offset=0 length=4096 flag=1 -> ok",
                       .buildsUniformityTable = false};

struct Case {
    ParamSet set;
    SimModel model;
};

// The hardware set of every model; the stylus set of every model whose hardware set uses one.
std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const SimModel& m : testsupport::SimModels()) cases.push_back({kHardware, m});
    for (const SimModel& m : testsupport::SimModelsWhere(testsupport::WithStylus))
        cases.push_back({kStylus, m});
    return cases;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.set.name << " set of " << c.model.name;
}

class FactorySet : public SimulatedBuilder, public testing::WithParamInterface<Case> {};

TEST_P(FactorySet, SurvivesItsTextFile) {
    const ParamSet& set = GetParam().set;
    const SimModel& m = GetParam().model;
    const std::string binary = m.stem + set.binary;
    const std::string textFile = m.stem + set.text;
    BuilderRun run = RunKept(m.name, {set.dump});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Clean(run.out)) << run.out;
    if (!set.dumpSays.empty()) {
        EXPECT_TRUE(Has(run.out, set.dumpSays)) << run.out;
    }
    EXPECT_EQ(std::filesystem::file_size(app_ / binary), 64u + 4096u);
    const std::string dumped = ImageOf(binary);
    const std::string text = File(textFile);
    EXPECT_TRUE(Has(text, "[" + m.name + " " + set.title + "]\n")) << text;
    for (const std::string& section : set.sections)
        EXPECT_TRUE(Has(text, "[" + section + "]")) << section << " in\n" << text;

    run = RunKept(m.name, {set.download});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Result(), "0x00000000\n");
    EXPECT_TRUE(Clean(run.out)) << run.out;
    EXPECT_TRUE(Has(Trace(), set.stored)) << Trace();
    EXPECT_EQ(ToolRan(), set.buildsUniformityTable);

    run = RunKept(m.name, {set.dump});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(ImageOf(binary) == dumped) << "the stored set changed";
    EXPECT_EQ(File(textFile), text);
}

INSTANTIATE_TEST_SUITE_P(Models, FactorySet, testing::ValuesIn(Cases()), [](const auto& info) {
    return info.param.set.name + "_" + testsupport::TestName(info.param.model);
});

}  // namespace
