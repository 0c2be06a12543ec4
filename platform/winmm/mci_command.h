// The MCI command-string language: "verb device [keyword [argument]]...".
//
// Keywords are case-insensitive; a device or file name may be quoted to hold spaces.
// Each verb has its own table of keywords and of the arguments they take, and the parser
// answers with the error code that Windows gives for a string that does not fit.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/winmm/winmm.h"

namespace win32::winmm {

struct MciCommand {
  std::string verb;    // in lower case
  std::string device;  // as written, without quotes
  bool device_quoted = false;
  // Keyword (in lower case, words separated by one space) to its argument; "" for flags.
  std::map<std::string, std::string, std::less<>> keywords;

  bool Has(std::string_view keyword) const { return keywords.contains(keyword); }
  // The argument of a keyword that is given, or "".
  std::string Argument(std::string_view keyword) const;
  // The argument of an integer keyword that is given (the parser has checked it).
  DWORD Number(std::string_view keyword) const;
};

// Fills `command` and returns 0, or returns the MCIERR_ code for what is wrong.
MCIERROR ParseMciCommand(std::string_view text, MciCommand& command);

// Letters A-Z in lower case, every other byte as it is (keywords are ASCII).
std::string LowerAscii(std::string_view text);

}  // namespace win32::winmm
