// The model table: it agrees with the simulated controller's built-in models, and a new model is
// one more row, with no code to change.
#include <gtest/gtest.h>

#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "core/ControllerExceptions.h"
#include "core/ModelTable.h"
#include "device/CMCU.h"
#include "params/CParam_HW.h"
#include "params/HwLayout.h"
#include "sim/Profile.h"

namespace {

ChipFamily FamilyOf(sim::ChipModel chip) {
    switch (chip) {
        case sim::ChipModel::T320:
            return ChipFamily::T320;
        case sim::ChipModel::T324:
            return ChipFamily::T324;
        case sim::ChipModel::T3300:
            break;
    }
    return ChipFamily::T3300;
}

TEST(ModelTable, AgreesWithTheSimulatedModels) {
    const std::vector<std::string> names = sim::builtinModelNames();
    ASSERT_EQ(names.size(), SupportedModels().size());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto profile = sim::builtinProfile(name);
        ASSERT_TRUE(profile.has_value());
        const ModelRow* row = FindModel(profile->typeCode);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->name, name);
        EXPECT_EQ(row->chip, FamilyOf(profile->chip));
        EXPECT_EQ(row->defaultChips, profile->chipCount);
    }
    EXPECT_EQ(FindModel(0), nullptr);
    EXPECT_EQ(FindModel(95), nullptr);
}

class NinthModel : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        options_.folders.workingFolder = folder_.string() + "/";
        models_.assign(SupportedModels().begin(), SupportedModels().end());
        // Two T3300 chips, the second of them the smaller variant, with a stylus.
        models_.push_back({200, "K9P120", ChipFamily::T3300, 2, 0x2, 96, 150,
                           FrequencyTable::kByClockType, false, false, true, true, false, 0, true});
    }

    CController& BuildNinth(std::span<const ModelRow> models) {
        DevRecord record{};
        device_.typeCode = 200;
        controller_ = std::make_unique<CController>(FakeDevLink(), kFakeHandle, record, 200,
                                                    "K9P120", options_, models);
        controller_->CreateObjects();
        return *controller_;
    }

    std::vector<ModelRow> models_;
};

TEST_F(NinthModel, IsRefusedWithoutItsRow) {
    EXPECT_THROW(BuildNinth(SupportedModels()), CInitDevException);
}

TEST_F(NinthModel, TakesEveryFactFromItsRow) {
    CController& c = BuildNinth(models_);
    EXPECT_EQ(c.Model().name, std::string("K9P120"));

    // The chip follows the row's chip, and the smaller variant only where the row says so.
    CSlave& chip = c.Chip();
    EXPECT_EQ(chip.GetMaxTxChannels(), 128);
    EXPECT_EQ(chip.GetRxChannelLast(0), 99);
    EXPECT_EQ(chip.GetRxChannelLast(1), 79);
    EXPECT_EQ(chip.GetTxChannelLast(1), 55);
    EXPECT_EQ(chip.GetFirstChipRxOffset(), 0);  // the first chip is the full one

    EXPECT_EQ(c.Mcu().GetModelLimitA(), 96);
    EXPECT_EQ(c.Mcu().GetModelLimitB(), 150);

    // The default hardware set: the row's chip count, the chips' own ranges, the stylus scan.
    CParam_HW& hw = c.Hw();
    testing::internal::CaptureStdout();
    hw.InitDefaultFileName();
    EXPECT_EQ(hw.LoadDefault(), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(hw.NumsOfTxChips(), 2);
    EXPECT_EQ(hw.NumsOfRxChips(), 2);
    EXPECT_EQ(hw.Byte(hw::kRxRange + 3), 79);
    EXPECT_TRUE(hw.UsesStylus());
}

}  // namespace
