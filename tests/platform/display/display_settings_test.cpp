// EnumDisplaySettingsA, ChangeDisplaySettingsA and the current mode, emulated on an output
// whose own mode the test sets; and where the emulated screen appears on the output.
#include "platform/user32/display/display_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/display/emulated_display_settings.h"
#include "platform/user32/display/output.h"
#include "platform/user32/display/screen_fit.h"
#include "platform/win32.h"

namespace {

using win32::display::CurrentScreenMode;
using win32::display::OutputMode;
using win32::display::ScreenFit;
using win32::display::ScreenMode;

struct Listed {
  DWORD width, height, bits, hz;
  bool operator==(const Listed&) const = default;
};
void PrintTo(const Listed& l, std::ostream* os) { *os << l.width << 'x' << l.height << 'x' << l.bits << '@' << l.hz; }

std::vector<Listed> ListAll() {
  std::vector<Listed> all;
  DEVMODEA mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    all.push_back({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency});
  }
  return all;
}

Listed ListedAt(DWORD index) {
  DEVMODEA mode{};
  EXPECT_TRUE(EnumDisplaySettingsA(nullptr, index, &mode));
  return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency};
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

// An output whose own mode the test sets, and may change as a user would.
class TestOutput final : public win32::display::Output {
 public:
  explicit TestOutput(std::shared_ptr<OutputMode> mode) : mode_(std::move(mode)) {}
  OutputMode Mode() override { return *mode_; }

 private:
  std::shared_ptr<OutputMode> mode_;
};

class DisplaySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { UseOutput({1366, 768, 60, 32}); }
  void UseOutput(OutputMode mode) {
    output = std::make_shared<OutputMode>(mode);
    win32::display::UseDisplaySettings(
        std::make_unique<win32::display::EmulatedDisplaySettings>(std::make_unique<TestOutput>(output)));
  }
  std::shared_ptr<OutputMode> output;
};

TEST_F(DisplaySettingsTest, ListsTheStandardSizesUpToTheOutputsOwnAtThreeDepths) {
  std::vector<Listed> expected;
  for (auto [w, h] : std::vector<std::pair<DWORD, DWORD>>{{640, 480},
                                                          {720, 480},
                                                          {720, 576},
                                                          {800, 600},
                                                          {1024, 768},
                                                          {1280, 720},
                                                          {1280, 768},
                                                          {1360, 768},
                                                          {1366, 768}}) {
    for (DWORD bits : {8u, 16u, 32u}) expected.push_back({w, h, bits, 60});
  }
  EXPECT_EQ(ListAll(), expected);
}

TEST_F(DisplaySettingsTest, TheOutputsOwnModeIsListedWhateverItsSize) {
  UseOutput({1000, 700, 75, 32});
  std::vector<Listed> all = ListAll();
  ASSERT_EQ(all.size(), 15u);  // 640x480, 720x480, 720x576, 800x600 and the output's own
  EXPECT_EQ(all[0], (Listed{640, 480, 8, 75}));
  EXPECT_EQ(all.back(), (Listed{1000, 700, 32, 75}));
  // Smaller than any standard size: its own mode alone.
  UseOutput({600, 400, 60, 32});
  EXPECT_EQ(ListAll(), (std::vector<Listed>{{600, 400, 8, 60}, {600, 400, 16, 60}, {600, 400, 32, 60}}));
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

TEST_F(DisplaySettingsTest, IndexZeroReadsTheOutputAfreshAndLaterIndexesKeepThatList) {
  ASSERT_EQ(ListedAt(0), (Listed{640, 480, 8, 60}));
  *output = {800, 600, 60, 32};                          // the user gave the desktop another resolution
  EXPECT_EQ(ListedAt(26), (Listed{1366, 768, 32, 60}));  // the old list had 27 records
  ASSERT_EQ(ListedAt(0), (Listed{640, 480, 8, 60}));
  DEVMODEA mode;
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 12, &mode));  // four sizes, the output's own among them
}

