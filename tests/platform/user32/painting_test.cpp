// Painting: WM_PAINT made on demand and coalesced, erasing, validation, and the pixels that
// reach the screen.
#include <gtest/gtest.h>

#include <QExposeEvent>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWindow>

#include "user32_test_support.h"

using namespace user32_test;

namespace {

std::size_t Count(const std::vector<MSG>& msgs, UINT message) {
  std::size_t n = 0;
  for (const MSG& m : msgs) n += m.message == message;
  return n;
}

class Painting : public ShownWindowTest {
 protected:
  void SetUp() override {
    ShownWindowTest::SetUp();  // the first paint went through DefWindowProcA and validated
    Log().clear();
  }

  // A procedure that paints the client area in one colour with FillRect.
  void PaintWith(COLORREF color) {
    SetHandler([color](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message != WM_PAINT) return std::nullopt;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT all;
      GetClientRect(hwnd, &all);
      HBRUSH brush = CreateSolidBrush(color);
      FillRect(dc, &all, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    });
  }
};

TEST_F(Painting, InvalidationsCoalesceIntoOnePaintUntilValidated) {
  RECT a{0, 0, 10, 10};
  RECT b{50, 60, 70, 80};
  InvalidateRect(window, &a, FALSE);
  InvalidateRect(window, &b, FALSE);
  InvalidateRect(window, &a, FALSE);
  // Reading WM_PAINT does not validate: it comes again until someone does.
  std::vector<MSG> got = Drain(5);
  EXPECT_EQ(Count(got, WM_PAINT), 5u);
  for (const MSG& m : got) EXPECT_EQ(m.hwnd, window);

  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EXPECT_EQ(ps.rcPaint.left, 0);
  EXPECT_EQ(ps.rcPaint.top, 0);
  EXPECT_EQ(ps.rcPaint.right, 70);
  EXPECT_EQ(ps.rcPaint.bottom, 80);
  EndPaint(window, &ps);
  EXPECT_EQ(Count(Drain(), WM_PAINT), 0u);

  InvalidateRect(window, nullptr, FALSE);
  ValidateRect(window, nullptr);
  EXPECT_EQ(Count(Drain(), WM_PAINT), 0u);
}

TEST_F(Painting, EraseIsAskedForByBeginPaintWhenPending) {
  InvalidateRect(window, nullptr, TRUE);
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
  ASSERT_EQ(LogOf(WM_ERASEBKGND).size(), 1u);
  EXPECT_EQ(LogOf(WM_ERASEBKGND)[0].wParam, reinterpret_cast<WPARAM>(ps.hdc));
  EXPECT_FALSE(ps.fErase);  // DefWindowProcA erased with the class brush

  Log().clear();
  InvalidateRect(window, nullptr, FALSE);
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
  EXPECT_TRUE(LogOf(WM_ERASEBKGND).empty());
}

TEST_F(Painting, TheClassBrushErasesWithTheSystemWindowColour) {
  PaintWith(RGB(0, 0, 255));
  InvalidateRect(window, nullptr, FALSE);
  DispatchPending();
  HDC dc = GetDC(window);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
  ReleaseDC(window, dc);
  SetHandler(nullptr);
  // DefWindowProcA's paint erases with COLOR_WINDOW + 1: white.
  InvalidateRect(window, nullptr, TRUE);
  DispatchPending();
  dc = GetDC(window);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  ReleaseDC(window, dc);
}

TEST_F(Painting, WhatIsPaintedIsWhatTheWidgetShows) {
  PaintWith(RGB(200, 30, 10));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_EQ(LogOf(WM_PAINT).size(), 1u);  // painted at once, not through the queue
  QImage shown = WidgetOf(window)->grab().toImage();
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(QColor(shown.pixel(10, 10)), QColor(200, 30, 10));
  EXPECT_EQ(QColor(shown.pixel(shown.width() - 1, shown.height() - 1)), QColor(200, 30, 10));
}

TEST_F(Painting, EveryChangedPixelReachesTheScreen) {
  // Only what differs from what was shown goes to the screen: a program that draws its whole
  // frame again changes a few pixels, wherever they lie.
  QWidget* client = WidgetOf(window);
  auto onScreen = [&](int x, int y) {
    QCoreApplication::processEvents();
    QImage screen = QGuiApplication::primaryScreen()->grabWindow(client->window()->winId()).toImage();
    QPoint at = client->mapTo(client->window(), QPoint(x, y));
    return QColor(screen.pixel(at));
  };
  RECT all;
  GetClientRect(window, &all);
  HDC dc = GetDC(window);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &all, blue);
  DeleteObject(blue);
  ReleaseDC(window, dc);
  ASSERT_EQ(onScreen(5, 5), QColor(0, 0, 255));
  for (POINT p : {POINT{0, 0}, POINT{31, 31}, POINT{32, 32}, POINT{95, 1}, POINT{all.right - 1, all.bottom - 1}}) {
    dc = GetDC(window);
    SetPixel(dc, p.x, p.y, RGB(255, 255, 0));
    ReleaseDC(window, dc);
    EXPECT_EQ(onScreen(p.x, p.y), QColor(255, 255, 0)) << p.x << "," << p.y;
  }
}

