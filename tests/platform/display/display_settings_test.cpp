// EnumDisplaySettingsA, ChangeDisplaySettingsA and the current mode, on a scripted screen.
#include "platform/user32/display/display_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/display/fixed_screen_backend.h"
#include "platform/win32.h"
#include "scripted_display.h"

namespace {

using porongo::testing::HardwareMode;
using porongo::testing::ScriptedGuards;
using porongo::testing::ScriptedScreen;
using porongo::testing::UseScriptedDisplay;
using win32::display::CurrentScreenMode;

const HardwareMode k640x480at60{640, 480, 60, false};
const HardwareMode k640x480at75{640, 480, 75, false};
const HardwareMode k800x600at60{800, 600, 60, false};
const HardwareMode k1024x768at60{1024, 768, 60, false};
const HardwareMode k1024x768at75{1024, 768, 75, false};

struct Listed {
  DWORD width, height, bits, hz;
  bool operator==(const Listed&) const = default;
};

std::vector<Listed> ListAll() {
  std::vector<Listed> all;
  DEVMODEA mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    all.push_back({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency});
  }
  return all;
}

DEVMODEA Record(DWORD fields, DWORD width, DWORD height, DWORD bits, DWORD hz = 0) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = fields;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmBitsPerPel = bits;
  mode.dmDisplayFrequency = hz;
  return mode;
}

constexpr DWORD kSize = DM_PELSWIDTH | DM_PELSHEIGHT;
constexpr DWORD kSizeAndDepth = kSize | DM_BITSPERPEL;

class DisplaySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    guards = std::make_shared<ScriptedGuards>();
    screen = UseScriptedDisplay({k1024x768at60, k640x480at75, k800x600at60, k640x480at60, k1024x768at75}, k1024x768at60,
                                guards);
  }
  std::shared_ptr<ScriptedScreen> screen;
  std::shared_ptr<ScriptedGuards> guards;
};

TEST_F(DisplaySettingsTest, ListsEverySizeAndRateAtThreeDepthsInSortedOrder) {
  screen->modes.push_back(k800x600at60);  // a duplicate is listed once
  std::vector<Listed> expected;
  for (HardwareMode m : {k640x480at60, k640x480at75, k800x600at60, k1024x768at60, k1024x768at75}) {
    for (DWORD bits : {8u, 16u, 32u}) {
      expected.push_back({DWORD(m.width), DWORD(m.height), bits, DWORD(m.refreshHz)});
    }
  }
  EXPECT_EQ(ListAll(), expected);
}

TEST_F(DisplaySettingsTest, FillsTheWholeRecord) {
  DEVMODEA mode;
  std::memset(&mode, 0xAB, sizeof mode);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 1, &mode));
  EXPECT_EQ(mode.dmSize, 148);
  EXPECT_EQ(mode.dmDriverExtra, 0);
  EXPECT_EQ(mode.dmSpecVersion, DM_SPECVERSION);
  EXPECT_EQ(mode.dmFields, DWORD(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY));
  EXPECT_STREQ(reinterpret_cast<const char*>(mode.dmDeviceName), "\\\\.\\DISPLAY1");
  EXPECT_EQ(mode.dmBitsPerPel, 16u);
  EXPECT_EQ(mode.dmPelsWidth, 640u);
  EXPECT_EQ(mode.dmPelsHeight, 480u);
  EXPECT_EQ(mode.dmDisplayFrequency, 60u);
  EXPECT_EQ(mode.dmDisplayFlags, 0u);
  EXPECT_EQ(mode.dmICMMethod, 0u);  // no byte of the caller's left behind
  EXPECT_EQ(mode.dmReserved2, 0u);
}

TEST_F(DisplaySettingsTest, IndexZeroReadsTheModesAfreshAndLaterIndexesKeepThatList) {
  DEVMODEA mode;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 0, &mode));
  screen->modes = {k800x600at60};
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 14, &mode));  // the old list had 15 records
  EXPECT_EQ(mode.dmPelsWidth, 1024u);
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 15, &mode));
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 0, &mode));
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 3, &mode));
}

TEST_F(DisplaySettingsTest, AnswersOnlyForThePrimaryDisplay) {
  DEVMODEA mode;
  EXPECT_TRUE(EnumDisplaySettingsA("", 0, &mode));
  EXPECT_TRUE(EnumDisplaySettingsA("\\\\.\\display1", 0, &mode));
  EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", 0, &mode));
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 0, nullptr));
}

TEST_F(DisplaySettingsTest, CurrentSettingsFollowTheScreenAndTheEmulatedDepth) {
  DEVMODEA mode;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  EXPECT_EQ(Listed({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency}),
            Listed({1024, 768, 32, 60}));

  DEVMODEA want = Record(kSizeAndDepth, 640, 480, 16);
  ASSERT_EQ(ChangeDisplaySettingsA(&want, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  EXPECT_EQ(Listed({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency}),
            Listed({640, 480, 16, 60}));
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &mode));
  EXPECT_EQ(Listed({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency}),
            Listed({1024, 768, 32, 60}));
}

