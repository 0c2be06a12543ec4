// Menu, accelerator and dialog templates compiled by windres, decoded.
#include <gtest/gtest.h>

#include <array>

#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/win32.h"
#include "test_support.h"

namespace {

using test_support::Dump;
using test_support::ExpectAccelerators;
using test_support::SameClassName;
using test_support::Utf8;
using win32::res::Find;

TEST(MenuTemplate, DecodesPopupsItemsSeparatorsAndFlags) {
  auto menu = win32::res::DecodeMenu(Find(RT_MENU, MAKEINTRESOURCEA(10)));
  ASSERT_TRUE(menu.has_value());
  EXPECT_EQ(Dump(*menu),
            "0x10 0 \"&File\" {"
            "0 100 \"&Open\"; "
            "0x800 0 \"\"; "
            "0x10 0 \"&Recent\" {0x8 101 \"First\"; 0x1 102 \"Second\"}; "
            "0x2 103 \"E&xit\"}; "
            "0x4000 104 \"&Help\"");
}

TEST(MenuTemplate, DecodesExtendedMenus) {
  auto menu = win32::res::DecodeMenu(Find(RT_MENU, MAKEINTRESOURCEA(11)));
  ASSERT_TRUE(menu.has_value());
  // Type and state together; MFS_GRAYED is MF_GRAYED | MF_DISABLED; ids are 32 bits.
  EXPECT_EQ(Dump(*menu),
            "0x10 200 \"&View\" {"
            "0x208 201 \"&Large\"; "
            "0x800 0 \"\"; "
            "0x10 202 \"&More\" {0 70000 \"Deep\"}}; "
            "0x3 203 \"&Quit\"");
}

TEST(AcceleratorTable, DecodesEntriesInOrderWithTheirFlags) {
  auto table = win32::res::DecodeAccelerators(Find(RT_ACCELERATOR, MAKEINTRESOURCEA(12)));
  ASSERT_TRUE(table.has_value());
  ExpectAccelerators(*table, {
                                 {0, 'a', 300},
                                 {FALT, 'B', 301},
                                 {FVIRTKEY | FSHIFT, VK_F5, 302},
                                 {FVIRTKEY | FCONTROL | FALT | FNOINVERT, 'Z', 303},
                             });
}

TEST(DialogTemplate, DecodesAPlainTemplate) {
  auto dlg = win32::res::DecodeDialog(Find(RT_DIALOG, MAKEINTRESOURCEA(20)));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_FALSE(dlg->extended);
  EXPECT_EQ(dlg->style, static_cast<DWORD>(DS_SETFONT | WS_POPUP | WS_CAPTION));
  EXPECT_EQ(dlg->exStyle, 0u);
  EXPECT_EQ((std::array{dlg->x, dlg->y, dlg->cx, dlg->cy}), (std::array<short, 4>{1, 2, 100, 50}));
  EXPECT_TRUE(dlg->menu.isOrdinal);
  EXPECT_EQ(dlg->menu.ordinal, 10);
  EXPECT_FALSE(dlg->windowClass.isOrdinal);
  EXPECT_TRUE(SameClassName(dlg->windowClass.name, u"MyDialogClass")) << Utf8(dlg->windowClass.name);
  EXPECT_EQ(dlg->title, u"テスト");
  EXPECT_EQ(dlg->pointSize, 8);
  EXPECT_EQ(dlg->faceName, u"Tahoma");
  EXPECT_EQ(dlg->weight, 0);  // the plain form has no weight, italic or character set

  ASSERT_EQ(dlg->items.size(), 3u);
  const auto& icon = dlg->items[0];
  EXPECT_EQ(icon.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_ICON));
  EXPECT_EQ((std::array{icon.x, icon.y, icon.cx, icon.cy}), (std::array<short, 4>{1, 2, 0, 0}));
  EXPECT_EQ(icon.id, 5u);
  EXPECT_TRUE(icon.windowClass.isOrdinal);
  EXPECT_EQ(icon.windowClass.ordinal, 0x82);
  EXPECT_TRUE(icon.text.isOrdinal);  // the icon's resource id
  EXPECT_EQ(icon.text.ordinal, 30);