TEST_F(DisplaySettingsTest, AnswersOnlyForThePrimaryDisplay) {
  DEVMODEA mode;
  EXPECT_TRUE(EnumDisplaySettingsA("", 0, &mode));
  EXPECT_TRUE(EnumDisplaySettingsA("\\\\.\\display1", 0, &mode));
  EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", 0, &mode));
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 0, nullptr));
}

TEST_F(DisplaySettingsTest, AChangeIsThisProgramsModeAndTheDesktopKeepsItsOwn) {
  DEVMODEA want = Record(kSizeAndDepth, 640, 480, 16);
  ASSERT_EQ(ChangeDisplaySettingsA(&want, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(ListedAt(ENUM_CURRENT_SETTINGS), (Listed{640, 480, 16, 60}));
  EXPECT_EQ(ListedAt(ENUM_REGISTRY_SETTINGS), (Listed{1366, 768, 32, 60}));
  EXPECT_EQ(CurrentScreenMode(), (ScreenMode{640, 480, 16, 60}));
  EXPECT_EQ(win32::display::DesktopScreenMode(), (ScreenMode{1366, 768, 32, 60}));
  EXPECT_TRUE(win32::display::ScreenIsEmulated());
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 640);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 480);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
  // The emulated screen has no panels: a window maximised there covers all of it.
  EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYMAXIMIZED), 480);

  // Back to the desktop's own: by a null record, or by naming it.
  ASSERT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode(), (ScreenMode{1366, 768, 32, 60}));
  EXPECT_FALSE(win32::display::ScreenIsEmulated());
  ASSERT_EQ(ChangeDisplaySettingsA(&want, 0), DISP_CHANGE_SUCCESSFUL);
  DEVMODEA desktop = Record(kSizeAndDepth, 1366, 768, 32);
  ASSERT_EQ(ChangeDisplaySettingsA(&desktop, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode(), (ScreenMode{1366, 768, 32, 60}));
}

