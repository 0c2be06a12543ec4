// Profile files for the benchmarks, grown to a size with the densest kind of content: short
// sections full of keys, the most work per byte for the reader.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// `file` with "[padN]" sections of twenty keys after it, as many as fit in `size` bytes.
inline std::string PaddedTo(std::string file, std::size_t size) {
  for (int i = 0;; ++i) {
    std::string section = "[pad" + std::to_string(i) + "]\r\n";
    for (int k = 0; k < 20; ++k) section += "key" + std::to_string(k) + "=value" + std::to_string(k) + "\r\n";
    if (file.size() + section.size() > size) return file;
    file += section;
  }
}

}  // namespace bench
