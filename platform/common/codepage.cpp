#include "platform/common/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace win32::cp932 {
namespace {

// One conversion descriptor per direction and thread; iconv_t is not thread-safe, and
// opening one per call would cost more than most conversions.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; on an unconvertible or incomplete input sequence calls
  // `onError(consumed bytes so far)` which returns how many input bytes to skip and what
  // to append instead, or stops when it returns 0.
  template <typename Out, typename OnError>
  bool Run(const char* data, std::size_t size, Out& out, OnError onError) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    char buffer[512];
    while (inLeft > 0) {
      char* o = buffer;
      std::size_t oLeft = sizeof buffer;
      std::size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
      Append(out, buffer, sizeof buffer - oLeft);
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        std::size_t skip = onError(out, static_cast<std::size_t>(in - data));
        if (skip == 0 || skip > inLeft) return false;
        in += skip;
        inLeft -= skip;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return true;
  }

 private:
  static void Append(std::u16string& out, const char* bytes, std::size_t n) {
    for (std::size_t i = 0; i + 1 < n; i += 2)
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  static void Append(std::string& out, const char* bytes, std::size_t n) { out.append(bytes, n); }

  iconv_t cd_;
};

Converter& Decoder() {
  thread_local Converter c("UTF-16LE", "CP932");
  return c;
}
Converter& Encoder() {
  thread_local Converter c("CP932", "UTF-16LE");
  return c;
}

std::string_view AsBytes(std::u16string_view text, std::string& storage) {
  storage.clear();
  storage.reserve(text.size() * 2);
  for (char16_t ch : text) {
    storage.push_back(static_cast<char>(ch & 0xFF));
    storage.push_back(static_cast<char>(ch >> 8));
  }
  return storage;
}

// UTF-8 to UTF-16. A byte that does not begin a whole, well-formed sequence becomes U+FFFD
// when `lossy` (and decoding goes on after it); otherwise it makes the whole text nothing.
std::optional<std::u16string> DecodeUtf8(std::string_view text, bool lossy) {
  std::u16string wide;
  wide.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    bool whole = extra >= 0 && text.size() - i > static_cast<std::size_t>(extra);
    char32_t c = whole && extra > 0 ? b & (0x3F >> extra) : b;
    for (int k = 1; whole && k <= extra; ++k) {
      auto t = static_cast<unsigned char>(text[i + k]);
      whole = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!whole) {
      if (!lossy) return std::nullopt;
      wide.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(c));
    }
  }
  return wide;
}

char FoldAsciiLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) {
      return false;
    }
  }
  return true;
}

std::u16string ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  if (!Decoder().ok()) {
    for (unsigned char b : text) out.push_back(b < 0x80 ? b : u'\uFFFD');
    return out;
  }
  Decoder().Run(text.data(), text.size(), out, [&](std::u16string& o, std::size_t at) -> std::size_t {
    o.push_back(u'\uFFFD');
    // A lead byte swallows a following trail byte unless that byte is itself plain ASCII
    // control or the text ends, as Windows' decoder does.
    auto lead = static_cast<unsigned char>(text[at]);
    if (IsLeadByte(lead) && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) >= 0x40) return 2;
    return 1;
  });
  return out;
}

std::optional<std::string> FromUtf16(std::u16string_view text) {
  std::string bytes;
  std::string out;
  if (!Encoder().ok()) return std::nullopt;
  AsBytes(text, bytes);
  if (!Encoder().Run(bytes.data(), bytes.size(), out, [](std::string&, std::size_t) -> std::size_t { return 0; }))
    return std::nullopt;
  return out;
}

std::string FromUtf16Lossy(std::u16string_view text) {
  std::string bytes;
  std::string out;
  if (!Encoder().ok()) return std::string(text.size(), '?');
  AsBytes(text, bytes);
  Encoder().Run(bytes.data(), bytes.size(), out, [&](std::string& o, std::size_t at) -> std::size_t {
    o.push_back('?');
    // Skip the whole UTF-16 code unit, or both halves of a surrogate pair.
    char16_t unit =
        static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
    bool pair = unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size();
    return pair ? 4 : 2;
  });
  return out;
}

std::string ToUtf8(std::string_view text) {
  std::u16string wide = ToUtf16(text);
  std::string out;
  out.reserve(wide.size() * 3);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::optional<std::string> FromUtf8(std::string_view text) {
  std::optional<std::u16string> wide = DecodeUtf8(text, false);
  if (!wide) return std::nullopt;
  return FromUtf16(*wide);
}

std::string FromUtf8Lossy(std::string_view text) { return FromUtf16Lossy(*DecodeUtf8(text, true)); }

}  // namespace win32::cp932