TEST_F(Painting, UpdateWindowPaintsOnlyWhatIsInvalid) {
  UpdateWindow(window);
  EXPECT_TRUE(LogOf(WM_PAINT).empty());
  RECT r{1, 1, 2, 2};
  InvalidateRect(window, &r, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(LogOf(WM_PAINT).size(), 1u);
  // An internal paint is one WM_PAINT without an update region.
  RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
  std::vector<MSG> got = Drain();
  EXPECT_EQ(Count(got, WM_PAINT), 1u);
}

TEST_F(Painting, HiddenWindowsAreNotPaintedAndShowingPaintsWhole) {
  ShowWindow(window, SW_HIDE);
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_EQ(Count(Drain(), WM_PAINT), 0u);
  ValidateRect(window, nullptr);
  ShowWindow(window, SW_SHOW);
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(ps.rcPaint.right, client.right);
  EXPECT_EQ(ps.rcPaint.bottom, client.bottom);
  EXPECT_EQ(LogOf(WM_ERASEBKGND).size(), 1u);
}

TEST_F(Painting, TheWindowSystemsExposeOfAPaintedWindowPaintsNothing) {
  // Shown and painted at once, as a program's start-up does: the window system's expose
  // that follows finds the window valid, and Windows sends no second WM_PAINT.
  HWND w = MakeWindow();
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  QCoreApplication::processEvents();
  QWindow* native = WidgetOf(w)->window()->windowHandle();
  ASSERT_NE(native, nullptr);
  QExposeEvent expose(QRegion(QRect(QPoint(0, 0), native->size())));
  QCoreApplication::sendEvent(native, &expose);
  EXPECT_EQ(Count(Drain(), WM_PAINT), 0u);
  DestroyWindow(w);
}

TEST_F(Painting, AFrameChangeRepaintsTheClientAreaWhole) {
  // The caption taken away and given back, each time applied by SWP_FRAMECHANGED, as a
  // program does on the way into full screen and back.
  LONG style = GetWindowLongA(window, GWL_STYLE);
  constexpr UINT kApplyFrame = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  SetWindowLongA(window, GWL_STYLE, style & ~WS_CAPTION);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, kApplyFrame);
  DispatchPending();
  SetWindowLongA(window, GWL_STYLE, style);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, kApplyFrame);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  RECT client;
  GetClientRect(window, &client);
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
  EXPECT_EQ(ps.rcPaint.left, 0);
  EXPECT_EQ(ps.rcPaint.top, 0);
  EXPECT_EQ(ps.rcPaint.right, client.right);
  EXPECT_EQ(ps.rcPaint.bottom, client.bottom);
}

TEST_F(Painting, ControlsLeaveTheirDrawingToQt) {
  for (const char* className : {"BUTTON", "STATIC", "EDIT", UPDOWN_CLASSA}) {
    HWND control =
        CreateWindowExA(0, className, "x", WS_CHILD | WS_VISIBLE, 5, 5, 60, 20, window, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr) << className;
    DispatchPending();
    InvalidateRect(control, nullptr, TRUE);
    // The control's WM_PAINT validates: no second one follows.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, control, WM_PAINT, WM_PAINT, PM_REMOVE)) << className;
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, control, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << className;
    // Erasing counts as done.
    HDC dc = GetDC(control);
    EXPECT_EQ(SendMessageA(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1) << className;
    ReleaseDC(control, dc);
    DestroyWindow(control);
  }
}

struct ResizeCase {
  const char* name;
  UINT classStyle;
  SIZE grow;
  RECT expectedPaint;  // of a 300 x 200 client area grown by `grow`
};

class ResizeInvalidation : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeInvalidation, InvalidatesWholeWithRedrawStylesElseTheNewStrips) {
  const ResizeCase& c = GetParam();
  HWND w = CreateWindowExA(0, RecordingClass(c.classStyle), "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  DispatchPending();
  SetWindowPos(w, nullptr, 0, 0, 300 + c.grow.cx, 200 + c.grow.cy, SWP_NOMOVE | SWP_NOZORDER);
  PAINTSTRUCT ps;
  BeginPaint(w, &ps);
  EndPaint(w, &ps);
  EXPECT_EQ(ps.rcPaint.left, c.expectedPaint.left);
  EXPECT_EQ(ps.rcPaint.top, c.expectedPaint.top);
  EXPECT_EQ(ps.rcPaint.right, c.expectedPaint.right);
  EXPECT_EQ(ps.rcPaint.bottom, c.expectedPaint.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    ClassStyles, ResizeInvalidation,
    ::testing::Values(ResizeCase{"RedrawWider", CS_HREDRAW | CS_VREDRAW, {10, 0}, {0, 0, 310, 200}},
                      ResizeCase{"VRedrawTaller", CS_VREDRAW, {0, 10}, {0, 0, 300, 210}},
                      ResizeCase{"VRedrawWider", CS_VREDRAW, {10, 0}, {300, 0, 310, 200}},
                      ResizeCase{"PlainTaller", 0, {0, 10}, {0, 200, 300, 210}},
                      ResizeCase{"PlainNarrower", 0, {-10, 0}, {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

}  // namespace