struct ChangeCase {
  const char* name;
  DEVMODEA record;
  DWORD flags;
  LONG result;
  HardwareMode screenAfter;
  int bitsAfter;
};
void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class ChangeTest : public DisplaySettingsTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeTest, ResultAndMode) {
  screen->refused = {k800x600at60};
  ChangeCase c = GetParam();
  EXPECT_EQ(ChangeDisplaySettingsA(&c.record, c.flags), c.result);
  EXPECT_EQ(screen->current, c.screenAfter);
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, c.bitsAfter);
  EXPECT_EQ(CurrentScreenMode().width, c.screenAfter.width);
}

DEVMODEA Shortened(DEVMODEA mode, WORD size) {
  mode.dmSize = size;
  return mode;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ChangeTest,
    ::testing::Values(
        ChangeCase{"TestOnlyChangesNothing", Record(kSizeAndDepth, 640, 480, 16), CDS_TEST, DISP_CHANGE_SUCCESSFUL,
                   k1024x768at60, 32},
        ChangeCase{"SwitchKeepsTheCurrentRateWhenTheSizeHasIt", Record(kSizeAndDepth, 640, 480, 16), 0,
                   DISP_CHANGE_SUCCESSFUL, k640x480at60, 16},
        ChangeCase{"AnExplicitRateIsHonoured", Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 640, 480, 16, 75), 0,
                   DISP_CHANGE_SUCCESSFUL, k640x480at75, 16},
        ChangeCase{"RateOneMeansTheDefault", Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 640, 480, 32, 1), 0,
                   DISP_CHANGE_SUCCESSFUL, k640x480at60, 32},
        ChangeCase{"AnUnlistedRateIsABadMode", Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 640, 480, 16, 85), 0,
                   DISP_CHANGE_BADMODE, k1024x768at60, 32},
        ChangeCase{"UnflaggedFieldsKeepTheirCurrentValues", Record(DM_BITSPERPEL, 640, 480, 8), 0,
                   DISP_CHANGE_SUCCESSFUL, k1024x768at60, 8},
        ChangeCase{"AnUnlistedSizeIsABadMode", Record(kSizeAndDepth, 1280, 1024, 32), 0, DISP_CHANGE_BADMODE,
                   k1024x768at60, 32},
        ChangeCase{"TwentyFourBitsAreNotListed", Record(kSizeAndDepth, 640, 480, 24), 0, DISP_CHANGE_BADMODE,
                   k1024x768at60, 32},
        ChangeCase{"AModeTheScreenRefusesIsABadMode", Record(kSizeAndDepth, 800, 600, 32), CDS_TEST,
                   DISP_CHANGE_BADMODE, k1024x768at60, 32},
        ChangeCase{"UnknownFlagsAreRefused", Record(kSizeAndDepth, 640, 480, 16), 0x100, DISP_CHANGE_BADFLAGS,
                   k1024x768at60, 32},
        ChangeCase{"ARecordTooShortForTheDisplayFieldsIsABadMode", Shortened(Record(kSizeAndDepth, 640, 480, 16), 64),
                   0, DISP_CHANGE_BADMODE, k1024x768at60, 32},
        ChangeCase{"AnAllZeroRecordIsABadMode", DEVMODEA{}, 0, DISP_CHANGE_BADMODE, k1024x768at60, 32},
        ChangeCase{"StoringSwitchesButSaysItWasNotStored", Record(kSizeAndDepth, 640, 480, 16), CDS_UPDATEREGISTRY,
                   DISP_CHANGE_NOTUPDATED, k640x480at60, 16},
        ChangeCase{"StoringWithoutSwitchingDoesNothing", Record(kSizeAndDepth, 640, 480, 16),
                   CDS_UPDATEREGISTRY | CDS_NORESET, DISP_CHANGE_NOTUPDATED, k1024x768at60, 32}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DisplaySettingsTest, ADepthChangeAloneIsEmulatedWithoutTouchingTheScreen) {
  DEVMODEA want = Record(DM_BITSPERPEL, 0, 0, 16);
  ASSERT_EQ(ChangeDisplaySettingsA(&want, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, 16);
  EXPECT_TRUE(screen->applied.empty());
  EXPECT_EQ(guards->launched, 0);
  ASSERT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, 32);
  EXPECT_TRUE(screen->restored.empty());
}

