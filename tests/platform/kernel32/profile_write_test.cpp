// Writing profile files: where sections and keys go, what survives, deletions.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/kernel32/case_name.h"

namespace {

using namespace std::string_literals;

struct Write {
  const char* section;
  const char* key;
  const char* value;
};

struct WriteCase {
  const char* what;
  std::optional<std::string> before;  // nothing: no file yet
  std::vector<Write> writes;
  std::optional<std::string> after;  // nothing: still no file
};

const std::vector<WriteCase> kWriteCases = {
    {"new file", std::nullopt, {{"App", "key", "string"}}, "[App]\r\nkey=string\r\n"},
    {"new section at the end without a blank line",
     "[a]\r\nx=1\r\n",
     {{"b", "k", "v"}},
     "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"a last line without a line end gets one", "[a]\r\nx=1", {{"b", "k", "v"}}, "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"bytes before the first section are kept", "\0\0junk"s, {{"s", "k", "v"}}, "\0\0junk\r\n[s]\r\nk=v\r\n"s},
    {"new keys after the last key in call order",
     "[s]\r\nb=\r\na=\r\n\r\n[t]\r\n",
     {{"s", "z", "1"}, {"s", "b", "2"}, {"s", "y", "3"}, {"s", "a", "4"}},
     "[s]\r\nb=2\r\na=4\r\nz=1\r\ny=3\r\n\r\n[t]\r\n"},
    {"new key before trailing comments",
     "[s]\r\na=1\r\n; tail\r\n[t]\r\n",
     {{"s", "b", "2"}},
     "[s]\r\na=1\r\nb=2\r\n; tail\r\n[t]\r\n"},
    {"key in an empty section", "[s]\r\n[t]\r\n", {{"s", "k", "v"}}, "[s]\r\nk=v\r\n[t]\r\n"},
    {"key under an unterminated header", "[s]", {{"s", "k", "v"}}, "[s]\r\nk=v\r\n"},
    {"key after an unterminated key", "[s]\r\na=1", {{"s", "b", "2"}}, "[s]\r\na=1\r\nb=2\r\n"},
    {"existing key rewritten in place with its case and line end",
     "; head\n[S]\n  KeY = old  \n  other=x\n",
     {{"s", "key", "new"}},
     "; head\n[S]\nKeY=new\n  other=x\n"},
    {"a line that already reads as the value is kept",
     "[s]\r\n  k = \"v\"  \r\n",
     {{"s", "K", "v"}},
     "[s]\r\n  k = \"v\"  \r\n"},
    {"header keeps its case", "[Sec]\r\n", {{"SEC", "k", "v"}}, "[Sec]\r\nk=v\r\n"},
    {"only lines read with LF keep LF", "[s]\na=1\n", {{"s", "b", "2"}}, "[s]\na=1\nb=2\r\n"},
    {"bare CR lines", "[s]\ra=1\r", {{"s", "a", "2"}}, "[s]\ra=2\r"},
    {"value written verbatim", std::nullopt, {{"s", "k", " value "}}, "[s]\r\nk= value \r\n"},
    {"argument spaces trimmed", std::nullopt, {{"  s  ", "  k  ", "v"}}, "[s]\r\nk=v\r\n"},
    {"bare line becomes the key", "[s]\r\nk\r\n", {{"s", "k", "1"}}, "[s]\r\nk=1\r\n"},
    {"first of duplicate sections is written",
     "[s]\r\nk=1\r\n[s]\r\nk=2\r\n",
     {{"s", "k", "3"}},
     "[s]\r\nk=3\r\n[s]\r\nk=2\r\n"},
    {"UTF-8 BOM file keeps its mark and is written in UTF-8",
     "\xEF\xBB\xBF[s]\r\nk=1\r\n",
     {{"s", "k", "\x95\x5C"}, {"t", "k", "v"}},
     "\xEF\xBB\xBF[s]\r\nk=\xE8\xA1\xA8\r\n[t]\r\nk=v\r\n"},
    {"double-byte names with trail bytes 0x5C and 0x5D",
     "[\x95\x5C\x8E\xA6]\r\n\x83\x5C=1\r\n",
     {{"\x95\x5C\x8E\xA6", "\x83\x5C", "2"}, {"\x83\x5D", "\x83\x41", "3"}},
     "[\x95\x5C\x8E\xA6]\r\n\x83\x5C=2\r\n[\x83\x5D]\r\n\x83\x41=3\r\n"},
    {"trail byte is no letter for keys",
     "[s]\r\n\x83\x41=1\r\n",
     {{"s", "\x83\x61", "2"}},
     "[s]\r\n\x83\x41=1\r\n\x83\x61=2\r\n"},
    {"delete a key", "[s]\r\na=1\r\nk=2\r\nb=3\r\n", {{"s", "K", nullptr}}, "[s]\r\na=1\r\nb=3\r\n"},
    {"delete every copy of a key", "[s]\r\nk=1\r\na=1\r\nk=2\r\n", {{"s", "k", nullptr}}, "[s]\r\na=1\r\n"},
    {"delete a missing key", "[s]\r\na=1\r\n", {{"s", "k", nullptr}, {"t", "k", nullptr}}, "[s]\r\na=1\r\n"},
    {"delete a key in a missing file", std::nullopt, {{"s", "k", nullptr}}, std::nullopt},
    {"delete a section but not its comments",
     "[a]\r\nx=1\r\n[s]\r\n;note\r\nk=1\r\nbare\r\n\r\n[b]\r\ny=2\r\n",
     {{"S", nullptr, "ignored"}},
     "[a]\r\nx=1\r\n;note\r\n[b]\r\ny=2\r\n"},
    {"delete every copy of a section", "[s]\r\nk=1\r\n[t]\r\n[S]\r\nk=2", {{"s", nullptr, nullptr}}, "[t]\r\n"},
    {"delete then add", "[s]\r\nk=1\r\n", {{"s", nullptr, nullptr}, {"s", "k", "2"}}, "[s]\r\nk=2\r\n"},
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.what; }

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ProducesTheseBytes) {
  const WriteCase& c = GetParam();
  test::ScratchDir dir;
  const std::string path = dir.File("case.ini");
  if (c.before) test::WriteBytes(path, *c.before);
  for (const Write& w : c.writes)
    EXPECT_TRUE(WritePrivateProfileStringA(w.section, w.key, w.value, path.c_str())) << w.section;
  if (c.after) {
    EXPECT_EQ(test::ReadBytes(path), *c.after);
  } else {
    EXPECT_FALSE(test::Exists(path));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::ValuesIn(kWriteCases), test::CaseName<WriteCase>);

TEST(ProfileWriteThenRead, WrittenValuesReadBack) {
  test::ScratchDir dir;
  const std::string path = dir.File("round.ini");
  const char* values[] = {"plain", "\x95\x5C\x8E\xA6", "with = sign", "", "0x1F", "\"quoted\""};
  for (const char* v : values) {
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", v, path.c_str()));
    char buffer[64];
    std::string expected = v;
    if (expected == "\"quoted\"") expected = "quoted";  // the reader removes a pair of quotes
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "none", buffer, sizeof buffer, path.c_str()), expected.size());
    EXPECT_EQ(std::string(buffer), expected);
  }
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "-123", path.c_str()));
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("s", "k", 0, path.c_str())), -123);
}

