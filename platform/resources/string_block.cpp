// RT_STRING: a block holds sixteen strings, each a WORD count of UTF-16 units followed by the
// units (no terminator); an absent string has count 0.
#include "platform/resources/byte_reader.h"

namespace win32::res {

std::optional<std::u16string> DecodeString(Bytes block, UINT id) {
  ByteReader r(block);
  for (UINT entry = 0; entry < id % 16; ++entry) r.Skip(std::size_t{r.U16()} * 2);
  std::size_t length = r.U16();
  Bytes units = r.Span(length * 2);
  if (!r.ok() || length == 0) return std::nullopt;
  std::u16string text(length, u'\0');
  for (std::size_t i = 0; i < length; ++i)
    text[i] = static_cast<char16_t>(std::to_integer<unsigned>(units[2 * i]) |
                                    (std::to_integer<unsigned>(units[2 * i + 1]) << 8));
  return text;
}

}  // namespace win32::res
