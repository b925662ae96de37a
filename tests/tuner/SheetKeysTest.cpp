// The page keys of the main sheet with its two pages.
#include <gtest/gtest.h>

#include <string>

#include "model/SheetKeys.h"

namespace tuner {
namespace {

constexpr int kPages = 2;
const KeyAction kNothing{};
KeyAction Select(int page) {
    return {KeyAction::Kind::kSelectPage, page};
}

struct KeyCase {
    const char* name;
    SheetKey key;
    PageKind page;
    int current;
    KeyAction expected;
};

class SheetKeysTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SheetKeysTest, KeyGivesItsAction) {
    const auto& c = GetParam();
    EXPECT_EQ(CommonKeyAction(c.key, c.page, c.current, kPages), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    DrawTestPage, SheetKeysTest,
    ::testing::Values(KeyCase{"EscapeOnPage0",
                              SheetKey::kEscape,
                              PageKind::kDrawTest,
                              0,
                              {KeyAction::Kind::kAskToExit, -1}},
                      KeyCase{"F5OnPage0", SheetKey::kF5, PageKind::kDrawTest, 0, Select(0)},
                      KeyCase{"F6OnPage0", SheetKey::kF6, PageKind::kDrawTest, 0, Select(1)},
                      KeyCase{"F7OnPage0", SheetKey::kF7, PageKind::kDrawTest, 0, kNothing},
                      KeyCase{"F10OnPage0", SheetKey::kF10, PageKind::kDrawTest, 0, kNothing},
                      KeyCase{"CommaOnPage0", SheetKey::kComma, PageKind::kDrawTest, 0, kNothing},
                      KeyCase{"FullStopOnPage0", SheetKey::kFullStop, PageKind::kDrawTest, 0,
                              Select(1)},
                      KeyCase{"OtherOnPage0", SheetKey::kOther, PageKind::kDrawTest, 0, kNothing}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    ImageDataPage, SheetKeysTest,
    ::testing::Values(KeyCase{"EscapeOnPage1",
                              SheetKey::kEscape,
                              PageKind::kImageData,
                              1,
                              {KeyAction::Kind::kAskToExit, -1}},
                      KeyCase{"CommaOnPage1", SheetKey::kComma, PageKind::kImageData, 1, Select(0)},
                      KeyCase{"FullStopOnPage1", SheetKey::kFullStop, PageKind::kImageData, 1,
                              kNothing},
                      KeyCase{"F5OnPage1", SheetKey::kF5, PageKind::kImageData, 1, kNothing},
                      KeyCase{"F6OnPage1", SheetKey::kF6, PageKind::kImageData, 1, kNothing}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tuner
