// Finding resources in the program's embedded .res file.
#include <gtest/gtest.h>

#include <string>

#include "platform/resources/module_resources.h"
#include "platform/resources/res_file.h"
#include "platform/win32.h"

namespace {

using win32::res::Find;

std::string AsText(std::span<const std::byte> data) {
  return std::string(reinterpret_cast<const char*>(data.data()), data.size());
}

TEST(ResourceLookup, FindsByTypeAndIntegerName) {
  EXPECT_FALSE(Find(RT_MENU, MAKEINTRESOURCEA(10)).empty());
  EXPECT_FALSE(Find(RT_DIALOG, MAKEINTRESOURCEA(21)).empty());
  // Right name, wrong type; right type, wrong name.
  EXPECT_TRUE(Find(RT_DIALOG, MAKEINTRESOURCEA(10)).empty());
  EXPECT_TRUE(Find(RT_MENU, MAKEINTRESOURCEA(12)).empty());
  EXPECT_TRUE(Find(RT_MENU, MAKEINTRESOURCEA(0)).empty());
}

TEST(ResourceLookup, NamesAreCaseInsensitiveAndHashNumbersAreIds) {
  for (const char* name : {"NAMED", "named", "NaMeD"}) {
    std::span<const std::byte> data = Find(RT_RCDATA, name);
    ASSERT_FALSE(data.empty()) << name;
    EXPECT_EQ(AsText(data).substr(0, 5), "named");
  }
  EXPECT_TRUE(Find(RT_RCDATA, "NAME").empty());
  EXPECT_TRUE(Find(RT_RCDATA, "NAMEDX").empty());
  EXPECT_EQ(Find(RT_MENU, "#10").data(), Find(RT_MENU, MAKEINTRESOURCEA(10)).data());
  EXPECT_EQ(Find("#4", "#11").data(), Find(RT_MENU, MAKEINTRESOURCEA(11)).data());
  // Not numbers: looked up as names, and there are none.
  EXPECT_TRUE(Find(RT_MENU, "#").empty());
  EXPECT_TRUE(Find(RT_MENU, "#10x").empty());
  EXPECT_TRUE(Find(RT_MENU, "#70000").empty());
}

TEST(ResourceLookup, PrefersJapaneseThenNeutralThenTheFirst) {
  // The string blocks of ids 300, 400 and 500: the first exists in Japanese, neutral and
  // English, the second in neutral and English, the third only in English.
  struct Case {
    UINT id;
    std::string expected;
  } cases[] = {{300, "日本語"}, {400, "neutral"}, {500, "english"}};
  for (const Case& c : cases) {
    char buffer[32];
    ASSERT_GT(LoadStringA(nullptr, c.id, buffer, sizeof buffer), 0) << c.id;
    EXPECT_EQ(std::string(buffer), c.expected) << c.id;
  }
}

TEST(ResourceLookup, NullNamesFindNothing) {
  EXPECT_TRUE(Find(nullptr, MAKEINTRESOURCEA(10)).empty());
  EXPECT_TRUE(Find(RT_MENU, nullptr).empty());
}

}  // namespace
