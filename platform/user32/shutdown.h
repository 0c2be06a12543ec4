// The end of the platform's Qt side, at the end of main().
#pragma once

namespace win32::user32 {

// Deletes every window's widgets and every Qt object the platform keeps, then the Qt
// application itself. Windows stay valid handles without widgets: the program's global
// objects still call the platform from their destructors after main() has returned.
void ShutDownQt();

}  // namespace win32::user32
