// Damaged resource data: every decoder either gives the right answer or nothing, and never
// reads outside the data it is given (run this program under valgrind or ASan to see the
// second half).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/resources/dib.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/res_file.h"
#include "platform/resources/resource_formats.h"
#include "platform/win32.h"
#include "test_support.h"

namespace {

using Data = std::vector<std::byte>;
using win32::res::Bytes;
using win32::res::Find;

// Builds little-endian test data.
class Builder {
 public:
  Builder& U8(unsigned v) {
    data_.push_back(static_cast<std::byte>(v));
    return *this;
  }
  Builder& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
  Builder& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Builder& Str(std::u16string_view s, bool terminate = true) {
    for (char16_t c : s) U16(c);
    return terminate ? U16(0) : *this;
  }
  Builder& Pad4() {
    while (data_.size() % 4) U8(0);
    return *this;
  }
  Data data() const { return data_; }

 private:
  Data data_;
};

// Copies every prefix of `full` into a buffer of exactly that size (so that a read past the
// end is a real overrun), and checks that decoding it gives nothing or the full result.
template <typename Decode, typename Describe>
void CheckEveryTruncation(Bytes full, Decode decode, Describe describe) {
  auto whole = decode(full);
  ASSERT_TRUE(whole.has_value());
  const std::string expected = describe(*whole);
  for (std::size_t n = 0; n < full.size(); ++n) {
    Data prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    auto part = decode(Bytes(prefix));
    if (part) {
      EXPECT_EQ(describe(*part), expected) << "truncated to " << n << " of " << full.size();
    }
  }
}

std::string DescribeDialog(const win32::res::DialogTemplate& d) {
  std::string s = std::to_string(d.style) + " " + std::to_string(d.x) + "," + std::to_string(d.y) + "," +
                  std::to_string(d.cx) + "," + std::to_string(d.cy) + " " + test_support::Utf8(d.title) + " " +
                  test_support::Utf8(d.faceName) + " " + std::to_string(d.pointSize);
  for (const auto& item : d.items)
    s += " [" + std::to_string(item.id) + " " + std::to_string(item.style) + " " +
         test_support::Utf8(item.text.name) + std::to_string(item.text.ordinal) + " " +
         std::to_string(item.creationData.size()) + "]";
  return s;
}

std::string DescribeAccelerators(const std::vector<ACCEL>& table) {
  std::string s;
  for (const ACCEL& a : table) s += std::to_string(a.fVirt) + ":" + std::to_string(a.key) + ":" + std::to_string(a.cmd) + " ";
  return s;
}

std::string DescribeIcon(const win32::res::IconImage& image) {
  std::string s = std::to_string(image.width) + "x" + std::to_string(image.height);
  for (std::uint32_t p : image.pixels) s += " " + std::to_string(p);
  return s;
}

std::string DescribeEntries(const std::vector<win32::res::ResourceEntry>& entries) {
  std::string s;
  for (const auto& e : entries)
    s += std::to_string(e.type.ordinal) + "/" + test_support::Utf8(e.name.name) + std::to_string(e.name.ordinal) + "/" +
         std::to_string(e.language) + "/" + std::to_string(e.data.size()) + " ";
  return s;
}

TEST(DamagedData, EveryTruncationOfRealResources) {
  CheckEveryTruncation(Find(RT_MENU, MAKEINTRESOURCEA(10)), win32::res::DecodeMenu, test_support::Dump);
  CheckEveryTruncation(Find(RT_MENU, MAKEINTRESOURCEA(11)), win32::res::DecodeMenu, test_support::Dump);
  CheckEveryTruncation(Find(RT_ACCELERATOR, MAKEINTRESOURCEA(12)), win32::res::DecodeAccelerators,
                       DescribeAccelerators);
  for (int id : {20, 21, 22})
    CheckEveryTruncation(Find(RT_DIALOG, MAKEINTRESOURCEA(id)), win32::res::DecodeDialog, DescribeDialog);
  for (UINT id : {1u, 15u, 17u})
    CheckEveryTruncation(
        Find(RT_STRING, MAKEINTRESOURCEA(id / 16 + 1)), [id](Bytes b) { return win32::res::DecodeString(b, id); },
        test_support::Utf8);
  CheckEveryTruncation(Find(RT_GROUP_ICON, MAKEINTRESOURCEA(30)), win32::res::DecodeIconGroup,
                       [](const std::vector<win32::res::IconDirEntry>& g) { return std::to_string(g.size()); });
  for (int id = 1; id <= 5; ++id)
    CheckEveryTruncation(Find(RT_ICON, MAKEINTRESOURCEA(id)), win32::res::DecodeIconImage, DescribeIcon);
  for (int id : {40, 41, 42, 43, 44, 45})
    CheckEveryTruncation(
        Find(RT_BITMAP, MAKEINTRESOURCEA(id)), [](Bytes b) { return win32::res::ParsePackedDib(b, 1); },
        [](const win32::res::PackedDib& d) { return std::to_string(d.width) + "x" + std::to_string(d.height); });
}

TEST(DamagedData, EveryTruncationOfTheResFile) {
  Bytes file = win32::res::EmbeddedFile();
  auto whole = win32::res::ParseResFile(file);
  ASSERT_TRUE(whole.has_value());
  const std::string expected = DescribeEntries(*whole);
  for (std::size_t n = 0; n < file.size(); ++n) {
    Data prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
    auto part = win32::res::ParseResFile(Bytes(prefix));
    // A file cut between two resources is a shorter file; cut anywhere else, it is damaged.
    if (part) {
      EXPECT_EQ(expected.substr(0, DescribeEntries(*part).size()), DescribeEntries(*part)) << n;
    }
  }
}

TEST(DamagedData, LoadersTellAMissingResourceFromADamagedOne) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  struct Case {
    const char* loader;
    LPCSTR type;
    int damagedId;
    std::function<bool(int id)> fails;
  } cases[] = {
      {"LoadMenuA", RT_MENU, 60, [&](int id) { return LoadMenuA(instance, MAKEINTRESOURCEA(id)) == nullptr; }},
      {"LoadAcceleratorsA", RT_ACCELERATOR, 61,
       [&](int id) { return LoadAcceleratorsA(instance, MAKEINTRESOURCEA(id)) == nullptr; }},
      {"DialogBoxParamA", RT_DIALOG, 62,
       [&](int id) { return DialogBoxParamA(instance, MAKEINTRESOURCEA(id), nullptr, nullptr, 0) == -1; }},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_TRUE(c.fails(999)) << c.loader;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND)) << c.loader;
    ASSERT_FALSE(Find(c.type, MAKEINTRESOURCEA(c.damagedId)).empty()) << c.loader;
    SetLastError(0);
    EXPECT_TRUE(c.fails(c.damagedId)) << c.loader;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND)) << c.loader;
  }
}

