// The platform's main(): the program enters through WinMain, as on Windows. This file holds
// main() alone, so that a program with a main() of its own (a test) never pulls it in.
#include <string>

#include "platform/common/codepage.h"
#include "platform/user32/shutdown.h"
#include "platform/win32.h"

namespace {

// WinMain's command line: the arguments after the program's name, in code page 932, an
// argument with blanks (or none at all) in double quotes.
std::string CommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string converted = win32::cp932::FromUtf8(arg).value_or(arg);
    if (!line.empty()) line += ' ';
    if (converted.empty() || converted.find_first_of(" \t") != std::string::npos) {
      line += '"' + converted + '"';
    } else {
      line += converted;
    }
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::string commandLine = CommandLine(argc, argv);
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
  win32::user32::ShutDownQt();
  return result;
}
