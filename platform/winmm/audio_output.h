// Keeps a mixer playing on the default audio device for as long as the program runs, through
// the device being lost and coming back (a sound server restarted, or started after the
// program). A thread of its own opens the device; when the device is lost it closes it and
// opens it again, at once and then once a second, until it is back. Nobody else waits for
// any of this: the program's calls only add and change voices on the mixer.
//
// While there is no device, the thread plays the mixer into silence at the device's pace,
// as SDL itself does for a device that went away: sounds take their time, plays end and say
// so, and the music is heard again from wherever it has got to.
//
// Stderr gets one line when the sound is lost (or cannot be had at the start) and one when
// it is back, nothing while the thread keeps trying.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/winmm/mixer.h"

namespace win32::winmm {

class AudioOutput {
 public:
  explicit AudioOutput(Mixer& mixer) : mixer_(mixer) {}
  ~AudioOutput() { Stop(); }
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Starts the thread the first time it is called, and says whether anything plays the
  // mixer: false once Stop has been called.
  bool Start();
  // Closes the device and ends the thread; nothing plays the mixer any more. A thread that
  // has not ended 2 s later (its back end hangs) is left to end with the process.
  void Stop();

 private:
  using Clock = std::chrono::steady_clock;
  void Run();
  void Removed();

  Mixer& mixer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool finished_ = false;
  bool removed_ = false;  // SDL said that the open device went away
  std::thread thread_;
};

// The mixer that every sound of the process plays on.
Mixer& SharedMixer();

// Starts the process's output of the shared mixer the first time it is called; it stops when
// the program ends. Says whether anything plays the mixer (nothing does once it has stopped).
bool StartAudioOutput();

}  // namespace win32::winmm
