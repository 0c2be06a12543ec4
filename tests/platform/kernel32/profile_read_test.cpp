// Reading profile files: parsing rules, lookups, truncation and return values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/kernel32/case_name.h"

namespace {

using namespace std::string_literals;

constexpr char kCanary = 0x7F;

struct StringCase {
  const char* what;
  std::string file;
  const char* section;  // nullptr: enumerate sections
  const char* key;      // nullptr: enumerate keys
  const char* fallback;
  DWORD size;
  std::string expected;  // the buffer's bytes up to and including the final NUL(s)
  DWORD result;
};

// A file with a trail byte 0x5C (表) and section names whose trail bytes look like ASCII
// letters and brackets: ア is 83 41 ('A'), ャ is 83 61 ('a'), ゾ is 83 5D (']').
const std::vector<StringCase> kStringCases = {
    {"plain value", "[s]\r\nk=v\r\n", "s", "k", "d", 64, "v\0"s, 1},
    {"names fold ASCII case", "[Sec]\r\nNaMe1=Val\r\n", "sEC", "name1", "d", 64, "Val\0"s, 3},
    {"value keeps its case", "[s]\r\nk=MiXeD\r\n", "s", "K", "d", 64, "MiXeD\0"s, 5},
    {"trail byte is no letter", "[\x83\x41]\r\nk=1\r\n", "\x83\x61", "k", "d", 64, "d\0"s, 1},
    {"double-byte section found", "[\x83\x41]\r\nk=1\r\n", "\x83\x41", "k", "d", 64, "1\0"s, 1},
    {"trail byte 0x5D does not close the header", "[\x83\x5D]\r\nk=1\r\n", "\x83\x5D", "k", "d", 64, "1\0"s, 1},
    {"trail byte 0x5C in value", "[s]\r\nName=\x95\x5C\x8E\xA6\r\n", "s", "Name", "d", 64, "\x95\x5C\x8E\xA6\0"s, 4},
    {"blanks around names and value", "  [  s  ]  \r\n  k  =  v w  \r\n", "s", "k", "d", 64, "v w\0"s, 3},
    {"tabs and vertical tabs", "[s]\r\n\tk\t=\t\vv\v\t\r\n", "s", "k", "d", 64, "v\0"s, 1},
    {"argument spaces are trimmed", "[s]\r\nk=v\r\n", "  s ", " k  ", "d", 64, "v\0"s, 1},
    {"argument tabs are kept", "[s]\r\nk=v\r\n", "s", "\tk", "d", 64, "d\0"s, 1},
    {"double quotes removed", "[s]\r\nk=\"  v  \"\r\n", "s", "k", "d", 64, "  v  \0"s, 5},
    {"single quotes removed", "[s]\r\nk='x'\r\n", "s", "k", "d", 64, "x\0"s, 1},
    {"mixed quotes kept", "[s]\r\nk=\"x'\r\n", "s", "k", "d", 64, "\"x'\0"s, 3},
    {"only the outer pair goes", "[s]\r\nk=\"'x'\"\r\n", "s", "k", "d", 64, "'x'\0"s, 3},
    {"a lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "d", 64, "\"\0"s, 1},
    {"comment lines are skipped", "[s]\r\n;k=1\r\n  ;k=2\r\nk=3\r\n", "s", "k", "d", 64, "3\0"s, 1},
    {"no inline comments", "[s]\r\nk=b ;c\r\n", "s", "k", "d", 64, "b ;c\0"s, 4},
    {"hash is no comment", "[s]\r\n#k=1\r\n", "s", "#k", "d", 64, "1\0"s, 1},
    {"text before the first section", "k=1\r\n[s]\r\n", "s", "k", "d", 64, "d\0"s, 1},
    {"header without ]", "[s\r\nk=1\r\n", "s", "k", "d", 64, "1\0"s, 1},
    {"text after ] ignored", "[s] junk ] more\r\nk=1\r\n", "s", "k", "d", 64, "1\0"s, 1},
    {"empty section name", "[]\r\nk=1\r\n", "", "k", "d", 64, "1\0"s, 1},
    {"first of duplicate sections", "[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n", "s", "k", "d", 64, "1\0"s, 1},
    {"later duplicate section unseen", "[s]\r\nk=1\r\n[S]\r\nj=3\r\n", "s", "j", "d", 64, "d\0"s, 1},
    {"first of duplicate keys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "d", 64, "1\0"s, 1},
    {"bare line is no key", "[s]\r\nk\r\nk=1\r\n", "s", "k", "d", 64, "d\0"s, 1},
    {"empty value is a value", "[s]\r\nk=\r\n", "s", "k", "d", 64, "\0"s, 0},
    {"empty key unreachable", "[s]\r\n=v\r\n", "s", "", "d", 64, "d\0"s, 1},
    {"bare CR line ends", "[s]\rk=1\rj=2\r", "s", "j", "d", 64, "2\0"s, 1},
    {"bare LF line ends", "[s]\nk=1\nj=2\n", "s", "j", "d", 64, "2\0"s, 1},
    {"no final line end", "[s]\r\nk=last", "s", "k", "d", 64, "last\0"s, 4},
    {"NUL bytes are kept", "[s]\r\nk=a\0b\r\n"s, "s", "k", "d", 64, "a\0b\0"s, 3},
    // Windows takes a UTF-8 mark for part of the first line and loses the first section;
    // here it says the file is UTF-8, as Notepad means it to.
    {"UTF-8 BOM marks a UTF-8 file", "\xEF\xBB\xBF[s]\r\nk=\xE8\xA1\xA8\r\n", "s", "k", "d", 64, "\x95\x5C\0"s, 2},
    {"UTF-8 BOM on another line", "\xEF\xBB\xBF\r\n[s]\r\nk=1\r\n", "s", "k", "d", 64, "1\0"s, 1},
    {"value cut to the buffer", "[s]\r\nk=val1\r\n", "s", "k", "d", 4, "val\0"s, 3},
    {"one-byte buffer", "[s]\r\nk=a\r\n", "s", "k", "d", 1, "\0"s, 0},
    {"default loses trailing spaces", "[s]\r\n", "s", "k", "default  ", 64, "default\0"s, 7},
    {"default keeps leading spaces", "[s]\r\n", "s", "k", "  one two  ", 64, "  one two\0"s, 9},
    {"null default", "[s]\r\n", "s", "k", nullptr, 64, "\0"s, 0},
    {"default cut to the buffer", "", "s", "k", "defaultvalue", 4, "def\0"s, 3},
    {"missing section", "[t]\r\nk=1\r\n", "s", "k", "d", 64, "d\0"s, 1},
    {"section list", "[section1]\r\nk=1\r\n[section2]\r\n", nullptr, "k", "d", 64, "section1\0section2\0\0"s, 18},
    {"section list cut", "[section1]\r\n[section2]\r\n", nullptr, "k", "d", 16, "section1\0secti\0\0"s, 14},
    {"section list with duplicates", "[a]\r\n[b]\r\n[A]\r\n", nullptr, "k", "d", 64, "a\0b\0A\0\0"s, 6},
    {"section list in two bytes", "[a]\r\n", nullptr, "k", "d", 2, "\0\0"s, 0},
    {"section list in one byte", "[a]\r\n", nullptr, "k", "d", 1, "\0"s, 0},
    {"empty section list", "k=1\r\n", nullptr, "k", "d", 64, "\0"s, 0},
    {"key list", "[s]\r\nname1=val1\r\nname2=\r\nname3\r\n;c=1\r\nname4=val4\r\n", "s", nullptr, "d", 64,
     "name1\0name2\0name4\0\0"s, 18},
    {"key list cut", "[s]\r\nname1=1\r\nname2=2\r\n", "s", nullptr, "d", 10, "name1\0na\0\0"s, 8},
    {"key list of a missing section", "[s]\r\nk=1\r\n", "t", nullptr, "d", 64, "d\0"s, 1},
};

void PrintTo(const StringCase& c, std::ostream* os) { *os << c.what; }

class ProfileRead : public ::testing::TestWithParam<StringCase> {};

TEST_P(ProfileRead, ReturnsWhatWindowsReturns) {
  const StringCase& c = GetParam();
  test::ScratchDir dir;
  const std::string path = dir.File("case.ini");
  test::WriteBytes(path, c.file);
  std::vector<char> buffer(c.size + 8, kCanary);
  DWORD result = GetPrivateProfileStringA(c.section, c.key, c.fallback, buffer.data(), c.size, path.c_str());
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(std::string(buffer.data(), c.expected.size()), c.expected);
  for (std::size_t i = c.size; i < buffer.size(); ++i)
    ASSERT_EQ(buffer[i], kCanary) << "wrote past the buffer at " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, ::testing::ValuesIn(kStringCases), test::CaseName<StringCase>);

TEST(ProfileReadEdges, ZeroSizeBufferIsUntouched) {
  test::ScratchDir dir;
  test::WriteBytes(dir.File("a.ini"), "[s]\r\nk=v\r\n");
  char buffer[4] = {kCanary, kCanary, kCanary, kCanary};
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, 0, dir.File("a.ini").c_str()), 0u);
  EXPECT_EQ(buffer[0], kCanary);
}

