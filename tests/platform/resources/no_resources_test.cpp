// A program that carries no resources: it links, and every lookup fails quietly.
#include <gtest/gtest.h>

#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/win32.h"

namespace {

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

TEST(NoResources, LookupsFindNothing) {
  EXPECT_TRUE(win32::res::EmbeddedFile().empty());
  EXPECT_TRUE(win32::res::Find(RT_STRING, MAKEINTRESOURCEA(1)).empty());
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(LoadStringA(kInstance, 103, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(LoadIconA(kInstance, MAKEINTRESOURCEA(107)), nullptr);
}

TEST(NoResources, SystemIconsAreStillThere) {
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  ASSERT_NE(icon, nullptr);
  ASSERT_NE(win32::res::IconImages(icon), nullptr);
  EXPECT_FALSE(win32::res::IconImages(icon)->empty());
}

}  // namespace