  const auto& spin = dlg->items[1];
  EXPECT_EQ(spin.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | 0x1234));
  EXPECT_EQ(spin.exStyle, static_cast<DWORD>(WS_EX_STATICEDGE));
  EXPECT_EQ((std::array{spin.x, spin.y, spin.cx, spin.cy}), (std::array<short, 4>{10, -11, 12, 13}));
  EXPECT_FALSE(spin.windowClass.isOrdinal);
  EXPECT_TRUE(SameClassName(spin.windowClass.name, u"msctls_updown32")) << Utf8(spin.windowClass.name);
  EXPECT_FALSE(spin.text.isOrdinal);
  EXPECT_EQ(spin.text.name, u"spin");

  // A plain template's ids are 16 bits: -1 reads back as 0xFFFF.
  EXPECT_EQ(dlg->items[2].id, 0xFFFFu);
  EXPECT_EQ(dlg->items[2].text.name, u"");
}

TEST(DialogTemplate, DecodesAnExtendedTemplate) {
  auto dlg = win32::res::DecodeDialog(Find(RT_DIALOG, MAKEINTRESOURCEA(21)));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_TRUE(dlg->extended);
  EXPECT_EQ(dlg->helpId, 77u);
  EXPECT_EQ(dlg->exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(dlg->style, static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION));
  EXPECT_EQ((std::array{dlg->x, dlg->y, dlg->cx, dlg->cy}), (std::array<short, 4>{5, 6, 200, 100}));
  EXPECT_FALSE(dlg->menu.isOrdinal);
  EXPECT_EQ(dlg->menu.name, u"");
  EXPECT_EQ(dlg->windowClass.name, u"");
  EXPECT_EQ(dlg->title, u"Ex");
  EXPECT_EQ(dlg->pointSize, 10);
  EXPECT_EQ(dlg->weight, 700);
  EXPECT_EQ(dlg->italic, 1);
  EXPECT_EQ(dlg->charset, 128);
  EXPECT_EQ(dlg->faceName, u"ＭＳ Ｐゴシック");

  ASSERT_EQ(dlg->items.size(), 3u);
  const auto& icon = dlg->items[0];
  EXPECT_EQ(icon.helpId, 99u);
  EXPECT_EQ(icon.exStyle, static_cast<DWORD>(WS_EX_TRANSPARENT));
  EXPECT_EQ(icon.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_ICON));
  EXPECT_EQ((std::array{icon.x, icon.y, icon.cx, icon.cy}), (std::array<short, 4>{1, 2, 3, 4}));
  EXPECT_EQ(icon.id, 100u);
  EXPECT_EQ(icon.windowClass.ordinal, 0x82);
  EXPECT_TRUE(icon.text.isOrdinal);
  EXPECT_EQ(icon.text.ordinal, 30);

  const auto& button = dlg->items[1];
  EXPECT_EQ(button.id, 70000u);  // extended ids are 32 bits
  EXPECT_EQ(button.windowClass.ordinal, 0x80);
  EXPECT_EQ(button.text.name, u"data");
  EXPECT_EQ(button.creationData, (std::vector<std::byte>{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}}));

  EXPECT_EQ(dlg->items[2].id, 0xFFFFFFFFu);
  EXPECT_EQ(dlg->items[2].windowClass.ordinal, 0x83);
}

TEST(DialogTemplate, WithoutFontOrItems) {
  auto dlg = win32::res::DecodeDialog(Find(RT_DIALOG, MAKEINTRESOURCEA(22)));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_EQ(dlg->style, static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(dlg->pointSize, 0);
  EXPECT_EQ(dlg->faceName, u"");
  EXPECT_TRUE(dlg->items.empty());
}

}  // namespace
