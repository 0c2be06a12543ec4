#include "platform/resources/module_resources.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/common/immortal.h"
#include "platform/resources/res_file.h"

// The .res file that win32_add_resources embeds in the program. Weak, so that a program
// without resources links too; its addresses are then null.
extern "C" {
extern const unsigned char win32_resources_begin[] __attribute__((weak));
extern const unsigned char win32_resources_end[] __attribute__((weak));
}

namespace win32::res {
namespace {

std::vector<ResourceEntry> ReadEmbedded() {
  Bytes file = EmbeddedFile();
  std::optional<std::vector<ResourceEntry>> entries = ParseResFile(file);
  if (!entries) {
    std::fprintf(stderr, "win32: the program's embedded resources are damaged; none are used\n");
    return {};
  }
  return std::move(*entries);
}

const std::vector<ResourceEntry>& Embedded() {
  // Built on first use (possibly from a global object's constructor), never destroyed.
  static Immortal<std::vector<ResourceEntry>> entries(ReadEmbedded());
  return *entries;
}

}  // namespace

std::span<const std::byte> EmbeddedFile() {
  auto begin = reinterpret_cast<std::uintptr_t>(win32_resources_begin);
  auto end = reinterpret_cast<std::uintptr_t>(win32_resources_end);
  if (begin == 0 || end < begin) return {};
  return {reinterpret_cast<const std::byte*>(begin), end - begin};
}

std::span<const std::byte> Find(LPCSTR type, LPCSTR name) { return FindResourceData(Embedded(), type, name); }

}  // namespace win32::res