TEST_F(DisplaySettingsTest, TheDesktopsSizeAtAnotherDepthIsNotAnotherScreen) {
  DEVMODEA want = Record(DM_BITSPERPEL, 0, 0, 16);
  ASSERT_EQ(ChangeDisplaySettingsA(&want, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(CurrentScreenMode(), (ScreenMode{1366, 768, 16, 60}));
  EXPECT_FALSE(win32::display::ScreenIsEmulated());
}

struct ChangeCase {
  const char* name;
  DEVMODEA record;
  DWORD flags;
  LONG result;
  ScreenMode after;
};
void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class ChangeTest : public DisplaySettingsTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeTest, ResultAndMode) {
  ChangeCase c = GetParam();
  EXPECT_EQ(ChangeDisplaySettingsA(&c.record, c.flags), c.result);
  EXPECT_EQ(CurrentScreenMode(), c.after);
}

DEVMODEA Shortened(DEVMODEA mode, WORD size) {
  mode.dmSize = size;
  return mode;
}

const ScreenMode kDesktop{1366, 768, 32, 60};

INSTANTIATE_TEST_SUITE_P(
    Requests, ChangeTest,
    ::testing::Values(
        ChangeCase{"TestOnlyChangesNothing", Record(kSizeAndDepth, 640, 480, 16), CDS_TEST, DISP_CHANGE_SUCCESSFUL,
                   kDesktop},
        ChangeCase{"FullScreenIsAChangeLikeAnother",
                   Record(kSizeAndDepth, 640, 480, 16),
                   CDS_FULLSCREEN,
                   DISP_CHANGE_SUCCESSFUL,
                   {640, 480, 16, 60}},
        ChangeCase{"TheOutputsRateIsHonoured",
                   Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 800, 600, 8, 60),
                   0,
                   DISP_CHANGE_SUCCESSFUL,
                   {800, 600, 8, 60}},
        ChangeCase{"RateOneMeansTheDefault",
                   Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 640, 480, 32, 1),
                   0,
                   DISP_CHANGE_SUCCESSFUL,
                   {640, 480, 32, 60}},
        ChangeCase{"ARateTheOutputDoesNotRunIsABadMode", Record(kSizeAndDepth | DM_DISPLAYFREQUENCY, 640, 480, 16, 85),
                   0, DISP_CHANGE_BADMODE, kDesktop},
        ChangeCase{"ASizeLargerThanTheOutputIsABadMode", Record(kSizeAndDepth, 1600, 1200, 32), 0, DISP_CHANGE_BADMODE,
                   kDesktop},
        ChangeCase{"ASizeWindowsDoesNotOfferIsABadMode", Record(kSizeAndDepth, 700, 500, 32), 0, DISP_CHANGE_BADMODE,
                   kDesktop},
        ChangeCase{"TwentyFourBitsAreNotListed", Record(kSizeAndDepth, 640, 480, 24), 0, DISP_CHANGE_BADMODE, kDesktop},
        ChangeCase{"OnlyAWidthKeepsTheHeightThatNoModeHas", Record(DM_PELSWIDTH, 640, 0, 32), 0, DISP_CHANGE_BADMODE,
                   kDesktop},
        ChangeCase{"UnknownFlagsAreRefused", Record(kSizeAndDepth, 640, 480, 16), 0x100, DISP_CHANGE_BADFLAGS,
                   kDesktop},
        ChangeCase{"ARecordTooShortForTheDisplayFieldsIsABadMode", Shortened(Record(kSizeAndDepth, 640, 480, 16), 64),
                   0, DISP_CHANGE_BADMODE, kDesktop},
        ChangeCase{"AnAllZeroRecordIsABadMode", DEVMODEA{}, 0, DISP_CHANGE_BADMODE, kDesktop},
        ChangeCase{"StoringSwitchesButSaysItWasNotStored",
                   Record(kSizeAndDepth, 640, 480, 16),
                   CDS_UPDATEREGISTRY,
                   DISP_CHANGE_NOTUPDATED,
                   {640, 480, 16, 60}},
        ChangeCase{"StoringWithoutSwitchingDoesNothing", Record(kSizeAndDepth, 640, 480, 16),
                   CDS_UPDATEREGISTRY | CDS_NORESET, DISP_CHANGE_NOTUPDATED, kDesktop}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemOutputTest, QtOffscreenMeansTheAssumedOutput) {
  // The test runs with QT_QPA_PLATFORM=offscreen: no real output is there to read.
  win32::display::UseDisplaySettings(
      std::make_unique<win32::display::EmulatedDisplaySettings>(win32::display::SystemOutput()));
  EXPECT_EQ(CurrentScreenMode(), (ScreenMode{1024, 768, 32, 60}));
  EXPECT_EQ(ListAll().size(), 15u);  // 640x480, 720x480, 720x576, 800x600 and 1024x768
}

struct FitCase {
  const char* name;
  int outputWidth, outputHeight;
  ScreenFit fit;
};
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

class ScreenFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(ScreenFitTest, PlacesA640x480Screen) {
  const FitCase& c = GetParam();
  EXPECT_EQ(win32::display::FitScreen(640, 480, c.outputWidth, c.outputHeight), c.fit);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, ScreenFitTest,
    ::testing::Values(FitCase{"SameSize", 640, 480, {0, 0, 640, 480, 1, false}},
                      FitCase{"FullHdTwiceCentred", 1920, 1080, {320, 60, 1280, 960, 2, false}},
                      FitCase{"EightyPercentOfTheHeightIsEnough", 1600, 1200, {160, 120, 1280, 960, 2, false}},
                      FitCase{"QuadHdThreeTimes", 2560, 1440, {320, 0, 1920, 1440, 3, false}},
                      FitCase{"WideTooShortForTwiceIsSmoothed", 1280, 800, {107, 0, 1067, 800, 800.0 / 480, true}},
                      FitCase{"SmallerThanTheScreenShrinks", 320, 240, {0, 0, 320, 240, 0.5, true}},
                      FitCase{"NoOutputNoScale", 0, 0, {0, 0, 640, 480, 1, false}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
