// The clock, the current directory, error codes and messages, and MulDiv.
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/kernel32/tick_count_override.h"
#include "platform/win32.h"
#include "tests/common/scratch_dir.h"

namespace {

DWORD BootMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<DWORD>(static_cast<std::uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
}

TEST(TickCount, CountsMillisecondsSinceBoot) {
  DWORD before = BootMilliseconds();
  DWORD tick = GetTickCount();
  DWORD after = BootMilliseconds();
  EXPECT_LE(tick - before, after - before);  // unsigned: also right across a wrap
  Sleep(30);
  EXPECT_GE(GetTickCount() - tick, 30u);
}

TEST(TickCount, OverrideControlsTheClock) {
  DWORD fake = 0xFFFFFFF0u;
  win32::testing::SetTickCountOverride([&] { return fake; });
  EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
  fake += 0x20;  // wraps
  EXPECT_EQ(GetTickCount(), 0x10u);
  DWORD fromOtherThread = 0;
  std::thread([&] { fromOtherThread = GetTickCount(); }).join();
  EXPECT_EQ(fromOtherThread, 0x10u);
  win32::testing::ClearTickCountOverride();
  EXPECT_NEAR(static_cast<double>(GetTickCount()), static_cast<double>(BootMilliseconds()), 1000.0);
}

TEST(CurrentDirectory, FollowsWin32ReturnRules) {
  test::ScratchDir dir;
  test::CurrentDirectoryGuard guard;
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  const std::string expected = dir.path();
  const DWORD length = static_cast<DWORD>(expected.size());

  std::string buffer(length + 10, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, buffer.data()), length);  // fits exactly
  EXPECT_EQ(std::string(buffer.c_str()), expected);

  std::string small(length, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length, small.data()), length + 1);  // one short: the size needed
  EXPECT_EQ(small, std::string(length, '#'));                         // and untouched
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
}

TEST(CurrentDirectory, IsCodePage932) {
  test::ScratchDir dir;
  const std::string utf8 = dir.path() + "/\xE8\xA1\xA8\xE7\xA4\xBA";  // 表示
  ASSERT_EQ(mkdir(utf8.c_str(), 0755), 0);
  const std::string unrepresentable = dir.path() + "/\xF0\x9F\x90\x8D";  // a snake emoji
  ASSERT_EQ(mkdir(unrepresentable.c_str(), 0755), 0);
  test::CurrentDirectoryGuard guard;

  char buffer[4096];
  ASSERT_EQ(chdir(utf8.c_str()), 0);
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  EXPECT_EQ(std::string(buffer, n), dir.path() + "/\x95\x5C\x8E\xA6");

  ASSERT_EQ(chdir(unrepresentable.c_str()), 0);
  SetLastError(0);
  EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST(LastError, IsPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seenByOther = 1;
  std::thread([&] {
    seenByOther = GetLastError();
    SetLastError(ERROR_DISK_FULL);
  }).join();
  EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(FormatMessage, SystemTexts) {
  char buffer[256];
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD n = FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, sizeof buffer, nullptr);
  EXPECT_EQ(std::string(buffer, n), "Access is denied.\r\n");
  n = FormatMessageA(flags, nullptr, ERROR_DISK_FULL, 0, buffer, sizeof buffer, nullptr);
  EXPECT_EQ(std::string(buffer, n), "There is not enough space on the disk.\r\n");
  n = FormatMessageA(flags | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr, ERROR_PATH_NOT_FOUND, 0, buffer, sizeof buffer,
                     nullptr);
  EXPECT_EQ(std::string(buffer, n), "The system cannot find the path specified. ");

  // Every code the platform sets has a text.
  for (DWORD code : {ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_INVALID_PARAMETER, ERROR_FILE_TOO_LARGE,
                     ERROR_MORE_DATA, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE, ERROR_SHARING_VIOLATION,
                     ERROR_WRITE_FAULT, ERROR_MOD_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND}) {
    n = FormatMessageA(flags, nullptr, code, 0, buffer, sizeof buffer, nullptr);
    EXPECT_GT(n, 2u) << code;
    EXPECT_EQ(std::string(buffer, n).substr(n - 2), "\r\n") << code;
  }

  SetLastError(0);
  EXPECT_EQ(FormatMessageA(flags, nullptr, 999999, 0, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
  EXPECT_EQ(FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 5, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(MulDiv, RoundsHalfAwayFromZero) {
  struct Case {
    int number, numerator, denominator, expected;
  } cases[] = {
      {10, 3, 4, 8},    // 7.5 -> 8
      {-10, 3, 4, -8},  // -7.5 -> -8
      {10, -3, 4, -8},
      {10, 3, -4, -8},
      {-10, -3, -4, -8},
      {10, 1, 3, 3},  // 3.33 -> 3
      {20, 1, 3, 7},  // 6.67 -> 7
      {5, 1, 2, 3},   // 2.5 -> 3
      {-5, 1, 2, -3},
      {96, 12, 72, 16},  // the point-size formula
      {0, 5, 7, 0},
      {1, 1, 0, -1},                                     // zero denominator
      {0x7FFFFFFF, 2, 1, -1},                            // overflow
      {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},  // the product needs 62 bits
      {-2147483647 - 1, 1, 1, -2147483647 - 1},
      {-2147483647 - 1, -1, 1, -1},  // +2^31 does not fit
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
}

}  // namespace
