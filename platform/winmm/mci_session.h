// MCI devices and the commands sent to them by string.
//
// Each `open` makes a device with its own voice on the mixer, named by its alias (or by
// its file name when it has none). A play sent with `notify` leaves a notice pending on
// the device: the mixer posts it as MCI_NOTIFY_SUCCESSFUL when the play gets to its end,
// a command that prevents that (stop, seek, close, pause of a sequencer, a play to
// another end) posts it as MCI_NOTIFY_ABORTED, and another command with `notify` that
// leaves it be posts it as MCI_NOTIFY_SUPERSEDED. Positions and lengths are milliseconds.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/winmm/mci_command.h"
#include "platform/winmm/mixer.h"
#include "platform/winmm/notice.h"

namespace win32::winmm {

class MciSession {
 public:
  // `start_output` makes sure that something plays `mixer` (the audio device, or silence
  // while there is none) and says whether anything does; `sound_fonts` are tried in order
  // for MIDI files; `sink` delivers notifications.
  MciSession(Mixer& mixer, std::function<bool()> start_output, std::vector<std::string> sound_fonts, NoticeSink sink);
  // Closes every device that is still open; no notification is delivered after this.
  ~MciSession();
  MciSession(const MciSession&) = delete;
  MciSession& operator=(const MciSession&) = delete;

  // Carries out one command string; `reply` gets its text answer ("" when it has none).
  MCIERROR Send(std::string_view command, std::string& reply, HWND callback);

 private:
  enum class DeviceType { Sequencer, WaveAudio };
  struct Device {
    MCIDEVICEID id = 0;
    std::string name;
    DeviceType type = DeviceType::Sequencer;
    std::shared_ptr<Voice> voice;
    bool paused = false;  // with the mixer's lock
  };
  // Notifications decided under the locks and delivered after both are let go.
  using Deliveries = std::vector<std::pair<Notice, WPARAM>>;

  MCIERROR Open(const MciCommand& command, std::string& reply, HWND callback, Deliveries& deliveries);
  MCIERROR Execute(Device& device, const MciCommand& command, std::string& reply, HWND callback,
                   Deliveries& deliveries);
  MCIERROR Play(Device& device, const MciCommand& command, HWND callback, Deliveries& deliveries);
  MCIERROR Status(const Device& device, const MciCommand& command, std::string& reply) const;
  void Close(Device& device, Deliveries& deliveries);
  Device* Find(std::string_view name);
  MCIDEVICEID FreeId() const;
  Notice MakeNotice(HWND callback, MCIDEVICEID id) const { return Notice{&sink_, callback, id}; }

  Mixer& mixer_;
  std::function<bool()> start_output_;
  std::vector<std::string> sound_fonts_;
  NoticeSink sink_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Device>> devices_;
};

}  // namespace win32::winmm
