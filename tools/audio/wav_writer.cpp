#include "tools/audio/wav_writer.h"

#include <string_view>

namespace porongo::audio {
namespace {

void Append(std::vector<std::uint8_t>& out, std::string_view tag) { out.insert(out.end(), tag.begin(), tag.end()); }

void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int channels, int sample_rate) {
  const auto data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  const auto block_align = static_cast<std::uint32_t>(channels * 2);
  std::vector<std::uint8_t> file;
  Append(file, "RIFF");
  AppendLittleEndian(file, 4 + (8 + 16) + (8 + data_bytes), 4);
  Append(file, "WAVE");
  Append(file, "fmt ");
  AppendLittleEndian(file, 16, 4);
  AppendLittleEndian(file, 1, 2);  // PCM
  AppendLittleEndian(file, static_cast<std::uint32_t>(channels), 2);
  AppendLittleEndian(file, static_cast<std::uint32_t>(sample_rate), 4);
  AppendLittleEndian(file, static_cast<std::uint32_t>(sample_rate) * block_align, 4);
  AppendLittleEndian(file, block_align, 2);
  AppendLittleEndian(file, 16, 2);
  Append(file, "data");
  AppendLittleEndian(file, data_bytes, 4);
  for (std::int16_t sample : samples) AppendLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
  return file;
}

}  // namespace porongo::audio
