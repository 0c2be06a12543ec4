// The output of SDL's "disk" audio driver, which writes what it plays to a file: the
// tests that run the real API on a real device read it back. The device plays in real
// time, so they wait for the output they need.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace winmm_test {

// Points SDL_DISKAUDIOFILE at a file of this process's own before any test opens the
// device. A test program on the disk driver registers it once:
//   const auto* const kDiskOutput = ::testing::AddGlobalTestEnvironment(new DiskOutputEnvironment);
class DiskOutputEnvironment : public ::testing::Environment {
 public:
  void SetUp() override;
};

// Samples (16-bit, stereo) written so far.
std::size_t WrittenSamples();
std::vector<std::int16_t> ReadOutput();
// Waits until `samples` more than `from` have been written; fails the test after 20 s.
void WaitForOutput(std::size_t from, std::size_t samples);

}  // namespace winmm_test