// A .res header for a resource of type and name ordinals with `dataSize` bytes of data.
Builder ResHeader(std::uint32_t dataSize, std::uint32_t headerSize = 32) {
  Builder b;
  b.U32(dataSize).U32(headerSize).U16(0xFFFF).U16(10).U16(0xFFFF).U16(1);
  b.U32(0).U16(0x30).U16(0x411).U32(0).U32(0);
  return b;
}

TEST(DamagedData, ResFileHeaders) {
  struct Case {
    const char* what;
    Data data;
    bool valid;
  } cases[] = {
      {"a well-formed resource", ResHeader(4).U32(0x12345678).data(), true},
      {"the last padding missing", ResHeader(3).U16(1).U8(2).data(), true},
      {"data past the end", ResHeader(5).U32(0).data(), false},
      {"data size near 4 GiB", ResHeader(0xFFFFFFF0).U32(0).data(), false},
      {"header size past the end", ResHeader(0, 64).data(), false},
      {"header size too small for its fields", ResHeader(0, 24).data(), false},
      {"header size near 4 GiB", ResHeader(0, 0xFFFFFFFC).data(), false},
      {"a name without terminator",
       Builder().U32(0).U32(32).U16(0xFFFF).U16(10).Str(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", false).data(), false},
      // 56 bytes: a header that needs 56 bytes but says 32, and 24 bytes of data after that.
      {"a name running past its header",
       Builder().U32(24).U32(32).U16(0xFFFF).U16(10).Str(u"ABCDEFGHIJKL").Pad4().U32(0).U16(0).U16(0).U32(0).U32(0).data(),
       false},
      {"trailing bytes", ResHeader(0).U16(0).data(), false},
  };
  for (const Case& c : cases) {
    auto entries = win32::res::ParseResFile(Bytes(c.data));
    EXPECT_EQ(entries.has_value(), c.valid) << c.what;
    if (c.valid && entries) {
      ASSERT_EQ(entries->size(), 1u) << c.what;
      EXPECT_EQ((*entries)[0].language, 0x411) << c.what;
      EXPECT_EQ(win32::res::FindResourceData(*entries, RT_RCDATA, MAKEINTRESOURCEA(1)).size(),
                (*entries)[0].data.size());
    }
  }
  auto empty = win32::res::ParseResFile({});
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());
}

// A MENU template of `depth` drop-downs inside each other, with one item in the deepest.
Data NestedMenu(int depth, bool closed) {
  Builder b;
  b.U16(0).U16(0);
  for (int i = 0; i < depth; ++i) b.U16(MF_POPUP | (closed ? MF_END : 0)).Str(u"p");
  b.U16(MF_END).U16(1).Str(u"x");
  return b.data();
}

TEST(DamagedData, Menus) {
  EXPECT_TRUE(win32::res::DecodeMenu(NestedMenu(8, true)).has_value());
  // Thousands of levels are damage, not a reason to exhaust the stack.
  EXPECT_FALSE(win32::res::DecodeMenu(NestedMenu(100000, true)).has_value());
  // Drop-downs whose lists never end.
  EXPECT_FALSE(win32::res::DecodeMenu(NestedMenu(3, false)).has_value());
  struct Case {
    const char* what;
    Data data;
  } cases[] = {
      {"unknown version", Builder().U16(2).U16(0).U16(MF_END).U16(1).Str(u"x").data()},
      {"offset past the end", Builder().U16(0).U16(400).U16(MF_END).U16(1).Str(u"x").data()},
      {"text without terminator", Builder().U16(0).U16(0).U16(MF_END).U16(1).Str(u"xyz", false).data()},
      {"no last item", Builder().U16(0).U16(0).U16(0).U16(1).Str(u"x").data()},
      {"extended, text without terminator",
       Builder().U16(1).U16(4).U32(0).U32(0).U32(0).U32(1).U16(0x80).Str(u"abc", false).data()},
      {"extended, popup without items",
       Builder().U16(1).U16(4).U32(0).U32(0).U32(0).U32(1).U16(0x81).Str(u"abc").Pad4().U32(0).data()},
      {"header only", Builder().U16(0).U16(0).data()},
  };
  for (const Case& c : cases) EXPECT_FALSE(win32::res::DecodeMenu(c.data).has_value()) << c.what;
}

TEST(DamagedData, Accelerators) {
  EXPECT_FALSE(win32::res::DecodeAccelerators({}).has_value());
  Data noEnd = Builder().U16(1).U16('A').U16(1).U16(0).U16(1).U16('B').U16(2).U16(0).data();
  EXPECT_FALSE(win32::res::DecodeAccelerators(noEnd).has_value());
  Data shortEntry = Builder().U16(0x81).U16('A').U16(1).data();
  EXPECT_FALSE(win32::res::DecodeAccelerators(shortEntry).has_value());
  // Bytes after the last entry are not read.
  Data trailing = Builder().U16(0x81).U16('A').U16(7).U16(0).U32(0xFFFFFFFF).data();
  auto table = win32::res::DecodeAccelerators(trailing);
  ASSERT_TRUE(table.has_value());
  ASSERT_EQ(table->size(), 1u);
  EXPECT_EQ((*table)[0].fVirt, FVIRTKEY);
  EXPECT_EQ((*table)[0].cmd, 7);
}

// A plain dialog header with `count` items and DS_SETFONT, then `rest`.
Builder DialogHeader(unsigned count) {
  Builder b;
  b.U32(WS_POPUP | DS_SETFONT).U32(0).U16(count).U16(0).U16(0).U16(10).U16(10);
  return b;
}

TEST(DamagedData, Dialogs) {
  Data valid = DialogHeader(1).U16(0).U16(0).Str(u"t").U16(8).Str(u"f").Pad4()
                   .U32(WS_CHILD).U32(0).U16(0).U16(0).U16(1).U16(1).U16(5).U16(0xFFFF).U16(0x80).Str(u"ok").U16(0)
                   .data();
  ASSERT_TRUE(win32::res::DecodeDialog(valid).has_value());
  struct Case {
    const char* what;
    Data data;
  } cases[] = {
      {"65535 items and none there", DialogHeader(65535).U16(0).U16(0).Str(u"t").U16(8).Str(u"f").data()},
      {"title without terminator", DialogHeader(0).U16(0).U16(0).Str(u"title", false).data()},
      {"font size but no face", DialogHeader(0).U16(0).U16(0).Str(u"t").U16(8).data()},
      {"class ordinal cut short", DialogHeader(0).U16(0).U16(0xFFFF).data()},
      {"item class without terminator",
       DialogHeader(1).U16(0).U16(0).Str(u"t").U16(8).Str(u"f").Pad4()
           .U32(WS_CHILD).U32(0).U16(0).U16(0).U16(1).U16(1).U16(5).Str(u"BUTTON", false).data()},
      {"creation data past the end",
       DialogHeader(1).U16(0).U16(0).Str(u"t").U16(8).Str(u"f").Pad4()
           .U32(WS_CHILD).U32(0).U16(0).U16(0).U16(1).U16(1).U16(5).U16(0xFFFF).U16(0x80).Str(u"ok").U16(100).U32(0)
           .data()},
      {"extended header cut short", Builder().U16(1).U16(0xFFFF).U32(0).U32(0).data()},
  };
  for (const Case& c : cases) EXPECT_FALSE(win32::res::DecodeDialog(c.data).has_value()) << c.what;
}

TEST(DamagedData, StringBlocks) {
  // Entry 1's length runs far past the block.
  Data block = Builder().U16(1).U16('a').U16(0xFFFF).U16('b').data();
  EXPECT_EQ(win32::res::DecodeString(block, 0), std::u16string(u"a"));
  EXPECT_FALSE(win32::res::DecodeString(block, 1).has_value());
  EXPECT_FALSE(win32::res::DecodeString(block, 2).has_value());
  EXPECT_FALSE(win32::res::DecodeString(Builder().U8(3).data(), 0).has_value());
}

// A BITMAPINFOHEADER with the given fields and no colours used.
Builder DibHeader(std::uint32_t size, std::int32_t width, std::int32_t height, unsigned planes, unsigned bits,
                  std::uint32_t compression = BI_RGB, std::uint32_t colorsUsed = 0) {
  Builder b;
  b.U32(size).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(planes).U16(bits);
  b.U32(compression).U32(0).U32(0).U32(0).U32(colorsUsed).U32(0);
  return b;
}

Data WithBytes(Builder b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) b.U8(0);
  return b.data();
}

