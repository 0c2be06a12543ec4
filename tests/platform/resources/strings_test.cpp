// String tables: DecodeString and LoadStringA.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/win32.h"

namespace {

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

std::span<const std::byte> Block(UINT id) { return win32::res::Find(RT_STRING, MAKEINTRESOURCEA(id / 16 + 1)); }

TEST(StringBlock, DecodesEveryEntryOfABlock) {
  struct Case {
    UINT id;
    std::u16string expected;
  } cases[] = {
      {1, u"one"},  {15, u"fifteen"},      {16, u"sixteen"}, {17, u"表ソ\\path"},
      {20, u"ポロンゴABC"}, {21, u"été～"}, {65535, u"last"},
  };
  for (const Case& c : cases) {
    auto text = win32::res::DecodeString(Block(c.id), c.id);
    ASSERT_TRUE(text.has_value()) << c.id;
    EXPECT_EQ(*text, c.expected) << c.id;
  }
}

TEST(StringBlock, AbsentAndEmptyEntriesGiveNothing) {
  // 0 and 2 share blocks with strings that exist; 18 follows the last string of its block.
  for (UINT id : {0u, 2u, 14u, 18u, 31u, 65534u})
    EXPECT_FALSE(win32::res::DecodeString(Block(id), id).has_value()) << id;
  EXPECT_FALSE(win32::res::DecodeString({}, 1).has_value());
}

TEST(LoadString, CopiesCp932BytesAndReturnsTheirCount) {
  struct Case {
    UINT id;
    std::string expected;
  } cases[] = {
      {1, "one"},
      {16, "sixteen"},
      // 表 and ソ end in 0x5C, followed by a real backslash.
      {17, "\x95\x5C\x83\x5C\\path"},
      {20, "ポロンゴABC"},
      // é has no code page 932 form; ～ is the full-width tilde 0x8160.
      {21, "?t?\x81\x60"},
      {65535, "last"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    int n = LoadStringA(kInstance, c.id, buffer, sizeof buffer);
    EXPECT_EQ(n, static_cast<int>(c.expected.size())) << c.id;
    EXPECT_EQ(std::string(buffer), c.expected) << c.id;
  }
}

TEST(LoadString, TruncatesToTheBufferWithoutSplittingACharacter) {
  // "ポロンゴABC" is eight double-byte bytes, then three single bytes.
  const std::string full = "ポロンゴABC";
  struct Case {
    int bufferSize;
    int expected;  // bytes copied
  } cases[] = {
      {1, 0}, {2, 0}, {3, 2}, {4, 2}, {5, 4}, {8, 6}, {9, 8}, {10, 9}, {11, 10}, {12, 11}, {13, 11}, {100, 11},
  };
  for (const Case& c : cases) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    int n = LoadStringA(kInstance, 20, buffer, c.bufferSize);
    EXPECT_EQ(n, c.expected) << c.bufferSize;
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), full.substr(0, static_cast<std::size_t>(n)));
    EXPECT_EQ(buffer[n], '\0') << c.bufferSize;
    // Nothing is written past the buffer.
    EXPECT_EQ(buffer[c.bufferSize], 'x') << c.bufferSize;
  }
}

TEST(LoadString, TrailByteBackslashIsNotMistakenForALeadByte) {
  // "表ソ\path" in a 6-byte buffer: 表 and ソ (4 bytes) and the backslash fit.
  char buffer[16];
  EXPECT_EQ(LoadStringA(kInstance, 17, buffer, 6), 5);
  EXPECT_EQ(std::string(buffer), "\x95\x5C\x83\x5C\\");
}

TEST(LoadString, MissingStringsAndBadBuffers) {
  char buffer[8];
  std::memcpy(buffer, "xxxxxxx", 8);
  EXPECT_EQ(LoadStringA(kInstance, 2, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  // Ids are 16 bits; 65536 + 1 is not string 1.
  std::memcpy(buffer, "xxxxxxx", 8);
  EXPECT_EQ(LoadStringA(kInstance, 65537, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  // No buffer, or no room at all: nothing is written.
  std::memcpy(buffer, "xxxxxxx", 8);
  EXPECT_EQ(LoadStringA(kInstance, 1, buffer, 0), 0);
  EXPECT_EQ(LoadStringA(kInstance, 1, buffer, -5), 0);
  EXPECT_EQ(std::string(buffer), "xxxxxxx");
  EXPECT_EQ(LoadStringA(kInstance, 1, nullptr, 10), 0);
}

}  // namespace
