// The MCI devices, driven offline: the test renders the mixer itself, so positions,
// audio and notifications are exact and need no waiting.
#include "platform/winmm/mci_session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/winmm/sound_font.h"
#include "tests/platform/winmm/test_sounds.h"

namespace {

using win32::winmm::MciSession;
using win32::winmm::Mixer;
using winmm_test::Render;
using winmm_test::Samples;

constexpr int kSegments = 6;
constexpr double kSegmentSeconds = 0.4;  // the scale lasts 2400 ms

struct Posted {
  HWND window;
  WPARAM code;
  LPARAM device;
  bool operator==(const Posted&) const = default;
};

HWND const kWindow = reinterpret_cast<HWND>(0x1234);

class MciSessionTest : public ::testing::Test {
 protected:
  MciSessionTest() {
    winmm_test::WriteBytes(scale_, winmm_test::ScaleMidi(kSegments, kSegmentSeconds));
    winmm_test::WriteBytes(wave_, winmm_test::ConstantWave(1000, 1.0));
  }

  std::unique_ptr<MciSession> NewSession(std::vector<std::string> fonts = win32::winmm::SoundFontCandidates(nullptr)) {
    return std::make_unique<MciSession>(
        mixer_, [this] { return output_available_; }, std::move(fonts),
        [this](HWND window, WPARAM code, LPARAM device) {
          posted_.push_back({window, code, device});
        });
  }

  // Sends a command that must succeed; returns its reply.
  std::string Send(const std::string& command, HWND callback = nullptr) {
    std::string reply;
    EXPECT_EQ(session_->Send(command, reply, callback), 0u) << command;
    return reply;
  }
  MCIERROR Error(const std::string& command) {
    std::string reply;
    return session_->Send(command, reply, nullptr);
  }
  std::vector<WPARAM> Codes() const {
    std::vector<WPARAM> codes;
    for (const Posted& p : posted_) codes.push_back(p.code);
    return codes;
  }

