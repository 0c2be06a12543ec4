#include "platform/winmm/mci_session.h"

#include <algorithm>
#include <utility>

#include "platform/common/codepage.h"
#include "platform/common/report_once.h"
#include "platform/winmm/midi_file.h"
#include "platform/winmm/midi_source.h"
#include "platform/winmm/sound_file.h"
#include "platform/winmm/wave_file.h"

namespace win32::winmm {
namespace {

// The extension of a file name, in lower case, or "".
std::string Extension(std::string_view name) {
  const std::string path = HostPath(name);
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return LowerAscii(path.substr(dot + 1));
}

DWORD LengthMs(const Voice& voice) { return static_cast<DWORD>(FramesToMilliseconds(voice.Length())); }

DWORD PositionMs(const Voice& voice) { return static_cast<DWORD>(FramesToMilliseconds(voice.Position())); }

// A position in milliseconds (at most the length) as a frame; the length itself is the
// last frame exactly, not the frame its rounded milliseconds would give.
Frames ToFrames(const Voice& voice, DWORD ms) {
  return ms >= LengthMs(voice) ? voice.Length() : MillisecondsToFrames(ms);
}

// With the mixer's lock: the pending notice of `voice`, if any, is delivered with `code`.
void EndPending(Voice& voice, WPARAM code, std::vector<std::pair<Notice, WPARAM>>& deliveries) {
  if (voice.notice) deliveries.emplace_back(*std::exchange(voice.notice, std::nullopt), code);
}

}  // namespace

MciSession::MciSession(Mixer& mixer, std::function<bool()> start_output, std::vector<std::string> sound_fonts,
                       NoticeSink sink)
    : mixer_(mixer),
      start_output_(std::move(start_output)),
      sound_fonts_(std::move(sound_fonts)),
      sink_(std::move(sink)) {}

MciSession::~MciSession() {
  std::lock_guard lock(mutex_);
  auto mixer_lock = mixer_.Lock();
  for (auto& device : devices_) mixer_.Remove(device->voice);
}

MCIERROR MciSession::Send(std::string_view text, std::string& reply, HWND callback) {
  reply.clear();
  MciCommand command;
  if (MCIERROR error = ParseMciCommand(text, command)) return error;

  Deliveries deliveries;
  std::shared_ptr<Voice> wait_for;
  MCIERROR error = 0;
  {
    std::lock_guard lock(mutex_);
    if (command.verb == "open") {
      error = Open(command, reply, callback, deliveries);
    } else if (!command.device_quoted && cp932::SameName(command.device, "all")) {
      if (command.verb != "close") {
        error = MCIERR_CANNOT_USE_ALL;
      } else {
        auto mixer_lock = mixer_.Lock();
        for (auto& device : devices_) Close(*device, deliveries);
        devices_.clear();
        if (command.Has("notify"))
          deliveries.emplace_back(MakeNotice(callback, MCI_ALL_DEVICE_ID), MCI_NOTIFY_SUCCESSFUL);
      }
    } else if (Device* device = Find(command.device)) {
      error = Execute(*device, command, reply, callback, deliveries);
      if (!error && command.verb == "play" && command.Has("wait")) wait_for = device->voice;
      if (!error && command.verb == "close")
        std::erase_if(devices_, [device](const auto& open) { return open.get() == device; });
    } else {
      error = MCIERR_INVALID_DEVICE_NAME;
    }
  }
  for (const auto& [notice, code] : deliveries) notice.Post(code);
  // Without an output (stopped at exit) nothing would ever move the voice on.
  if (wait_for && start_output_()) {
    auto mixer_lock = mixer_.Lock();
    mixer_.WaitUntilStopped(mixer_lock, *wait_for);
  }
  return error;
}

MCIERROR MciSession::Open(const MciCommand& command, std::string& reply, HWND callback, Deliveries& deliveries) {
  std::string element = command.device;
  std::string type_name = LowerAscii(command.Argument("type"));
  // "sequencer!song.mid" names the type and the file together.
  if (const std::size_t bang = element.find('!'); !command.device_quoted && bang != std::string::npos) {
    if (command.Has("type")) return MCIERR_FLAGS_NOT_COMPATIBLE;
    type_name = LowerAscii(element.substr(0, bang));
    element = element.substr(bang + 1);
  }
  if (element.empty()) return MCIERR_FILENAME_REQUIRED;
  const std::string name = command.Has("alias") ? command.Argument("alias") : element;
  if (Find(name)) return command.Has("alias") ? MCIERR_DUPLICATE_ALIAS : MCIERR_DEVICE_OPEN;

  DeviceType type;
  const std::string extension = Extension(element);
  if (type_name == "sequencer" ||
      (type_name.empty() && (extension == "mid" || extension == "rmi" || extension == "kar")))
    type = DeviceType::Sequencer;
  else if (type_name == "waveaudio" || (type_name.empty() && extension == "wav"))
    type = DeviceType::WaveAudio;
  else
    return type_name.empty() ? MCIERR_EXTENSION_NOT_FOUND : MCIERR_INVALID_DEVICE_NAME;

  const std::string shown = DisplayName(element);
  std::vector<std::uint8_t> bytes;
  const ReadResult read =
      ReadSoundFile(element, type == DeviceType::Sequencer ? kLargestMidiFile : kLargestWaveFile, bytes);
  if (read != ReadResult::Ok) {
    ReportOnce("cannot play " + shown + ": " + std::string(ReadProblem(read)));
    return read == ReadResult::NotFound     ? MCIERR_FILE_NOT_FOUND
           : read == ReadResult::Unreadable ? MCIERR_FILE_READ
                                            : MCIERR_INVALID_FILE;
  }

  std::string why;
  std::unique_ptr<SoundSource> source;
  std::shared_ptr<const MidiSong> song;
  if (type == DeviceType::Sequencer) {
    if (auto parsed = ParseMidiFile(bytes, why)) song = std::make_shared<const MidiSong>(std::move(*parsed));
  } else {
    source = DecodeWave(bytes, why);
  }
  if (!song && !source) {
    ReportOnce("cannot play " + shown + ": " + why);
    return MCIERR_INVALID_FILE;
  }
  if (!start_output_()) return MCIERR_HARDWARE;
  if (song) {
    source = MidiSource::Create(song, sound_fonts_, why);
    if (!source) {
      ReportOnce(why + " (install timgm6mb-soundfont or name one in SDL_SOUNDFONTS); MIDI music is silent");
      return MCIERR_SEQ_NOMIDIPRESENT;
    }
  }

  auto device = std::make_unique<Device>();
  device->id = FreeId();
  device->name = name;
  device->type = type;
  device->voice = std::make_shared<Voice>(std::move(source));
  {
    auto mixer_lock = mixer_.Lock();
    mixer_.Add(device->voice);
  }
  reply = std::to_string(device->id);
  if (command.Has("notify")) deliveries.emplace_back(MakeNotice(callback, device->id), MCI_NOTIFY_SUCCESSFUL);
  devices_.push_back(std::move(device));
  return 0;
}

MCIERROR MciSession::Execute(Device& device, const MciCommand& command, std::string& reply, HWND callback,
                             Deliveries& deliveries) {
  auto mixer_lock = mixer_.Lock();
  Voice& voice = *device.voice;
  const std::string& verb = command.verb;

  if (verb == "play") return Play(device, command, callback, deliveries);
  if (verb == "stop") {
    EndPending(voice, MCI_NOTIFY_ABORTED, deliveries);
    voice.Halt();
    device.paused = false;
  } else if (verb == "pause") {
    // A sequencer gives up a pending play when paused; a wave device keeps it for resume.
    if (device.type == DeviceType::Sequencer) EndPending(voice, MCI_NOTIFY_ABORTED, deliveries);
    if (voice.Playing()) {
      voice.Halt();
      device.paused = true;
    }
  } else if (verb == "resume") {
    if (!device.paused) return MCIERR_NONAPPLICABLE_FUNCTION;
    voice.Play(voice.End());
    device.paused = false;
  } else if (verb == "seek") {
    if (!command.Has("to")) return MCIERR_MISSING_PARAMETER;
    const std::string to = command.Argument("to");
    Frames target = 0;
    if (to == "end") {
      target = voice.Length();
    } else if (to != "start") {
      if (command.Number("to") > LengthMs(voice)) return MCIERR_OUTOFRANGE;
      target = ToFrames(voice, command.Number("to"));
    }
    EndPending(voice, MCI_NOTIFY_ABORTED, deliveries);
    voice.MoveTo(target);
    device.paused = false;
  } else if (verb == "status") {
    if (MCIERROR error = Status(device, command, reply)) return error;
  } else if (verb == "set") {
    if (!command.Has("time format")) return MCIERR_MISSING_PARAMETER;
    const std::string format = LowerAscii(command.Argument("time format"));
    if (format != "milliseconds" && format != "ms") return MCIERR_BAD_TIME_FORMAT;
  } else if (verb == "close") {
    Close(device, deliveries);
  }

  if (command.Has("notify")) {
    EndPending(voice, MCI_NOTIFY_SUPERSEDED, deliveries);
    deliveries.emplace_back(MakeNotice(callback, device.id), MCI_NOTIFY_SUCCESSFUL);
  }
  return 0;
}

MCIERROR MciSession::Play(Device& device, const MciCommand& command, HWND callback, Deliveries& deliveries) {
  Voice& voice = *device.voice;
  const DWORD length = LengthMs(voice);
  if ((command.Has("from") && command.Number("from") > length) || (command.Has("to") && command.Number("to") > length))
    return MCIERR_OUTOFRANGE;
  const Frames from = command.Has("from") ? ToFrames(voice, command.Number("from")) : voice.Position();
  const Frames to = command.Has("to") ? ToFrames(voice, command.Number("to")) : voice.Length();
  if (to < from) return MCIERR_OUTOFRANGE;

  // A play to another end prevents the pending one from being met; one to the same end
  // lets it be, and only replaces its notice if it asks for one of its own.
  if (voice.notice && to != voice.End())
    EndPending(voice, MCI_NOTIFY_ABORTED, deliveries);
  else if (command.Has("notify"))
    EndPending(voice, MCI_NOTIFY_SUPERSEDED, deliveries);

  if (command.Has("from")) voice.MoveTo(from);
  voice.Play(to);
  device.paused = false;
  if (command.Has("notify")) voice.notice = MakeNotice(callback, device.id);
  return 0;
}

MCIERROR MciSession::Status(const Device& device, const MciCommand& command, std::string& reply) const {
  const Voice& voice = *device.voice;
  const std::pair<const char*, std::string> items[] = {
      {"mode", voice.Playing() ? "playing"
               : device.paused ? "paused"
                               : "stopped"},
      {"position", std::to_string(PositionMs(voice))},
      {"length", std::to_string(LengthMs(voice))},
      {"ready", "true"},
      {"time format", "milliseconds"},
  };
  int asked = 0;
  for (const auto& [item, answer] : items) {
    if (!command.Has(item)) continue;
    ++asked;
    reply = answer;
  }
  if (asked == 0) return MCIERR_MISSING_PARAMETER;
  if (asked > 1) {
    reply.clear();
    return MCIERR_FLAGS_NOT_COMPATIBLE;
  }
  return 0;
}

void MciSession::Close(Device& device, Deliveries& deliveries) {
  EndPending(*device.voice, MCI_NOTIFY_ABORTED, deliveries);
  mixer_.Remove(device.voice);
}

MciSession::Device* MciSession::Find(std::string_view name) {
  for (auto& device : devices_)
    if (cp932::SameName(device->name, name)) return device.get();
  return nullptr;
}

MCIDEVICEID MciSession::FreeId() const {
  MCIDEVICEID id = 1;
  while (std::any_of(devices_.begin(), devices_.end(), [id](const auto& device) { return device->id == id; })) ++id;
  return id;
}

}  // namespace win32::winmm
