// The game's resources as compiled from resources/porongo.rc: the texts as code page 932
// bytes, the menu, the accelerators, the dialogs, the icons, the bitmaps and the version.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/common/codepage.h"
#include "platform/resources/dib.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/res_file.h"
#include "platform/resources/resource_formats.h"
#include "platform/win32.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

using win32::res::DialogItem;
using win32::res::Find;
using win32::res::MenuItem;

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

// A resource text as the ANSI functions give it.
std::string Ansi(const std::u16string& text) { return win32::cp932::FromUtf16(text).value_or("(no CP932 form)"); }

TEST(GameResources, EveryResourceIsJapanese) {
  auto entries = win32::res::ParseResFile(win32::res::EmbeddedFile());
  ASSERT_TRUE(entries.has_value());
  EXPECT_GE(entries->size(), 12u);
  for (const auto& e : *entries) EXPECT_EQ(e.language, 0x0411) << e.type.ordinal << "/" << e.name.ordinal;
}

TEST(GameResources, Strings) {
  char buffer[100];
  EXPECT_EQ(LoadStringA(kInstance, STR_TITLE, buffer, sizeof buffer), 8);
  EXPECT_EQ(std::string(buffer), "ポロンゴ");
  EXPECT_EQ(LoadStringA(kInstance, RES_MAIN, buffer, sizeof buffer), 7);
  EXPECT_EQ(std::string(buffer), "PORONGO");
}

TEST(GameResources, MainMenu) {
  auto menu = win32::res::DecodeMenu(Find(RT_MENU, MAKEINTRESOURCEA(RES_MAIN)));
  ASSERT_TRUE(menu.has_value());
  struct Expected {
    const char* dropDown;
    std::vector<std::pair<const char*, UINT>> items;
  } expected[] = {
      {"ゲーム(&G)", {{"ゲームの終了(&X)", CMD_EXIT}}},
      {"画面モード(&D)", {{"&Windowモード", CMD_WINDOW_MODE}, {"&FullScreenモード", CMD_FULLSCREEN_MODE}}},
      {"ランキング(&R)", {{"ランキング初期化(&C)", CMD_RESET_RANKING}}},
      {"ﾍﾙﾌﾟ(&H)", {{"ﾊﾞｰｼﾞｮﾝ情報(&A)", CMD_ABOUT}}},
  };
  ASSERT_EQ(menu->size(), std::size(expected));
  for (std::size_t i = 0; i < menu->size(); ++i) {
    const MenuItem& dropDown = (*menu)[i];
    EXPECT_EQ(Ansi(dropDown.text), expected[i].dropDown);
    EXPECT_EQ(dropDown.flags, static_cast<UINT>(MF_POPUP));
    ASSERT_EQ(dropDown.items.size(), expected[i].items.size()) << i;
    for (std::size_t k = 0; k < dropDown.items.size(); ++k) {
      const MenuItem& item = dropDown.items[k];
      EXPECT_EQ(Ansi(item.text), expected[i].items[k].first);
      EXPECT_EQ(item.id, expected[i].items[k].second);
      // No separators, check marks, disabled items or nested drop-downs.
      EXPECT_EQ(item.flags, 0u) << Ansi(item.text);
      EXPECT_TRUE(item.items.empty());
    }
  }
}

TEST(GameResources, Accelerators) {
  auto table = win32::res::DecodeAccelerators(Find(RT_ACCELERATOR, MAKEINTRESOURCEA(RES_MAIN)));
  ASSERT_TRUE(table.has_value());
  test_support::ExpectAccelerators(*table, {
                                               {FALT | FNOINVERT, '/', CMD_ABOUT},
                                               {FALT | FNOINVERT, '?', CMD_ABOUT},
                                               {FVIRTKEY | FNOINVERT, VK_ESCAPE, CMD_EXIT},
                                               {FVIRTKEY | FNOINVERT, VK_F1, CMD_ABOUT},
                                               {FVIRTKEY | FNOINVERT, VK_F4, CMD_WINDOW_MODE},
                                               {FVIRTKEY | FCONTROL | FNOINVERT, VK_F4, CMD_FULLSCREEN_MODE},
                                           });
}

struct ExpectedItem {
  DWORD id;
  WORD classOrdinal;  // 0 when the class is a name
  const char* text;   // null when the text is an ordinal
  std::array<short, 4> rect;
  DWORD style;
  DWORD exStyle;
};

void ExpectItems(const std::vector<DialogItem>& items, const std::vector<ExpectedItem>& expected) {
  ASSERT_EQ(items.size(), expected.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    const DialogItem& item = items[i];
    EXPECT_EQ(item.id, expected[i].id);
    if (expected[i].classOrdinal) {
      EXPECT_TRUE(item.windowClass.isOrdinal);
      EXPECT_EQ(item.windowClass.ordinal, expected[i].classOrdinal);
    }
    if (expected[i].text) {
      EXPECT_FALSE(item.text.isOrdinal);
      EXPECT_EQ(Ansi(item.text.name), expected[i].text);
    }
    EXPECT_EQ((std::array{item.x, item.y, item.cx, item.cy}), expected[i].rect);
    EXPECT_EQ(item.style, expected[i].style);
    EXPECT_EQ(item.exStyle, expected[i].exStyle);
    EXPECT_TRUE(item.creationData.empty());
  }
}

constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST(GameResources, AboutBox) {
  auto dlg = win32::res::DecodeDialog(Find(RT_DIALOG, MAKEINTRESOURCEA(DLG_ABOUT)));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_FALSE(dlg->extended);
  EXPECT_EQ(dlg->style, 0x00C800C0u);
  EXPECT_EQ(dlg->exStyle, 0u);
  EXPECT_EQ((std::array{dlg->x, dlg->y, dlg->cx, dlg->cy}), (std::array<short, 4>{22, 17, 230, 37}));
  EXPECT_EQ(Ansi(dlg->title), "ﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(dlg->pointSize, 8);
  EXPECT_EQ(dlg->faceName, u"System");
  ExpectItems(dlg->items,
              {
                  {2, kStatic, nullptr, {14, 9, 20, 20}, kChild | SS_ICON, WS_EX_TRANSPARENT},
                  {0xFFFF, kStatic, nullptr, {49, 10, 119, 8}, kChild | SS_LEFT | WS_GROUP | SS_NOPREFIX, 0},
                  {0xFFFF, kStatic, nullptr, {49, 20, 119, 8}, kChild | SS_LEFT | WS_GROUP, 0},
                  {IDOK, kButton, "OK", {195, 6, 30, 11}, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0},
              });
  ASSERT_EQ(dlg->items.size(), 4u);
  EXPECT_TRUE(dlg->items[0].text.isOrdinal);
  EXPECT_EQ(dlg->items[0].text.ordinal, ICON_LARGE);
  // The name with a version, and a credit line.
  std::string name = Ansi(dlg->items[1].text.name);
  EXPECT_EQ(name.rfind("ポロンゴ Version ", 0), 0u) << win32::cp932::ToUtf8(name);
  EXPECT_FALSE(dlg->items[2].text.name.empty());
}

TEST(GameResources, NameEntryDialog) {
  auto dlg = win32::res::DecodeDialog(Find(RT_DIALOG, MAKEINTRESOURCEA(DLG_NAME_ENTRY)));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_FALSE(dlg->extended);
  EXPECT_EQ(dlg->style, 0x80C800C0u);
  EXPECT_EQ(dlg->exStyle, 0u);
  EXPECT_FALSE(dlg->menu.isOrdinal);
  EXPECT_TRUE(dlg->menu.name.empty());
  EXPECT_FALSE(dlg->windowClass.isOrdinal);
  EXPECT_TRUE(dlg->windowClass.name.empty());
  EXPECT_EQ((std::array{dlg->x, dlg->y, dlg->cx, dlg->cy}), (std::array<short, 4>{0, 0, 187, 71}));
  EXPECT_EQ(Ansi(dlg->title), "ﾗﾝｷﾝｸﾞ");
  EXPECT_EQ(dlg->pointSize, 9);
  EXPECT_EQ(Ansi(dlg->faceName), "ＭＳ Ｐゴシック");
  ExpectItems(dlg->items,
              {
                  {IDOK, kButton, "OK", {130, 50, 50, 14}, kChild | BS_DEFPUSHBUTTON, 0},
                  {IDC_PROMPT,
                   kStatic,
                   "あなたは上位３位以内に入りました！\n名前が残ります。\n名前を入力して下さい。",
                   {7, 7, 173, 25},
                   kChild | WS_GROUP | SS_LEFT,
                   0},
                  {IDC_NAME_EDIT, kEdit, "", {7, 33, 173, 12}, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
                  {0xFFFF,
                   kStatic,
                   "※半角20文字（全角10文字）まで",
                   {7, 49, 119, 15},
                   kChild | WS_GROUP | SS_LEFTNOWORDWRAP,
                   0},
              });
  // The name field is the only tab stop.
  EXPECT_EQ(std::count_if(dlg->items.begin(), dlg->items.end(),
                          [](const DialogItem& item) { return (item.style & WS_TABSTOP) != 0; }),
            1);
}

TEST(GameResources, RankingSizeDialog) {
  auto dlg = win32::res::DecodeDialog(Find(RT_DIALOG, MAKEINTRESOURCEA(DLG_RANKING_SIZE)));
  ASSERT_TRUE(dlg.has_value());
  EXPECT_TRUE(dlg->extended);
  EXPECT_EQ(Ansi(dlg->title), "ﾀﾞｲｱﾛｸﾞ");
  EXPECT_EQ(dlg->cx, 187);
  EXPECT_EQ(dlg->cy, 52);
  EXPECT_EQ(dlg->pointSize, 9);
  EXPECT_EQ(Ansi(dlg->faceName), "ＭＳ Ｐゴシック");
  auto item = [&](DWORD id) -> const DialogItem* {
    auto it = std::find_if(dlg->items.begin(), dlg->items.end(), [id](const DialogItem& i) { return i.id == id; });
    return it == dlg->items.end() ? nullptr : &*it;
  };
  auto text = std::find_if(dlg->items.begin(), dlg->items.end(), [](const DialogItem& i) {
    return Ansi(i.text.name) == "ランキングの最大値を指定してください。\n1～25まで設定可能。";
  });
  EXPECT_NE(text, dlg->items.end());
  const DialogItem* spin = item(IDC_RANKING_SPIN);
  ASSERT_NE(spin, nullptr);
  EXPECT_TRUE(test_support::SameClassName(spin->windowClass.name, u"msctls_updown32"))
      << test_support::Utf8(spin->windowClass.name);
  ASSERT_NE(item(IDC_RANKING_VALUE), nullptr);
  ASSERT_NE(item(IDOK), nullptr);
  ASSERT_NE(item(IDCANCEL), nullptr);
  EXPECT_EQ(Ansi(item(IDOK)->text.name), "OK");
  EXPECT_EQ(Ansi(item(IDCANCEL)->text.name), "ｷｬﾝｾﾙ");
}

TEST(GameResources, Icons) {
  struct Case {
    int id;
    std::vector<int> sizes;  // largest first
  } cases[] = {{ICON_LARGE, {48, 32, 16}}, {ICON_SMALL, {16}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    auto group = win32::res::DecodeIconGroup(Find(RT_GROUP_ICON, MAKEINTRESOURCEA(c.id)));
    ASSERT_TRUE(group.has_value());
    for (const auto& entry : *group) EXPECT_EQ(entry.bitCount, 8) << entry.width;  // 256 colours
    HICON icon = LoadIconA(kInstance, MAKEINTRESOURCEA(c.id));
    ASSERT_NE(icon, nullptr);
    const auto* images = win32::res::IconImages(icon);
    ASSERT_NE(images, nullptr);
    ASSERT_EQ(images->size(), c.sizes.size());
    for (std::size_t i = 0; i < images->size(); ++i) {
      EXPECT_EQ((*images)[i].width, c.sizes[i]);
      EXPECT_EQ((*images)[i].height, c.sizes[i]);
    }
  }
}

TEST(GameResources, Bitmaps) {
  // 8 and 4 bits per pixel as stored; loaded, both are in the screen's format.
  struct Case {
    int id;
    WORD bitCount;
  } cases[] = {{BMP_SPRITES, 8}, {BMP_BACKGROUND, 4}};
  for (const Case& c : cases) {
    auto dib = win32::res::ParsePackedDib(Find(RT_BITMAP, MAKEINTRESOURCEA(c.id)), 1);
    ASSERT_TRUE(dib.has_value()) << c.id;
    EXPECT_EQ(dib->bitCount, c.bitCount) << c.id;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP sprites = LoadBitmapA(kInstance, MAKEINTRESOURCEA(BMP_SPRITES));
  HBITMAP background = LoadBitmapA(kInstance, MAKEINTRESOURCEA(BMP_BACKGROUND));
  ASSERT_NE(sprites, nullptr);
  ASSERT_NE(background, nullptr);
  BITMAP info{};
  GetObjectA(sprites, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 64);
  EXPECT_EQ(info.bmHeight, 64);
  HGDIOBJ old = SelectObject(dc, sprites);
  for (int y = 0; y < 64; y += 16)
    for (int x = 0; x < 64; x += 16) EXPECT_EQ(GetPixel(dc, x, y), RGB(0, 255, 255)) << x << "," << y;
  GetObjectA(background, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 32);
  EXPECT_EQ(info.bmHeight, 32);
  // The raised top-left square: its outer edge at the corner, its face in the middle.
  SelectObject(dc, background);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(208, 208, 208));
  EXPECT_EQ(GetPixel(dc, 8, 8), RGB(160, 160, 164));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(sprites);
  DeleteObject(background);
}

TEST(GameResources, VersionIsJapaneseUnicode) {
  std::span<const std::byte> version = Find(RT_VERSION, MAKEINTRESOURCEA(1));
  ASSERT_FALSE(version.empty());
  auto contains = [&](std::span<const std::byte> needle) {
    return std::search(version.begin(), version.end(), needle.begin(), needle.end()) != version.end();
  };
  const std::u16string block = u"041104B0";
  EXPECT_TRUE(contains(std::as_bytes(std::span(block))));
  // The translation pair: language 0x0411, code page 1200 (0x04B0).
  const std::byte translation[] = {std::byte{0x11}, std::byte{0x04}, std::byte{0xB0}, std::byte{0x04}};
  EXPECT_TRUE(contains(translation));
}

}  // namespace
