// Plays a MidiSong: the events are sequenced here, sample-exactly against the frames
// rendered, and sounded by a FluidSynth synthesiser with a General MIDI sound font.
// Because the sequencing is ours, the position is exact, a stop keeps it and a seek
// rebuilds the channels' state (programs, controllers, bends) as the song has it there.
// As on a real synthesiser, a stop or a seek releases the notes that sound rather than
// cutting them off, so that pausing or looping the music does not click.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/winmm/midi_file.h"
#include "platform/winmm/sound_source.h"

namespace win32::winmm {

class MidiSource : public SoundSource {
 public:
  // Null when none of `fonts` can be loaded; `why` then says so.
  static std::unique_ptr<MidiSource> Create(std::shared_ptr<const MidiSong> song, const std::vector<std::string>& fonts,
                                            std::string& why);
  struct Synth;
  // Use Create.
  MidiSource(std::shared_ptr<const MidiSong> song, std::unique_ptr<Synth> synth);
  ~MidiSource() override;

  Frames Length() const override { return length_; }
  void Seek(Frames frame) override;
  void Render(float* out, int frames) override;
  void Interrupt() override;
  Frames TailLength() const override;
  void RenderTail(float* out, int frames) override;
  void Silence() override;

 private:
  void Send(const MidiEvent& event, bool with_notes);

  std::shared_ptr<const MidiSong> song_;
  std::unique_ptr<Synth> synth_;
  std::vector<Frames> event_frames_;
  Frames length_ = 0;
  Frames cursor_ = 0;
  std::size_t next_event_ = 0;
};

}  // namespace win32::winmm
