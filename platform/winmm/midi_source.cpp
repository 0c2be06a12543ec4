#include "platform/winmm/midi_source.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <mutex>

namespace win32::winmm {
namespace {

// FluidSynth's own default of 0.2 leaves General MIDI files rather quiet next to the
// wave sounds; this puts a full arrangement at a comfortable level without clipping.
constexpr double kSynthGain = 0.5;

// Released notes and reverb ring on for this long after a stop, fading out.
constexpr Frames kTailFrames = kSampleRate * 3 / 10;

Frames MicrosToFrames(std::int64_t micros) { return micros * kSampleRate / 1'000'000; }

// FluidSynth prints its warnings on stderr; our own one-line reports say what matters.
void SilenceFluidSynthLog() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
  });
}

}  // namespace

// The synthesiser is declared after its settings so that it is deleted first.
struct MidiSource::Synth {
  std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)> settings{new_fluid_settings(), &delete_fluid_settings};
  std::unique_ptr<fluid_synth_t, void (*)(fluid_synth_t*)> synth{nullptr, &delete_fluid_synth};
};

std::unique_ptr<MidiSource> MidiSource::Create(std::shared_ptr<const MidiSong> song,
                                               const std::vector<std::string>& fonts, std::string& why) {
  SilenceFluidSynthLog();
  auto synth = std::make_unique<Synth>();
  if (!synth->settings) {
    why = "cannot start the MIDI synthesiser";
    return nullptr;
  }
  fluid_settings_setnum(synth->settings.get(), "synth.sample-rate", kSampleRate);
  fluid_settings_setnum(synth->settings.get(), "synth.gain", kSynthGain);
  // Every call is made under the mixer's lock already.
  fluid_settings_setint(synth->settings.get(), "synth.threadsafe-api", 0);
  synth->synth.reset(new_fluid_synth(synth->settings.get()));
  if (!synth->synth) {
    why = "cannot start the MIDI synthesiser";
    return nullptr;
  }

  bool loaded = false;
  for (const std::string& font : fonts) {
    if (::access(font.c_str(), R_OK) != 0) continue;
    if (fluid_synth_sfload(synth->synth.get(), font.c_str(), 1) != FLUID_FAILED) {
      loaded = true;
      break;
    }
  }
  if (!loaded) {
    why = "no sound font found";
    return nullptr;
  }
  return std::make_unique<MidiSource>(std::move(song), std::move(synth));
}

MidiSource::MidiSource(std::shared_ptr<const MidiSong> song, std::unique_ptr<Synth> synth)
    : song_(std::move(song)), synth_(std::move(synth)), length_(MicrosToFrames(song_->length_micros)) {
  event_frames_.reserve(song_->events.size());
  for (const MidiEvent& event : song_->events) event_frames_.push_back(MicrosToFrames(event.micros));
}

MidiSource::~MidiSource() = default;

void MidiSource::Send(const MidiEvent& event, bool with_notes) {
  fluid_synth_t* synth = synth_->synth.get();
  const int channel = event.status & 0x0F;
  switch (event.status & 0xF0) {
    case 0x80:
      if (with_notes) fluid_synth_noteoff(synth, channel, event.data1);
      break;
    case 0x90:
      if (!with_notes) break;
      if (event.data2 == 0)
        fluid_synth_noteoff(synth, channel, event.data1);
      else
        fluid_synth_noteon(synth, channel, event.data1, event.data2);
      break;
    case 0xA0:
      if (with_notes) fluid_synth_key_pressure(synth, channel, event.data1, event.data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, event.data1, event.data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, event.data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, event.data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, event.data1 | event.data2 << 7);
      break;
    case 0xF0: {
      const auto* data = reinterpret_cast<const char*>(song_->sysex.data() + event.sysex_offset);
      fluid_synth_sysex(synth, data, static_cast<int>(event.sysex_length), nullptr, nullptr, nullptr, 0);
      break;
    }
  }
}

void MidiSource::Seek(Frames frame) {
  fluid_synth_t* synth = synth_->synth.get();
  // The reset releases the notes that sound and puts every channel back as at power-on.
  fluid_synth_system_reset(synth);
  // Everything but the notes before `frame` is replayed, so that the channels sound as
  // they would had the song played up to here.
  cursor_ = std::clamp<Frames>(frame, 0, length_);
  next_event_ = 0;
  while (next_event_ < event_frames_.size() && event_frames_[next_event_] < cursor_)
    Send(song_->events[next_event_++], false);
}

void MidiSource::Render(float* out, int frames) {
  int done = 0;
  while (done < frames) {
    while (next_event_ < event_frames_.size() && event_frames_[next_event_] <= cursor_)
      Send(song_->events[next_event_++], true);
    const Frames next =
        next_event_ < event_frames_.size() ? event_frames_[next_event_] : std::numeric_limits<Frames>::max();
    const int n = static_cast<int>(std::min<Frames>(frames - done, next - cursor_));
    float* block = out + static_cast<std::ptrdiff_t>(done) * kChannels;
    fluid_synth_write_float(synth_->synth.get(), n, block, 0, kChannels, block, 1, kChannels);
    done += n;
    cursor_ += n;
  }
}

void MidiSource::Interrupt() { fluid_synth_all_notes_off(synth_->synth.get(), -1); }

Frames MidiSource::TailLength() const { return kTailFrames; }

void MidiSource::RenderTail(float* out, int frames) {
  fluid_synth_write_float(synth_->synth.get(), frames, out, 0, kChannels, out, 1, kChannels);
}

void MidiSource::Silence() { fluid_synth_all_sounds_off(synth_->synth.get(), -1); }

}  // namespace win32::winmm