TEST(DamagedData, Dibs) {
  // 2 by 2 at 24 bits: two rows of eight bytes.
  ASSERT_TRUE(win32::res::ParsePackedDib(WithBytes(DibHeader(40, 2, 2, 1, 24), 16), 1).has_value());
  struct Case {
    const char* what;
    Data data;
  } cases[] = {
      {"rows cut short", WithBytes(DibHeader(40, 2, 2, 1, 24), 15)},
      {"width 0", WithBytes(DibHeader(40, 0, 2, 1, 24), 16)},
      {"negative width", WithBytes(DibHeader(40, -2, 2, 1, 24), 16)},
      {"height 0", WithBytes(DibHeader(40, 2, 0, 1, 24), 16)},
      {"width near 2^31", WithBytes(DibHeader(40, 0x7FFFFFFF, 1, 1, 32), 64)},
      {"height of -2^31", WithBytes(DibHeader(40, 1, INT32_MIN, 1, 32), 64)},
      {"rows that would need gigabytes", WithBytes(DibHeader(40, 0x8000, 0x8000, 1, 32), 64)},
      {"two planes", WithBytes(DibHeader(40, 2, 2, 2, 24), 16)},
      {"7 bits per pixel", WithBytes(DibHeader(40, 2, 2, 1, 7), 16)},
      {"run-length encoded", WithBytes(DibHeader(40, 2, 2, 1, 8, BI_RLE8), 1024 + 16)},
      {"300 colours at 8 bits", WithBytes(DibHeader(40, 2, 2, 1, 8, BI_RGB, 300), 1200 + 16)},
      {"a colour table past the end", WithBytes(DibHeader(40, 2, 2, 1, 8), 100)},
      {"header size past the end", WithBytes(DibHeader(4000, 2, 2, 1, 24), 16)},
      {"header size 0xFFFFFFFF", WithBytes(DibHeader(0xFFFFFFFF, 2, 2, 1, 24), 16)},
      {"header size too small", WithBytes(DibHeader(12, 2, 2, 1, 24), 16)},
      {"header cut short", Builder().U32(40).U32(2).data()},
  };
  for (const Case& c : cases) EXPECT_FALSE(win32::res::ParsePackedDib(c.data, 1).has_value()) << c.what;
}

