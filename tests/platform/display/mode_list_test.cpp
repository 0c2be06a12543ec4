// The choice of a hardware mode for a ChangeDisplaySettingsA request.
#include "platform/user32/display/mode_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using win32::display::ChooseMode;
using win32::display::HardwareMode;
using win32::display::ListedMode;
using win32::display::ModeRequest;

const std::vector<HardwareMode> kModes = {
    {640, 480, 75, false}, {640, 480, 60, false}, {640, 480, 60, true},   {640, 480, 85, false},
    {800, 600, 56, false}, {800, 600, 72, false}, {1024, 768, 60, false},
};

struct ChooseCase {
  const char* name;
  ModeRequest request;
  ListedMode current;
  std::optional<HardwareMode> chosen;
  int bits;
};
void PrintTo(const ChooseCase& c, std::ostream* os) { *os << c.name; }

class ChooseModeTest : public ::testing::TestWithParam<ChooseCase> {};

TEST_P(ChooseModeTest, Chooses) {
  const ChooseCase& c = GetParam();
  std::optional<ListedMode> chosen = ChooseMode(kModes, c.request, c.current);
  ASSERT_EQ(chosen.has_value(), c.chosen.has_value());
  if (!chosen) return;
  EXPECT_EQ(chosen->hardware, *c.chosen);
  EXPECT_EQ(chosen->bitsPerPixel, c.bits);
}

const ListedMode kAt1024x60{{1024, 768, 60, false}, 32};
const ListedMode kAt1024x72{{1024, 768, 72, false}, 16};

INSTANTIATE_TEST_SUITE_P(
    Requests, ChooseModeTest,
    ::testing::Values(
        ChooseCase{"KeepsTheCurrentRate", {640, 480, {}, {}, {}}, kAt1024x60, HardwareMode{640, 480, 60, false}, 32},
        ChooseCase{"ElseTheLowestRate", {800, 600, {}, {}, {}}, kAt1024x60, HardwareMode{800, 600, 56, false}, 32},
        ChooseCase{
            "TheCurrentRateNotTheLowest", {800, 600, {}, {}, {}}, kAt1024x72, HardwareMode{800, 600, 72, false}, 16},
        ChooseCase{"InterlacedWhenAsked", {640, 480, {}, {}, true}, kAt1024x60, HardwareMode{640, 480, 60, true}, 32},
        ChooseCase{"NothingAskedKeepsSizeAndDepth", {}, kAt1024x72, HardwareMode{1024, 768, 60, false}, 16},
        ChooseCase{"OnlyAWidthKeepsTheHeight", {800, {}, {}, {}, {}}, kAt1024x60, std::nullopt, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
