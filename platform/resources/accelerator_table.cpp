// RT_ACCELERATOR: eight-byte entries (flags, key, command, padding); the last entry's flags
// carry 0x80.
#include "platform/resources/byte_reader.h"

namespace win32::res {
namespace {
constexpr WORD kLastEntry = 0x80;
constexpr std::size_t kEntrySize = 8;
}  // namespace

std::optional<std::vector<ACCEL>> DecodeAccelerators(Bytes data) {
  std::vector<ACCEL> table;
  ByteReader r(data);
  while (r.remaining() >= kEntrySize) {
    WORD flags = r.U16();
    ACCEL accel{};
    accel.fVirt = static_cast<BYTE>(flags & (FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT));
    accel.key = r.U16();
    accel.cmd = r.U16();
    r.U16();
    table.push_back(accel);
    if (flags & kLastEntry) return table;
  }
  // The data ended without its last entry.
  return std::nullopt;
}

}  // namespace win32::res
