// A cursor over little-endian resource data that never reads past its end. A read that would
// overrun marks the reader failed and yields zeros; decoders check ok() once they are done
// (or before they trust a count), so every size in the data is checked in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/resources/resource_formats.h"

namespace win32::res {

class ByteReader {
 public:
  explicit ByteReader(Bytes data, std::size_t offset = 0) : data_(data), pos_(offset), ok_(offset <= data.size()) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return ok_ ? data_.size() - pos_ : 0; }

  BYTE U8() { return static_cast<BYTE>(Take(1)); }
  WORD U16() { return static_cast<WORD>(Take(2)); }
  DWORD U32() { return static_cast<DWORD>(Take(4)); }
  short I16() { return static_cast<short>(U16()); }
  LONG I32() { return static_cast<LONG>(U32()); }

  // The next `n` bytes, or an empty span (and failure) when fewer remain.
  Bytes Span(std::size_t n) {
    if (!ok_ || n > data_.size() - pos_) {
      ok_ = false;
      return {};
    }
    Bytes s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  void Skip(std::size_t n) { Span(n); }

  // Moves to the next multiple of `n` (a power of two) counted from the start of the data.
  void Align(std::size_t n) {
    std::size_t aligned = (pos_ + n - 1) & ~(n - 1);
    if (aligned > data_.size()) {
      // Padding after the last item may be missing; that is not damage.
      if (ok_) pos_ = data_.size();
      return;
    }
    pos_ = aligned;
  }

  // A zero-terminated UTF-16 string; fails when the data ends before the terminator.
  std::u16string String() {
    std::u16string s;
    while (ok_) {
      char16_t c = static_cast<char16_t>(U16());
      if (!ok_ || c == 0) break;
      s.push_back(c);
    }
    return s;
  }

  // A name that is either 0xFFFF and an ordinal, or a zero-terminated UTF-16 string.
  NameOrOrdinal NameOrOrd() {
    NameOrOrdinal n;
    if (PeekU16() == 0xFFFF) {
      Skip(2);
      n.isOrdinal = true;
      n.ordinal = U16();
    } else {
      n.name = String();
    }
    return n;
  }

  WORD PeekU16() const {
    if (!ok_ || data_.size() - pos_ < 2) return 0;
    return static_cast<WORD>(std::to_integer<unsigned>(data_[pos_]) | (std::to_integer<unsigned>(data_[pos_ + 1]) << 8));
  }

 private:
  std::uint32_t Take(std::size_t n) {
    Bytes s = Span(n);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < s.size(); ++i) v |= std::to_integer<std::uint32_t>(s[i]) << (8 * i);
    return v;
  }

  Bytes data_;
  std::size_t pos_;
  bool ok_;
};

}  // namespace win32::res
