// mciGetErrorStringA: a sentence for each MCI error code, in English.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/win32.h"

namespace {

constexpr std::pair<MCIERROR, const char*> kTexts[] = {
    {0, "The command was carried out."},
    {MCIERR_INVALID_DEVICE_ID, "The device identifier does not name an open device."},
    {MCIERR_UNRECOGNIZED_KEYWORD, "The command contains a word this device does not understand."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The command is not one that MCI knows."},
    {MCIERR_HARDWARE, "The sound hardware could not be used."},
    {MCIERR_INVALID_DEVICE_NAME, "No open device goes by this name, or MCI does not know this device type."},
    {MCIERR_OUT_OF_MEMORY, "There is not enough memory for this command."},
    {MCIERR_DEVICE_OPEN, "This device is already open under this name; give it another name with alias."},
    {MCIERR_CANNOT_LOAD_DRIVER, "The driver of this device could not be loaded."},
    {MCIERR_MISSING_COMMAND_STRING, "No command was given."},
    {MCIERR_PARAM_OVERFLOW, "The answer does not fit in the buffer that was given for it."},
    {MCIERR_MISSING_STRING_ARGUMENT, "A keyword of the command is missing its text argument."},
    {MCIERR_BAD_INTEGER, "A number in the command is not a valid whole number."},
    {MCIERR_PARSER_INTERNAL, "The command parser failed unexpectedly."},
    {MCIERR_DRIVER_INTERNAL, "The device driver failed unexpectedly."},
    {MCIERR_MISSING_PARAMETER, "The command needs a parameter that was not given."},
    {MCIERR_UNSUPPORTED_FUNCTION, "This device cannot carry out the command."},
    {MCIERR_FILE_NOT_FOUND, "The file could not be found."},
    {MCIERR_DEVICE_NOT_READY, "The device is not ready."},
    {MCIERR_INTERNAL, "MCI failed unexpectedly while starting the device."},
    {MCIERR_DRIVER, "The device driver reported an error."},
    {MCIERR_CANNOT_USE_ALL, "This command cannot be sent to all devices at once."},
    {MCIERR_MULTIPLE, "Errors occurred on more than one device."},
    {MCIERR_EXTENSION_NOT_FOUND, "The device type cannot be told from this file name's extension."},
    {MCIERR_OUTOFRANGE, "The position is beyond the length of the media."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "Keywords of the command cannot be used together."},
    {MCIERR_FILE_NOT_SAVED, "The file was not saved."},
    {MCIERR_DEVICE_TYPE_REQUIRED, "The device type must be given."},
    {MCIERR_DEVICE_LOCKED, "The device is closing; try again shortly."},
    {MCIERR_DUPLICATE_ALIAS, "Another open device already uses this alias."},
    {MCIERR_BAD_CONSTANT, "A keyword of the command has an argument it does not accept."},
    {MCIERR_MUST_USE_SHAREABLE, "The device is in use; open it as shareable."},
    {MCIERR_MISSING_DEVICE_NAME, "The command does not name a device."},
    {MCIERR_BAD_TIME_FORMAT, "This device does not know that time format."},
    {MCIERR_NO_CLOSING_QUOTE, "A quoted text in the command has no closing quote."},
    {MCIERR_DUPLICATE_FLAGS, "A keyword appears more than once in the command."},
    {MCIERR_INVALID_FILE, "The file cannot be played on this device: it is damaged or of the wrong kind."},
    {MCIERR_NULL_PARAMETER_BLOCK, "The command was given without its parameters."},
    {MCIERR_UNNAMED_RESOURCE, "A file that has no name cannot be saved."},
    {MCIERR_NEW_REQUIRES_ALIAS, "A new device must be given an alias."},
    {MCIERR_NOTIFY_ON_AUTO_OPEN, "Notification cannot be asked for from a device opened automatically."},
    {MCIERR_NO_ELEMENT_ALLOWED, "This device does not take a file name."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "The command cannot be carried out in the device's present state."},
    {MCIERR_ILLEGAL_FOR_AUTO_OPEN, "This command cannot be sent to a device opened automatically."},
    {MCIERR_FILENAME_REQUIRED, "The command needs a file name."},
    {MCIERR_EXTRA_CHARACTERS, "The command has text after a quoted argument."},
    {MCIERR_DEVICE_NOT_INSTALLED, "This device is not installed."},
    {MCIERR_GET_CD, "The folder of the file could not be found."},
    {MCIERR_SET_CD, "The folder of the file could not be entered."},
    {MCIERR_SET_DRIVE, "The drive of the file could not be entered."},
    {MCIERR_DEVICE_LENGTH, "The device or driver name is too long."},
    {MCIERR_DEVICE_ORD_LENGTH, "The device or driver name is too long."},
    {MCIERR_NO_INTEGER, "The command needs a whole number."},
    {MCIERR_WAVE_OUTPUTSINUSE, "Every wave output device is in use."},
    {MCIERR_WAVE_OUTPUTSUNSUITABLE, "No wave output device can play this format."},
    {MCIERR_SEQ_DIV_INCOMPATIBLE, "The time format does not suit this MIDI file."},
    {MCIERR_SEQ_PORT_INUSE, "The MIDI output is in use."},
    {MCIERR_SEQ_PORT_NONEXISTENT, "The MIDI output is not installed."},
    {MCIERR_SEQ_NOMIDIPRESENT, "There is no MIDI output: no General MIDI sound font is installed."},
    {MCIERR_NO_WINDOW, "There is no window to show this on."},
    {MCIERR_CREATEWINDOW, "A window could not be created."},
    {MCIERR_FILE_READ, "The file could not be read."},
    {MCIERR_FILE_WRITE, "The file could not be written."},
};

}  // namespace

BOOL WINAPI mciGetErrorStringA(MCIERROR mcierr, LPSTR pszText, UINT cchText) {
  if (!pszText || cchText == 0) return FALSE;
  const auto* entry =
      std::find_if(std::begin(kTexts), std::end(kTexts), [mcierr](const auto& text) { return text.first == mcierr; });
  if (entry == std::end(kTexts)) {
    pszText[0] = '\0';
    return FALSE;
  }
  // A text longer than the buffer is cut to fit, as Windows does.
  const std::size_t length = std::min<std::size_t>(std::strlen(entry->second), cchText - 1);
  std::memcpy(pszText, entry->second, length);
  pszText[length] = '\0';
  return TRUE;
}