  Mixer mixer_;
  bool output_available_ = true;
  std::vector<Posted> posted_;
  std::unique_ptr<MciSession> session_ = NewSession();
  const std::string scale_ = winmm_test::TestFile("_scale.mid");
  const std::string wave_ = winmm_test::TestFile("_one_second.wav");
};

TEST_F(MciSessionTest, OpenAnswersWithTheDeviceIdAndStatusDescribesTheDevice) {
  EXPECT_EQ(Send("open " + scale_ + " alias music"), "1");
  EXPECT_EQ(Send("open " + wave_ + " alias blip"), "2");
  EXPECT_EQ(Send("status music mode"), "stopped");
  EXPECT_EQ(Send("status MUSIC position"), "0");
  EXPECT_EQ(Send("status music length"), "2400");
  EXPECT_EQ(Send("status blip length"), "1000");
  EXPECT_EQ(Send("status music ready"), "true");
  EXPECT_EQ(Send("status music time format"), "milliseconds");
  Send("close music");
  EXPECT_EQ(Error("status music mode"), MCIERR_INVALID_DEVICE_NAME);
  // The lowest free identifier is given again.
  EXPECT_EQ(Send("open " + scale_ + " alias again"), "1");
  // Without an alias the file name is the device's name.
  EXPECT_EQ(Send("open " + wave_), "3");
  EXPECT_EQ(Send("status " + wave_ + " length"), "1000");
}

TEST_F(MciSessionTest, OpenRefusesWhatItCannotPlay) {
  winmm_test::WriteBytes("garbage.mid", {'M', 'T', 'h', 'd', 1, 2, 3});
  winmm_test::WriteBytes("empty.mid", {});
  winmm_test::WriteBytes("wave_inside.mid", winmm_test::ConstantWave(5, 0.1));
  winmm_test::WriteBytes("midi_inside.wav", winmm_test::ScaleMidi(1, 0.1));
  winmm_test::WriteBytes("a_wave.dat", winmm_test::ConstantWave(5, 0.1));
  ::mkdir("folder.mid", 0755);
  Send("open " + scale_ + " alias taken");

  struct Case {
    std::string command;
    MCIERROR error;
  } cases[] = {
      {"open missing.mid alias m", MCIERR_FILE_NOT_FOUND},
      {"open " + wave_ + " alias taken", MCIERR_DUPLICATE_ALIAS},
      {"open " + wave_ + " alias TAKEN", MCIERR_DUPLICATE_ALIAS},
      {"open " + scale_, 0},
      {"open " + scale_, MCIERR_DEVICE_OPEN},
      {"open a_wave.dat alias m", MCIERR_EXTENSION_NOT_FOUND},
      {"open a_wave.dat type waveaudio alias typed", 0},
      {"open waveaudio!a_wave.dat alias banged", 0},
      {"open a_wave.dat type cdaudio alias m", MCIERR_INVALID_DEVICE_NAME},
      {"open garbage.mid alias m", MCIERR_INVALID_FILE},
      {"open empty.mid alias m", MCIERR_INVALID_FILE},
      {"open wave_inside.mid alias m", MCIERR_INVALID_FILE},
      {"open midi_inside.wav alias m", MCIERR_INVALID_FILE},
      {"open folder.mid alias m", MCIERR_FILE_READ},
      {"open sequencer! alias m", MCIERR_FILENAME_REQUIRED},
  };
  for (const Case& c : cases) EXPECT_EQ(Error(c.command), c.error) << c.command;
  EXPECT_EQ(Error("status m mode"), MCIERR_INVALID_DEVICE_NAME);

  output_available_ = false;
  EXPECT_EQ(Error("open " + wave_ + " alias m"), MCIERR_HARDWARE);
}

TEST_F(MciSessionTest, CommandsCheckTheirDeviceAndArguments) {
  Send("open " + wave_ + " alias w");
  struct Case {
    const char* command;
    MCIERROR error;
  } cases[] = {
      {"play nothing", MCIERR_INVALID_DEVICE_NAME},
      {"play \"all\"", MCIERR_INVALID_DEVICE_NAME},
      {"stop all", MCIERR_CANNOT_USE_ALL},
      {"play w from 1001", MCIERR_OUTOFRANGE},
      {"play w to 1001", MCIERR_OUTOFRANGE},
      {"play w from 600 to 500", MCIERR_OUTOFRANGE},
      {"seek w to 1001", MCIERR_OUTOFRANGE},
      {"resume w", MCIERR_NONAPPLICABLE_FUNCTION},
      {"status w", MCIERR_MISSING_PARAMETER},
      {"status w mode position", MCIERR_FLAGS_NOT_COMPATIBLE},
      {"set w", MCIERR_MISSING_PARAMETER},
      {"set w time format frames", MCIERR_BAD_TIME_FORMAT},
      {"set w time format MS", 0},
      {"set w time format milliseconds", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Error(c.command), c.error) << c.command;
  EXPECT_EQ(Send("status w mode"), "stopped");
}

TEST_F(MciSessionTest, StopSilencesAndKeepsThePosition) {
  Send("open " + scale_ + " alias music");
  Send("play music");
  EXPECT_EQ(Send("status music mode"), "playing");
  std::vector<std::int16_t> playing = Render(mixer_, 1.0);
  EXPECT_GT(winmm_test::Rms(playing, 0, playing.size()), 0.01);
  EXPECT_EQ(Send("status music position"), "1000");

  Send("stop music");
  EXPECT_EQ(Send("status music mode"), "stopped");
  // The released notes fade out within 300 ms; after that nothing is heard.
  std::vector<std::int16_t> stopped = Render(mixer_, 0.6);
  EXPECT_TRUE(winmm_test::AllZero(stopped, Samples(0.3), stopped.size()));
  EXPECT_EQ(Send("status music position"), "1000");
}

TEST_F(MciSessionTest, PlayAfterStopContinuesWhereItStopped) {
  Send("open " + scale_ + " alias music");
  Send("play music");
  Render(mixer_, 1.0);
  Send("stop music");
  Render(mixer_, 0.5);
  Send("play music");
  std::vector<std::int16_t> resumed = Render(mixer_, 0.4);
  EXPECT_EQ(Send("status music position"), "1400");
  // 0.25 to 0.35 s after resuming is 1.25 to 1.35 s into the song: the fourth note. Had
  // it started over, the first would sound.
  EXPECT_EQ(winmm_test::LoudestScaleNote(resumed, 11025, 4410, kSegments), 3);
}

TEST_F(MciSessionTest, SeekMovesAndStopsAndPlayStartsThere) {
  Send("open " + scale_ + " alias music");
  Send("play music");
  Render(mixer_, 1.3);
  Send("seek music to start");
  EXPECT_EQ(Send("status music mode"), "stopped");
  EXPECT_EQ(Send("status music position"), "0");
  Send("play music");
  std::vector<std::int16_t> again = Render(mixer_, 0.2);
  EXPECT_EQ(winmm_test::LoudestScaleNote(again, 2205, 4410, kSegments), 0);

  Send("seek music to 2000");
  EXPECT_EQ(Send("status music position"), "2000");
  Send("play music");
  std::vector<std::int16_t> late = Render(mixer_, 0.2);
  EXPECT_EQ(winmm_test::LoudestScaleNote(late, 2205, 4410, kSegments), 5);
  Send("seek music to end");
  EXPECT_EQ(Send("status music position"), "2400");
}

TEST_F(MciSessionTest, ThePlayThatGetsToTheEndPostsSuccessful) {
  Send("open " + scale_ + " alias music");
  Send("play music notify", kWindow);
  Render(mixer_, 2.3);
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(Send("status music mode"), "playing");
  Render(mixer_, 0.2);
  EXPECT_EQ(posted_, (std::vector<Posted>{{kWindow, MCI_NOTIFY_SUCCESSFUL, 1}}));
  EXPECT_EQ(Send("status music mode"), "stopped");
  EXPECT_EQ(Send("status music position"), "2400");

  // Played again at the end, it ends at once; rewound, it plays the whole piece again.
  Send("play music notify", kWindow);
  Render(mixer_, 0.05);
  EXPECT_EQ(posted_.size(), 2u);
  Send("seek music to start");
  Send("play music notify", kWindow);
  Render(mixer_, 1.0);
  EXPECT_EQ(posted_.size(), 2u);
}

TEST_F(MciSessionTest, PendingNotificationsEndAsWindowsEndsThem) {
  constexpr WPARAM S = MCI_NOTIFY_SUCCESSFUL, A = MCI_NOTIFY_ABORTED, R = MCI_NOTIFY_SUPERSEDED;
  struct Case {
    std::vector<std::string> commands;
    std::vector<WPARAM> codes;  // after rendering past the end of the music
  } cases[] = {
      {{"play music notify"}, {S}},
      {{"play music notify", "stop music"}, {A}},
      {{"play music notify", "seek music to start"}, {A}},
      {{"play music notify", "close music"}, {A}},
      {{"play music notify", "close all"}, {A}},
      {{"play music notify", "pause music"}, {A}},
      {{"play music notify", "status music mode notify"}, {R, S}},
      {{"play music notify", "play music notify"}, {R, S}},
      {{"play music notify", "play music"}, {S}},
      {{"play music notify", "play music to 1000"}, {A}},
      {{"play music notify", "play music to 1000 notify"}, {A, S}},
      {{"play music notify", "play music from 99999 notify", "stop music"}, {A}},
      {{"play music", "stop music notify"}, {S}},
      {{"play wave notify", "pause wave", "resume wave"}, {S}},
      {{"play wave notify", "pause wave", "stop wave"}, {A}},
  };
  for (const Case& c : cases) {
    posted_.clear();
    session_ = NewSession();
    Send("open " + scale_ + " alias music");
    Send("open " + wave_ + " alias wave");
    std::string trace;
    for (const std::string& command : c.commands) {
      std::string reply;
      session_->Send(command, reply, kWindow);
      trace += command + "; ";
    }
    Render(mixer_, 2.5);
    EXPECT_EQ(Codes(), c.codes) << trace;
  }
}

TEST_F(MciSessionTest, NotificationsNameTheDeviceAndNeedAWindow) {
  Send("open " + wave_ + " alias first");
  Send("open " + scale_ + " alias second");
  Send("play second notify", kWindow);
  Send("stop second");
  EXPECT_EQ(posted_, (std::vector<Posted>{{kWindow, MCI_NOTIFY_ABORTED, 2}}));
  posted_.clear();
  Send("play second notify");  // no window to tell
  Send("stop second");
  Render(mixer_, 0.1);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MciSessionTest, PlayFromToPlaysExactlyThatStretch) {
  Send("open " + wave_ + " alias w");
  Send("play w from 200 to 500 notify", kWindow);
  std::vector<std::int16_t> audio = Render(mixer_, 0.5);
  const auto sounding = std::count(audio.begin(), audio.end(), 1000);
  EXPECT_EQ(sounding, static_cast<std::ptrdiff_t>(Samples(0.3)));
  EXPECT_EQ(std::count(audio.begin(), audio.end(), 0) + sounding, static_cast<std::ptrdiff_t>(audio.size()));
  EXPECT_EQ(Send("status w position"), "500");
  EXPECT_EQ(Codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
}

TEST_F(MciSessionTest, PauseAndResume) {
  Send("open " + wave_ + " alias w");
  Send("play w");
  Render(mixer_, 0.25);
  Send("pause w");
  EXPECT_EQ(Send("status w mode"), "paused");
  EXPECT_TRUE(winmm_test::AllZero(Render(mixer_, 0.1), 0, Samples(0.1)));
  Send("resume w");
  EXPECT_EQ(Send("status w mode"), "playing");
  Render(mixer_, 0.25);
  EXPECT_EQ(Send("status w position"), "500");
}

TEST_F(MciSessionTest, DevicesPlayTogether) {
  winmm_test::WriteBytes("two.wav", winmm_test::ConstantWave(2000, 1.0));
  Send("open " + wave_ + " alias one");
  Send("open two.wav alias two");
  Send("play one");
  Send("play two");
  std::vector<std::int16_t> audio = Render(mixer_, 0.1);
  EXPECT_EQ(audio[100], 3000);
}

TEST_F(MciSessionTest, WithoutASoundFontMidiFailsAndSaysSoOnce) {
  session_ = NewSession({"/nonexistent/none.sf2"});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Error("open " + scale_ + " alias a"), MCIERR_SEQ_NOMIDIPRESENT);
  EXPECT_EQ(Error("open " + scale_ + " alias b"), MCIERR_SEQ_NOMIDIPRESENT);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("no sound font found"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  // Wave devices do not need one.
  EXPECT_EQ(Send("open " + wave_ + " alias w"), "1");
}

TEST_F(MciSessionTest, AMissingFileIsReportedOnce) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Error("open absent.mid alias a"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(Error("open absent.mid alias a"), MCIERR_FILE_NOT_FOUND);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot play absent.mid: file not found"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace
