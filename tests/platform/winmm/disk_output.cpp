#include "tests/platform/winmm/disk_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace winmm_test {
namespace {

using namespace std::chrono_literals;

// One file for the process: the device is opened once and reads the name then.
const std::string& DiskFile() {
  static const std::string name = "disk_output_" + std::to_string(::getpid()) + ".raw";
  return name;
}

}  // namespace

void DiskOutputEnvironment::SetUp() { ::setenv("SDL_DISKAUDIOFILE", DiskFile().c_str(), 1); }

std::size_t WrittenSamples() {
  struct stat info {};
  return ::stat(DiskFile().c_str(), &info) == 0 ? static_cast<std::size_t>(info.st_size) / 2 : 0;
}

std::vector<std::int16_t> ReadOutput() {
  std::ifstream in(DiskFile(), std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

void WaitForOutput(std::size_t from, std::size_t samples) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (WrittenSamples() < from + samples) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the audio device stopped writing";
    std::this_thread::sleep_for(10ms);
  }
}

}  // namespace winmm_test
