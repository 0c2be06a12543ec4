#include "platform/kernel32/profile/profile_text.h"

#include "platform/common/codepage.h"

namespace win32::profile {
namespace {

constexpr char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

template <typename IsBlank>
std::string_view Trim(std::string_view text, IsBlank isBlank) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsLead(char c) { return cp932::IsLeadByte(static_cast<unsigned char>(c)); }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::string_view TrimNameBlanks(std::string_view text) { return Trim(text, IsNameBlank); }
std::string_view TrimValueBlanks(std::string_view text) { return Trim(text, IsValueBlank); }
std::string_view TrimArgument(std::string_view name) { return Trim(name, [](char c) { return c == ' '; }); }

std::string_view TrimTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view UnquoteValue(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (IsLead(folded[i]) && i + 1 < folded.size())
      ++i;
    else
      folded[i] = FoldAscii(folded[i]);
  }
  return folded;
}

std::size_t FindCharacter(std::string_view text, char c) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) return i;
    if (IsLead(text[i])) ++i;
  }
  return std::string_view::npos;
}

UINT ParseProfileInt(std::string_view value) {
  std::size_t i = 0;
  while (i < value.size() && IsValueBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  UINT result = 0;  // unsigned arithmetic wraps modulo 2^32, as Windows' parser does
  for (; i < value.size(); ++i) {
    int digit = DigitValue(value[i]);
    if (digit >= static_cast<int>(base)) break;
    result = result * base + static_cast<UINT>(digit);
  }
  return negative ? 0u - result : result;
}

}  // namespace win32::profile
