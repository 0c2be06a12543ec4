#include "platform/winmm/mci_command.h"

#include <gtest/gtest.h>

namespace {

using win32::winmm::MciCommand;
using win32::winmm::ParseMciCommand;

TEST(MciCommand, ParsesVerbDeviceAndKeywords) {
  struct Case {
    const char* text;
    const char* verb;
    const char* device;
    std::map<std::string, std::string, std::less<>> keywords;
  } cases[] = {
      {"open bgm.mid alias bgm", "open", "bgm.mid", {{"alias", "bgm"}}},
      {"OPEN Bgm.Mid ALIAS Bgm", "open", "Bgm.Mid", {{"alias", "Bgm"}}},
      {"open \"my music\\song one.mid\" type sequencer alias tune",
       "open",
       "my music\\song one.mid",
       {{"type", "sequencer"}, {"alias", "tune"}}},
      {"  play   bgm\tNOTIFY  ", "play", "bgm", {{"notify", ""}}},
      {"play bgm from 100 to 2000 notify wait",
       "play",
       "bgm",
       {{"from", "100"}, {"to", "2000"}, {"notify", ""}, {"wait", ""}}},
      {"seek bgm to start", "seek", "bgm", {{"to", "start"}}},
      {"seek bgm to END", "seek", "bgm", {{"to", "end"}}},
      {"seek bgm to 1500", "seek", "bgm", {{"to", "1500"}}},
      {"status bgm mode", "status", "bgm", {{"mode", ""}}},
      {"status bgm Time Format", "status", "bgm", {{"time format", ""}}},
      {"set bgm time format milliseconds", "set", "bgm", {{"time format", "milliseconds"}}},
      {"close all", "close", "all", {}},
  };
  for (const Case& c : cases) {
    MciCommand command;
    ASSERT_EQ(ParseMciCommand(c.text, command), 0u) << c.text;
    EXPECT_EQ(command.verb, c.verb) << c.text;
    EXPECT_EQ(command.device, c.device) << c.text;
    EXPECT_EQ(command.keywords, c.keywords) << c.text;
  }
}

TEST(MciCommand, ReportsWhatIsWrong) {
  struct Case {
    const char* text;
    MCIERROR error;
  } cases[] = {
      {"", MCIERR_MISSING_COMMAND_STRING},
      {"   ", MCIERR_MISSING_COMMAND_STRING},
      {"rewind bgm", MCIERR_UNRECOGNIZED_COMMAND},
      {"\"play\" bgm", MCIERR_UNRECOGNIZED_COMMAND},
      {"play", MCIERR_MISSING_DEVICE_NAME},
      {"play \"\"", MCIERR_MISSING_DEVICE_NAME},
      {"play bgm loudly", MCIERR_UNRECOGNIZED_KEYWORD},
      {"play bgm \"notify\"", MCIERR_UNRECOGNIZED_KEYWORD},
      {"stop bgm from 10", MCIERR_UNRECOGNIZED_KEYWORD},
      {"status bgm time", MCIERR_UNRECOGNIZED_KEYWORD},
      {"play bgm notify notify", MCIERR_DUPLICATE_FLAGS},
      {"play bgm from", MCIERR_MISSING_PARAMETER},
      {"play bgm from ten", MCIERR_BAD_INTEGER},
      {"play bgm to -5", MCIERR_BAD_INTEGER},
      {"play bgm to 99999999999", MCIERR_BAD_INTEGER},
      {"seek bgm to middle", MCIERR_BAD_INTEGER},
      {"seek bgm to", MCIERR_MISSING_PARAMETER},
      {"open bgm.mid alias", MCIERR_MISSING_STRING_ARGUMENT},
      {"set bgm time format", MCIERR_MISSING_STRING_ARGUMENT},
      {"open \"bgm.mid alias bgm", MCIERR_NO_CLOSING_QUOTE},
  };
  for (const Case& c : cases) {
    MciCommand command;
    EXPECT_EQ(ParseMciCommand(c.text, command), c.error) << "\"" << c.text << "\"";
  }
}

TEST(MciCommand, NumbersAreReadBack) {
  MciCommand command;
  ASSERT_EQ(ParseMciCommand("play x from 0 to 4294967295", command), 0u);
  EXPECT_EQ(command.Number("from"), 0u);
  EXPECT_EQ(command.Number("to"), 4294967295u);
  EXPECT_TRUE(command.Has("to"));
  EXPECT_FALSE(command.Has("notify"));
}

}  // namespace
