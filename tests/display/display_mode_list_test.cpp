// DisplayModeList against a scripted screen: which record is the desktop's, which one a
// switch tries, the capacity, and what a refused change leaves behind.
#include "display/display_mode_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/user32/display/current_mode.h"
#include "scripted_display.h"

namespace {

using porongo::testing::HardwareMode;
using porongo::testing::UseScriptedDisplay;

const HardwareMode k640x480at60{640, 480, 60, false};
const HardwareMode k640x480at72{640, 480, 72, false};
const HardwareMode k1024x768at60{1024, 768, 60, false};
const HardwareMode k1024x768at75{1024, 768, 75, false};

TEST(DisplayModeListTest, TheLastRecordOfTheScreensSizeAndDepthIsTheDesktopsMode) {
  auto screen = UseScriptedDisplay({k1024x768at60, k1024x768at75, k640x480at60}, k1024x768at60);
  DisplayModeList list;
  EXPECT_EQ(list.ScreenWidth(), 1024);
  EXPECT_EQ(list.ScreenHeight(), 768);
  EXPECT_EQ(list.ScreenBits(), 32);
  ASSERT_EQ(list.FindAndSwitch(640, 480, 16), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(list.ScreenBits(), 16);
  EXPECT_EQ(list.RestoreDesktopMode(), DISP_CHANGE_SUCCESSFUL);
  // Restoring hands back the 75 Hz record, listed after the 60 Hz one.
  EXPECT_EQ(screen->current, k1024x768at75);
  EXPECT_EQ(list.ScreenBits(), 32);
}

TEST(DisplayModeListTest, OnlyTheFirstRecordOfASizeAndDepthIsTried) {
  auto screen = UseScriptedDisplay({k640x480at60, k640x480at72, k1024x768at60}, k1024x768at60);
  screen->refused = {k640x480at60};
  DisplayModeList list;
  EXPECT_EQ(list.FindAndSwitch(640, 480, 16), 0);
  EXPECT_EQ(screen->current, k1024x768at60);
  EXPECT_TRUE(screen->applied.empty());
  EXPECT_EQ(list.ScreenBits(), 32);  // a refused test leaves even the depth alone
}

TEST(DisplayModeListTest, TheListEndsAtItsCapacity) {
  // 400 sizes at three depths: 1200 records, of which the first 1000 are kept.
  std::vector<HardwareMode> modes;
  for (int i = 0; i < 400; ++i) modes.push_back({100 + i, 100, 60, false});
  modes.push_back(k1024x768at60);  // sorted last: beyond the capacity
  auto screen = UseScriptedDisplay(modes, k1024x768at60);
  DisplayModeList list;
  EXPECT_EQ(list.ModeCount(), DisplayModeList::Capacity);
  EXPECT_EQ(list.WidthAt(999), 100 + 333);
  EXPECT_EQ(list.BitsAt(999), 8);
  EXPECT_EQ(list.WidthAt(1000), 0);
  // The desktop's records were not among those kept: there is nothing to restore.
  EXPECT_EQ(list.FindAndSwitch(433, 100, 32), 0);  // record 1001
  ASSERT_EQ(list.FindAndSwitch(432, 100, 32), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(list.RestoreDesktopMode(), 0);
  EXPECT_EQ(screen->current, (HardwareMode{432, 100, 60, false}));
}

TEST(DisplayModeListTest, IndexesOutsideTheListGiveZero) {
  UseScriptedDisplay({k640x480at60}, k640x480at60);
  DisplayModeList list;
  ASSERT_EQ(list.ModeCount(), 3);
  for (int i : {-1, 3, 1000}) {
    EXPECT_EQ(list.WidthAt(i), 0) << i;
    EXPECT_EQ(list.HeightAt(i), 0) << i;
    EXPECT_EQ(list.BitsAt(i), 0) << i;
    EXPECT_EQ(list.SwitchTo(i), 0) << i;
  }
  EXPECT_EQ(list.FindAndSwitch(800, 600, 16), 0);
}

TEST(DisplayModeListTest, RestoringInTheDesktopsModeChangesNothing) {
  auto screen = UseScriptedDisplay({k640x480at60, k1024x768at60}, k1024x768at60);
  DisplayModeList list;
  EXPECT_EQ(list.RestoreDesktopMode(), 0);
  EXPECT_TRUE(screen->applied.empty());
}

TEST(DisplayModeListTest, DestructionGivesTheDesktopItsModeBack) {
  auto screen = UseScriptedDisplay({k640x480at60, k1024x768at60}, k1024x768at60);
  {
    DisplayModeList list;
    ASSERT_EQ(list.SwitchTo(1), DISP_CHANGE_SUCCESSFUL);  // 640x480 at 16 bits
    EXPECT_EQ(screen->current, k640x480at60);
  }
  EXPECT_EQ(screen->current, k1024x768at60);
  EXPECT_EQ(win32::display::CurrentScreenMode().bitsPerPixel, 32);
}

TEST(DisplayModeListTest, WithoutADesktopRecordNothingIsRestored) {
  // The screen runs a mode the platform does not list.
  auto screen = UseScriptedDisplay({k640x480at60, k1024x768at60}, HardwareMode{1280, 1024, 60, false});
  DisplayModeList list;
  ASSERT_EQ(list.FindAndSwitch(640, 480, 16), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(list.RestoreDesktopMode(), 0);
  EXPECT_EQ(screen->applied, std::vector<HardwareMode>{k640x480at60});
}

}  // namespace
