// The process's one QApplication, shared by the parts of the platform that need Qt
// (windows and dialogs in user32, glyph rasterisation in gdi32).
#pragma once

#include <string>

class QApplication;

namespace win32::qt {

// Returns the application, creating it on first use. Must be called on the thread that
// runs the message loop. Returns null when no display can be opened, instead of letting
// Qt abort the process; ApplicationError() then says why.
QApplication* Application();

// One line, without a newline, saying why Application() returned null.
const std::string& ApplicationError();

// Destroys the application if it exists. Called once at the end of main().
void ShutdownApplication();

}  // namespace win32::qt
