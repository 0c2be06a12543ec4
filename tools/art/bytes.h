// A growing byte buffer with the fixed-width integer writes that file formats need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace art {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
 public:
  void U8(std::uint32_t v) { bytes_.push_back(static_cast<std::uint8_t>(v)); }
  void U16LE(std::uint32_t v) { U8(v), U8(v >> 8); }
  void U32LE(std::uint32_t v) { U16LE(v), U16LE(v >> 16); }
  void U32BE(std::uint32_t v) { U8(v >> 24), U8(v >> 16), U8(v >> 8), U8(v); }
  void Text(std::string_view s) {
    for (char c : s) U8(static_cast<std::uint8_t>(c));
  }
  void Append(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }

  std::size_t size() const { return bytes_.size(); }
  const Bytes& bytes() const { return bytes_; }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

}  // namespace art