TEST_F(DisplaySettingsTest, TheGuardIsArmedWhileTheScreenIsAwayFromTheDesktop) {
  DEVMODEA small = Record(kSizeAndDepth, 640, 480, 16);
  DEVMODEA medium = Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 640, 480, 16, 75);
  ASSERT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(guards->launched, 1);
  EXPECT_TRUE(guards->Armed());
  ASSERT_EQ(ChangeDisplaySettingsA(&medium, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(guards->launched, 1);  // one guard for the whole run
  EXPECT_TRUE(guards->Armed());
  ASSERT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(screen->current, k1024x768at60);
  EXPECT_FALSE(guards->Armed());
  EXPECT_EQ(screen->snapshots.size(), 1u);  // the desktop is recorded before the first switch only
  ASSERT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(guards->Armed());
  EXPECT_EQ(guards->launched, 1);
}

TEST_F(DisplaySettingsTest, SwitchingBackToTheDesktopsModeRestoresItsWholeConfiguration) {
  DEVMODEA small = Record(kSizeAndDepth, 640, 480, 16);
  DEVMODEA desktop = Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 1024, 768, 32, 60);
  ASSERT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_EQ(ChangeDisplaySettingsA(&desktop, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(screen->applied, std::vector<HardwareMode>{k640x480at60});
  EXPECT_EQ(screen->restored, std::vector<HardwareMode>{k1024x768at60});
  EXPECT_FALSE(guards->Armed());
}

TEST_F(DisplaySettingsTest, AnotherRateOfTheDesktopsSizeLeavesTheGuardArmed) {
  DEVMODEA small = Record(kSizeAndDepth, 640, 480, 16);
  DEVMODEA desktopAt75 = Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 1024, 768, 32, 75);
  ASSERT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_EQ(ChangeDisplaySettingsA(&desktopAt75, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(screen->current, k1024x768at75);
  EXPECT_TRUE(guards->Armed());
}

TEST_F(DisplaySettingsTest, AFailedSwitchLeavesModeDepthAndGuardAsTheyWere) {
  screen->applyFails = true;
  DEVMODEA small = Record(kSizeAndDepth, 640, 480, 16);
  EXPECT_EQ(ChangeDisplaySettingsA(&small, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_FAILED);
  EXPECT_EQ(screen->current, k1024x768at60);
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, 32);
  EXPECT_FALSE(guards->Armed());
}

TEST_F(DisplaySettingsTest, AFailedRestoreIsReportedAndTheGuardStaysArmed) {
  DEVMODEA small = Record(kSizeAndDepth, 640, 480, 16);
  ASSERT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_SUCCESSFUL);
  screen->applyFails = true;
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_FAILED);
  EXPECT_EQ(screen->current, k640x480at60);
  EXPECT_TRUE(guards->Armed());
  screen->applyFails = false;
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_FALSE(guards->Armed());
}

TEST_F(DisplaySettingsTest, RestoringWithoutAnyChangeDoesNothing) {
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(screen->restored.empty());
  EXPECT_TRUE(screen->snapshots.empty());
  EXPECT_EQ(guards->launched, 0);
}

TEST_F(DisplaySettingsTest, AScreenChangedFromOutsideShowsAtOnce) {
  screen->current = k800x600at60;
  EXPECT_EQ(CurrentScreenMode().width, 800);
  EXPECT_EQ(CurrentScreenMode().height, 600);
}

TEST(FixedScreenTest, TheOnlyModeIsTheCurrentScreenAtThreeDepths) {
  win32::display::UseDisplayBackend(
      std::make_unique<win32::display::FixedScreenBackend>(HardwareMode{1024, 768, 60, false}, 32));
  EXPECT_EQ(ListAll(), (std::vector<Listed>{{1024, 768, 8, 60}, {1024, 768, 16, 60}, {1024, 768, 32, 60}}));
  DEVMODEA small = Record(kSizeAndDepth, 640, 480, 16);
  EXPECT_EQ(ChangeDisplaySettingsA(&small, CDS_TEST), DISP_CHANGE_BADMODE);
  EXPECT_EQ(ChangeDisplaySettingsA(&small, 0), DISP_CHANGE_BADMODE);
  DEVMODEA deep = Record(kSizeAndDepth, 1024, 768, 16);
  EXPECT_EQ(ChangeDisplaySettingsA(&deep, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, 16);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, 32);
}

TEST(SystemScreenTest, QtOffscreenMeansTheAssumedScreen) {
  // The test runs with QT_QPA_PLATFORM=offscreen: a real X server must not be touched.
  win32::display::UseDisplayBackend(win32::display::SystemBackend());
  win32::display::ScreenMode mode = CurrentScreenMode();
  EXPECT_EQ(mode.width, 1024);
  EXPECT_EQ(mode.height, 768);
  EXPECT_EQ(mode.bitsPerPixel, 32);
  EXPECT_EQ(ListAll().size(), 3u);
}

}  // namespace