TEST(ProfileWriteErrors, RefusedCallsChangeNothing) {
  test::ScratchDir dir;
  const std::string path = dir.File("x.ini");
  struct Refusal {
    const char* section;
    const char* key;
    const char* value;
    const char* file;
    DWORD error;
  } refusals[] = {
      {nullptr, "k", "v", path.c_str(), ERROR_FILE_NOT_FOUND},
      {"s", "k", "v", "", ERROR_ACCESS_DENIED},
      {"s", "k", "v", nullptr, ERROR_INVALID_PARAMETER},
      {"s", "", "v", path.c_str(), ERROR_INVALID_PARAMETER},
      {"s", "   ", "v", path.c_str(), ERROR_INVALID_PARAMETER},
      {"s", "k", "v", "bad\x81", ERROR_INVALID_NAME},  // a lone lead byte is no name
  };
  for (const Refusal& r : refusals) {
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringA(r.section, r.key, r.value, r.file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(r.error)) << (r.key ? r.key : "(null)");
  }
  EXPECT_FALSE(test::Exists(path));
  // Flushing the cache is reported as 0, as Windows documents.
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()));
  EXPECT_FALSE(test::Exists(path));
}

TEST(ProfilePaths, BackslashesAreSeparatorsButTrailBytesAreNot) {
  test::ScratchDir dir;
  // 表 is 95 5C: its trail byte must not split the directory name.
  const std::string table = "\x95\x5C";
  const std::string utf8Dir = dir.path() + "/\xE8\xA1\xA8";  // the same directory named in UTF-8
  ASSERT_EQ(mkdir(utf8Dir.c_str(), 0755), 0);
  const std::string win32Path = dir.path() + "\\" + table + "\\sub.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", win32Path.c_str()));
  EXPECT_EQ(test::ReadBytes(utf8Dir + "/sub.ini"), "[s]\r\nk=v\r\n");
  char buffer[8];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, win32Path.c_str()), 1u);
  EXPECT_STREQ(buffer, "v");
}

TEST(ProfilePaths, BareNameIsInTheCurrentDirectory) {
  test::ScratchDir dir;
  test::CurrentDirectoryGuard guard;
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "v", "bare.ini"));
  EXPECT_EQ(test::ReadBytes(dir.File("bare.ini")), "[s]\r\nk=v\r\n");
}

}  // namespace
