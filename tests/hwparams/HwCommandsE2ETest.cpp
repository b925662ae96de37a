// The hardware set commands end to end: the real builder against the simulated controller, with
// the controller's storage kept between runs, so that what one command writes the next one reads.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "SimulatedBuilder.h"

namespace {

using HwCommands = SimulatedBuilder;

// The simulator keeps its own tables of the chips' register images; the builder builds its
// default set from its chip model. Both must describe the same chip.
TEST_F(HwCommands, TheFactoryModeImagesAreTheChipModelsGroupImages) {
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    RunKept("K7P128", {"-cdump_def"});
    const std::string factory = ImageOf("P096_C060.hw");
    const std::string builder = ImageOf("K7P128_Default.hw");
    ASSERT_EQ(factory.size(), 4096u);
    ASSERT_EQ(builder.size(), 4096u);
    for (int m = 0; m < 6; ++m) {
        for (int reg = 0; reg < 68; ++reg) {
            const std::size_t at = 106 + 68 * m + reg;  // frequency 0, prescaler 18 in both
            auto expected = static_cast<uint8_t>(builder[at]);
            // The factory runs its water-line images in low-gain mode: switch P (reg 14 bit 6)
            // open.
            if ((m == 1 || m == 2) && reg == 14) expected &= 0xBF;
            EXPECT_EQ(static_cast<uint8_t>(factory[at]), expected)
                << "group " << m << " reg " << reg;
        }
    }
}

TEST_F(HwCommands, EditedTextValuesReachTheController) {
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    const std::string file = "P096_C060.hwt";
    SetItem(file, "Sensor Config", "XDimension", "2000");
    SetItem(file, "Hardware Settings", "SCAN_CTRL_WATER", "1");
    SetItem(file, "Freq-1 General Config-RD", "PreScaler", "24");
    SetItem(file, "Freq-0 Noise Reg Parameters", "Noise_AFEGain", "18");
    SetItem(file, "Freq-2 Img Reg Parameters", "Img_Scaling", "9");
    SetItem(file, "Freq-1 Img Parameters-RD", "Img_AFEGain(4)", "26");
    SetItem(file, "WLTx General Config-RD", "WLTx_SinGenAMP", "33");
    BuilderRun run = RunKept("K7P128", {"-cdownload_hwt"});
    ASSERT_EQ(run.status, 0) << run.out;

    std::filesystem::remove(app_ / file);
    run = RunKept("K7P128", {"-cdump_hw"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(ItemValue(file, "Sensor Config", "XDimension"), "2000");
    EXPECT_EQ(ItemValue(file, "Hardware Settings", "SCAN_CTRL_WATER"), "1");
    EXPECT_EQ(ItemValue(file, "Hardware Settings-RD", "ScanCtrl"), "0x00E7");
    EXPECT_EQ(ItemValue(file, "Freq-1 General Config-RD", "PreScaler"), "24");
    EXPECT_EQ(ItemValue(file, "Freq-0 Noise Reg Parameters", "Noise_AFEGain"), "18");
    EXPECT_EQ(ItemValue(file, "Freq-2 Img Reg Parameters", "Img_Scaling"), "9");
    EXPECT_EQ(ItemValue(file, "Freq-1 Img Parameters-RD", "Img_AFEGain(4)"), "26");
    EXPECT_EQ(ItemValue(file, "Freq-1 Img Reg Parameters", "Img_AFEGain"), "26");  // the maximum
    EXPECT_EQ(ItemValue(file, "WLTx General Config-RD", "WLTx_SinGenAMP"), "33");
    // The delay range follows the new prescaler.
    EXPECT_TRUE(Has(File(file), "\nImg_Delay = 15    ;0~71    ;The offset")) << File(file);
}

TEST_F(HwCommands, ATextFileOfAnotherControllerIsRefusedAndNothingIsStored) {
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    SetItem("P096_C060.hwt", "K7P128 hardware parameter file", "ControllerType", "160");
    const BuilderRun run = RunKept("K7P128", {"-cdownload_hwt"});
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(Result(), "0x8A000001\n");
    EXPECT_TRUE(Has(run.out, "Controller Type Incorrect!\n")) << run.out;
    EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();
    EXPECT_FALSE(ToolRan());
}

TEST_F(HwCommands, ABinaryFileGoesBackAndConvertsToTheSameText) {
    ASSERT_EQ(RunKept("K7P100", {"-cdump_hw"}).status, 0);
    const std::string text = File("P094_C05E.hwt");
    std::filesystem::remove(app_ / "P094_C05E.hwt");
    BuilderRun run = RunKept("K7P100", {"-cconvert_hbt"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(File("P094_C05E.hwt"), text);
    EXPECT_FALSE(Has(Trace(), "write_block")) << Trace();

    run = RunKept("K7P100", {"-cdownload_hw"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(Trace(), "write_block type=1 offset=0 length=4096 flag=1 -> ok")) << Trace();
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

// A binary path that names no regular file is one that cannot be opened, not a damaged file.
TEST_F(HwCommands, ABinaryPathThatIsNotAFileCannotBeOpened) {
    std::filesystem::create_directory(app_ / "folder.hw");
    for (const std::string& path : {(app_ / "folder.hw").string(), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        const BuilderRun run = RunKept("K7P100", {"-h" + path, "-cconvert_hbt"});
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(Result(), "0x8100000E\n");
        EXPECT_FALSE(Has(run.out, "CRC Failed")) << run.out;
        EXPECT_FALSE(Has(run.out, ".hwt success")) << run.out;
    }
}

TEST_F(HwCommands, ARegisterFileWrittenByHandChangesTheModeImagesItNames) {
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    const std::string before = ImageOf("P096_C060.hw");
    // Img mode image of frequency 0: image offset 310; VrefGain is register 16 of a T320 image.
    ASSERT_EQ(static_cast<uint8_t>(before[310 + 16]), 0x80);
    std::ofstream(app_ / "P096_C060.hwr") << "[K7P128 hardware register file]\n"
                                          << "ControllerType = 96    ;    ;read only\n\n"
                                          << "[Freq-0 Img Reg Parameters]\n"
                                          << "Img_VrefGain = 150\n"
                                          << "Img_ADCGain = 4\n\n"
                                          << "[Freq-1 Noise Reg Parameters]\n"
                                          << "Noise_ADCGain = 9\n";
    BuilderRun run = RunKept("K7P128", {"-cdownload_hwr"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "Noise_ADCGain range error, value = 9, range = 2~4, Clamp!\n"))
        << run.out;
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    const std::string after = ImageOf("P096_C060.hw");
    EXPECT_EQ(static_cast<uint8_t>(after[310 + 16]), 150);
    EXPECT_EQ(ItemValue("P096_C060.hwt", "Freq-0 Img Reg Parameters", "Img_ADCGain"), "4");
    EXPECT_EQ(ItemValue("P096_C060.hwt", "Freq-1 Noise Reg Parameters", "Noise_ADCGain"), "4");
    // Nothing else of the set moved: the two mode images and the checksum are all that differ.
    int differences = 0;
    for (std::size_t i = 4; i < after.size(); ++i) {
        const bool inChanged = (i >= 310 && i < 378) || (i >= 596 && i < 664);
        if (!inChanged) differences += before[i] != after[i];
    }
    EXPECT_EQ(differences, 0);
}

// On the T324 the register file reaches the chip's own fields: its 12-bit DAC reference spans two
// registers, and a tuning field outside the group's tuning items is not read.
TEST_F(HwCommands, OnTheK7P84ARegisterFileChangesTheT324FieldsItNames) {
    ASSERT_EQ(RunKept("K7P84", {"-cdump_hw"}).status, 0);
    const std::string before = ImageOf("P176_C0B0.hw");
    std::ofstream(app_ / "P176_C0B0.hwr")
        << "[K7P84 hardware register file]\nControllerType = 176\n\n"
           "[Freq-1 Img Reg Parameters]\nImg_DACVB = 856\nImg_SR3 = 9\nImg_ReadSel = 2\n";
    BuilderRun run = RunKept("K7P84", {"-cdownload_hwr"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(Trace(), "write_block type=1 offset=0 length=4096 flag=1 -> ok")) << Trace();

    ASSERT_EQ(RunKept("K7P84", {"-cdump_hw"}).status, 0);
    const std::string after = ImageOf("P176_C0B0.hw");
    const std::size_t img = 106 + 490 + 68 * 3;  // frequency 1, group 3
    EXPECT_EQ(static_cast<uint8_t>(after[img + 23]), 0x58);         // 856 = 0x358
    EXPECT_EQ(static_cast<uint8_t>(after[img + 24]) & 0x0F, 0x03);
    EXPECT_EQ(static_cast<uint8_t>(after[img + 9]) & 0x0F, 2);
    EXPECT_EQ(static_cast<uint8_t>(after[img + 6]), static_cast<uint8_t>(before[img + 6]));
    int differences = 0;
    for (std::size_t i = 4; i < after.size(); ++i) differences += before[i] != after[i];
    EXPECT_EQ(differences, 3);
}

TEST_F(HwCommands, AdjustHwParamAppliesTheOffsetsAndStoresTheSet) {
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    ASSERT_EQ(ItemValue("P096_C060.hwt", "Freq-0 Img Reg Parameters", "Img_Scaling"), "6");
    BuilderRun run = RunKept(
        "K7P128", {"-cadjust_hw_param", "-Ea03", "-Ea112", "-Eb0340", "-Ec1950", "-Eb3033"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(Trace(), "write_block type=1 offset=0 length=4096 flag=1 -> ok")) << Trace();
    EXPECT_TRUE(ToolRan());

    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    const std::string file = "P096_C060.hwt";
    EXPECT_EQ(ItemValue(file, "Freq-0 Img Reg Parameters", "Img_Scaling"), "9");
    EXPECT_EQ(ItemValue(file, "Freq-1 Img Reg Parameters", "Img_Scaling"), "15");  // 6 + 12
    EXPECT_EQ(ItemValue(file, "Freq-0 Img Parameters-RD", "Img_Delay(3)"), "40");
    EXPECT_EQ(ItemValue(file, "Freq-0 Img Reg Parameters", "Img_Delay"), "40");
    EXPECT_EQ(ItemValue(file, "Freq-1 Img Parameters-RD", "Img_MeasureCnt(9)"), "50");
    EXPECT_EQ(ItemValue(file, "Freq-0 Noise Reg Parameters", "Noise_Scaling"), "8");
    EXPECT_EQ(ItemValue(file, "Freq-0 Noise Reg Parameters", "Noise_Delay"), "17");
    EXPECT_EQ(ItemValue(file, "Freq-2 Noise Reg Parameters", "Noise_MeasureCnt"), "25");
}

// Each command that stores the hardware set then has the uniformity table built: with the tool,
// without it, and not at all when the controller reports an error flag that stops the command.
TEST_F(HwCommands, DownloadsEndWithTheUniformityToolUnlessTheControllerReportsAnError) {
    struct Command {
        const char* name;
        uint32_t base;
    };
    const Command commands[] = {{"download_hw", 0x09000000},
                                {"download_hwt", 0x0A000000},
                                {"download_hwr", 0x0B000000},
                                {"adjust_hw_param", 0x02600000}};
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    std::ofstream(app_ / "P096_C060.hwr") << "[K7P128 hardware register file]\n"
                                          << "ControllerType = 96\n";
    const std::string faulty = Profile("model = K7P128\nerror_flags = 0x00000001\n");
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        BuilderRun run = RunKept("K7P128", {std::string("-c") + c.name});
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_TRUE(ToolRan());

        run = RunKept(faulty, {std::string("-c") + c.name});
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(Result(), "0x80000001\n");
        EXPECT_TRUE(Has(Trace(), "write_block type=1 offset=0 length=4096 flag=1 -> ok"));
        EXPECT_FALSE(ToolRan());
    }
    std::filesystem::remove(app_ / "TovrexT310Suite.exe");
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        const BuilderRun run = RunKept("K7P128", {std::string("-c") + c.name});
        EXPECT_EQ(run.status, 8) << run.out;
        char expected[16];
        std::snprintf(expected, sizeof expected, "0x%08X\n", 0x80000000u | c.base | 0x15u);
        EXPECT_EQ(Result(), expected);
    }
}

TEST_F(HwCommands, DumpDefWritesDefaultFilesThatLoadAgain) {
    const BuilderRun run = RunKept("K7P128", {"-cdump_def"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Result(), "0x00000000\n") << run.out;
    ASSERT_TRUE(std::filesystem::exists(app_ / "K7P128_Default.hwt")) << run.out;
    ASSERT_EQ(std::filesystem::file_size(app_ / "K7P128_Default.hw"), 64u + 4096u);
    const std::string text = File("K7P128_Default.hwt");
    EXPECT_TRUE(Has(text, "[K7P128 hardware parameter file]\nControllerType = 96")) << text;
    EXPECT_EQ(ItemValue("K7P128_Default.hwt", "Sensor Config", "NumsOfFreq"), "1");
    EXPECT_FALSE(Has(text, "[Freq-1 "));

    BuilderRun load =
        RunKept("K7P128", {"-cdownload_hwt", "-t" + (app_ / "K7P128_Default.hwt").string()});
    EXPECT_EQ(load.status, 0) << load.out;
    EXPECT_TRUE(Clean(load.out)) << load.out;
    load = RunKept("K7P128", {"-cdownload_hw", "-h" + (app_ / "K7P128_Default.hw").string()});
    EXPECT_EQ(load.status, 0) << load.out;
    ASSERT_EQ(RunKept("K7P128", {"-cdump_hw"}).status, 0);
    EXPECT_TRUE(ImageOf("P096_C060.hw") == ImageOf("K7P128_Default.hw"));
}

}  // namespace