TEST(DamagedData, Icons) {
  // A 2 by 2 icon at 24 bits: colour rows (2 x 8 bytes) and mask rows (2 x 4 bytes).
  ASSERT_TRUE(win32::res::DecodeIconImage(WithBytes(DibHeader(40, 2, 4, 1, 24), 24)).has_value());
  EXPECT_FALSE(win32::res::DecodeIconImage(WithBytes(DibHeader(40, 2, 4, 1, 24), 23)).has_value()) << "mask cut";
  EXPECT_FALSE(win32::res::DecodeIconImage(WithBytes(DibHeader(40, 2, -4, 1, 24), 24)).has_value()) << "top-down";
  EXPECT_FALSE(win32::res::DecodeIconImage(WithBytes(DibHeader(40, 2, 1, 1, 24), 24)).has_value()) << "no rows";
  struct Case {
    const char* what;
    Data data;
  } groups[] = {
      {"empty", {}},
      {"no images", Builder().U16(0).U16(1).U16(0).data()},
      {"a cursor group", Builder().U16(0).U16(2).U16(1).U8(16).U8(16).U8(0).U8(0).U16(1).U16(8).U32(100).U16(1).data()},
      {"65535 images, one there",
       Builder().U16(0).U16(1).U16(65535).U8(16).U8(16).U8(0).U8(0).U16(1).U16(8).U32(100).U16(1).data()},
      {"an entry cut short", Builder().U16(0).U16(1).U16(1).U8(16).U8(16).U8(0).U8(0).U16(1).data()},
  };
  for (const Case& c : groups) EXPECT_FALSE(win32::res::DecodeIconGroup(c.data).has_value()) << c.what;
}

}  // namespace