TEST(ProfileReadEdges, LastErrorTellsWhy) {
  test::ScratchDir dir;
  test::WriteBytes(dir.File("a.ini"), "[s]\r\nk=value\r\n");
  char buffer[64];
  SetLastError(12345);
  GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, dir.File("missing.ini").c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  GetPrivateProfileStringA("s", "k", "d", buffer, 3, dir.File("a.ini").c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
}

TEST(ProfileReadEdges, MissingOrEmptyFileNameGivesDefault) {
  char buffer[16];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, sizeof buffer, nullptr), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, sizeof buffer, ""), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", 9, nullptr), 9u);
}

struct IntCase {
  std::string value;  // the line "k=<value>"; empty `value` with `present` false: no key
  bool present;
  UINT withMinusOne;
  UINT withOne;
};

TEST(ProfileInt, ParsesLikeWindows) {
  const std::vector<IntCase> cases = {
      {"", false, 0xFFFFFFFFu, 1},
      {"-1", true, 0xFFFFFFFFu, 0xFFFFFFFFu},
      {"1", true, 1, 1},
      {"+1", true, 1, 1},
      {"4294967296", true, 0, 0},
      {"4294967297", true, 1, 1},
      {"-4294967297", true, 0xFFFFFFFFu, 0xFFFFFFFFu},
      {"2147483648", true, 0x80000000u, 0x80000000u},
      {"42A94967297", true, 42, 42},
      {"B4294967297", true, 0, 0},
      {"102abc", true, 102, 102},
      {"0x1F", true, 31, 31},
      {"0XfF", true, 255, 255},
      {"-0x10", true, 0xFFFFFFF0u, 0xFFFFFFF0u},
      {"0x", true, 0, 0},
      {"  12  ", true, 12, 12},
      {"\"7\"", true, 7, 7},
      {"\" 8\"", true, 8, 8},
      {"+-3", true, 0, 0},
      {"", true, 0xFFFFFFFFu, 1},  // an empty value counts as missing
  };
  test::ScratchDir dir;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const IntCase& c = cases[i];
    const std::string path = dir.File("int" + std::to_string(i) + ".ini");
    test::WriteBytes(path, c.present ? "[s]\r\nk=" + c.value + "\r\n" : "[s]\r\nj=5\r\n");
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", -1, path.c_str()), c.withMinusOne) << "value '" << c.value << "'";
    EXPECT_EQ(GetPrivateProfileIntA("S", " K ", 1, path.c_str()), c.withOne) << "value '" << c.value << "'";
  }
}

TEST(ProfileInt, MissingFileGivesDefault) {
  test::ScratchDir dir;
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", 77, dir.File("none.ini").c_str()), 77u);
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", -5, dir.File("none.ini").c_str()), static_cast<UINT>(-5));
}

}  // namespace
