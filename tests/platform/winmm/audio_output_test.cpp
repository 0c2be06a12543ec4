// The output through its device going away and coming back. SDL's disk driver plays into a
// file in a folder that the test takes away and brings back; the removal is SDL's own event,
// sent by the test as SDL would send it.
#include "platform/winmm/audio_output.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/sdl_subsystem.h"
#include "platform/winmm/voice.h"
#include "platform/winmm/wave_file.h"
#include "tests/platform/winmm/test_sounds.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using win32::winmm::AudioOutput;
using win32::winmm::Mixer;
using win32::winmm::Voice;

// SDL_DISKAUDIOFILE names a file in this folder (see CMakeLists.txt).
const fs::path kFolder = "device";
const fs::path kAway = "device.away";
const fs::path kOutput = kFolder / "out.raw";

std::size_t Entries(const char* folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Seconds(Clock::duration time) { return std::chrono::duration<double>(time).count(); }

// Waits up to `limit` for a device to play 50 ms into a new output file; says how long that took.
std::optional<Clock::duration> WaitForNewOutput(Clock::duration limit) {
  const auto start = Clock::now();
  while (Clock::now() - start < limit) {
    std::error_code error;
    if (fs::file_size(kOutput, error) >= winmm_test::Samples(0.05) * 2 && !error) return Clock::now() - start;
    std::this_thread::sleep_for(10ms);
  }
  return std::nullopt;
}

void SendRemoval() {
  SDL_Event event{};
  event.type = SDL_AUDIODEVICEREMOVED;
  event.adevice.which = 2;
  ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

// When the device was opened, or an opening tried: SDL starts its audio subsystem for each
// one, and says then which devices it found.
class Openings {
 public:
  Openings() { SDL_AddEventWatch(&Watch, this); }
  ~Openings() { SDL_DelEventWatch(&Watch, this); }
  Openings(const Openings&) = delete;
  Openings& operator=(const Openings&) = delete;

  std::vector<Clock::time_point> Since(Clock::time_point start) {
    std::lock_guard lock(mutex_);
    std::vector<Clock::time_point> since;
    std::copy_if(times_.begin(), times_.end(), std::back_inserter(since), [start](auto t) { return t >= start; });
    return since;
  }

 private:
  static int SDLCALL Watch(void* openings, SDL_Event* event) {
    if (event->type != SDL_AUDIODEVICEADDED) return 0;
    auto* self = static_cast<Openings*>(openings);
    std::lock_guard lock(self->mutex_);
    // One event for each device found: those a moment apart belong to one opening.
    if (self->times_.empty() || Clock::now() - self->times_.back() > 300ms) self->times_.push_back(Clock::now());
    return 0;
  }

  std::mutex mutex_;
  std::vector<Clock::time_point> times_;
};

std::ptrdiff_t Count(const std::string& text, const std::string& part) {
  std::ptrdiff_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(AudioOutput, OpensTheDeviceAgainOnceASecondUntilItIsBack) {
  fs::remove_all(kFolder);
  fs::remove_all(kAway);
  fs::create_directory(kFolder);
  Mixer mixer;
  std::string why;
  auto voice = std::make_shared<Voice>(win32::winmm::DecodeWave(winmm_test::ConstantWave(1000, 60.0), why));
  {
    auto lock = mixer.Lock();
    mixer.Add(voice);
    voice->Play(voice->Length());
  }
  auto position = [&] {
    auto lock = mixer.Lock();
    return static_cast<double>(voice->Position()) / 44100;
  };
  // Events run for the whole test, so that the watch sees every opening.
  const auto events = win32::SdlSubsystem::Start(SDL_INIT_EVENTS, why);
  ASSERT_TRUE(events) << why;
  Openings openings;

  AudioOutput output(mixer);
  ASSERT_TRUE(output.Start());
  ASSERT_TRUE(WaitForNewOutput(10s)) << "the device never played";
  const std::size_t threads = Entries("/proc/self/task");
  const std::size_t files = Entries("/proc/self/fd");
  std::this_thread::sleep_for(1s);

  // Removed after it had played a while, and no device to be had for a time: an opening is
  // tried at once and then once a second; meanwhile the voice plays on in silence at the
  // device's pace, and the attempts cost next to nothing.
  ::testing::internal::CaptureStderr();
  fs::rename(kFolder, kAway);
  const double before = position();
  const double cpu_before = CpuSeconds();
  const auto removed = Clock::now();
  SendRemoval();
  std::this_thread::sleep_for(2500ms);
  EXPECT_NEAR(position() - before, Seconds(Clock::now() - removed), 0.3);
  EXPECT_LT(CpuSeconds() - cpu_before, 0.5);
  const auto tries = openings.Since(removed);
  ASSERT_GE(tries.size(), 2u);
  EXPECT_LT(tries[0] - removed, 500ms);
  for (std::size_t i = 1; i < tries.size(); ++i) EXPECT_GT(tries[i] - tries[i - 1], 900ms) << "attempt " << i;

  // Possible again: opened within about a second, and said once it has played a while.
  fs::remove(kAway / kOutput.filename());
  fs::rename(kAway, kFolder);
  const auto back = WaitForNewOutput(5s);
  ASSERT_TRUE(back) << "the device was not opened again";
  EXPECT_LT(*back, 2s);
  std::this_thread::sleep_for(1500ms);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(said, "the audio device"), 2) << said;
  EXPECT_EQ(Count(said, "lost the audio device"), 1) << said;
  EXPECT_EQ(Count(said, "is back"), 1) << said;

  // Removed and opened again at once, a few times over: nothing is left behind.
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) {
    fs::remove(kOutput);
    SendRemoval();
    ASSERT_TRUE(WaitForNewOutput(5s)) << "the device was not opened again after removal " << i + 1;
  }
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Entries("/proc/self/task"), threads);
  EXPECT_EQ(Entries("/proc/self/fd"), files);
}

}  // namespace
