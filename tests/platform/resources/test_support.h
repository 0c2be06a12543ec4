// Helpers shared by the resource tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "platform/common/codepage.h"
#include "platform/resources/resource_formats.h"

namespace test_support {

// UTF-16 as UTF-8, for readable expectations and failure messages.
inline std::string Utf8(const std::u16string& text) { return win32::cp932::ToUtf8(win32::cp932::FromUtf16Lossy(text)); }

// Case-insensitive for ASCII letters, like window class names.
inline bool SameClassName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto up = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

// A menu as one line of text: items separated by "; ", drop-downs with their items in braces,
// each item with its flags in hex, its id and its text.
inline std::string Dump(const std::vector<win32::res::MenuItem>& items) {
  std::string out;
  for (const auto& item : items) {
    if (!out.empty()) out += "; ";
    char head[48];
    std::snprintf(head, sizeof head, "%#x %u ", item.flags, item.id);
    out += head + ("\"" + Utf8(item.text) + "\"");
    if (!item.items.empty()) out += " {" + Dump(item.items) + "}";
  }
  return out;
}

// An accelerator table entry by entry: flags, key and command.
inline void ExpectAccelerators(const std::vector<ACCEL>& table, const std::vector<ACCEL>& expected) {
  ASSERT_EQ(table.size(), expected.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].fVirt, expected[i].fVirt) << i;
    EXPECT_EQ(table[i].key, expected[i].key) << i;
    EXPECT_EQ(table[i].cmd, expected[i].cmd) << i;
  }
}

inline std::vector<std::byte> Copy(std::span<const std::byte> data) { return {data.begin(), data.end()}; }

}  // namespace test_support
