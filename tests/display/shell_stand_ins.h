// The shell's globals, which the program defines in app/, for programs that test the
// full-screen switch on a window of their own. Each such program defines `displayModes`
// itself, to place it among its own global objects; SetClientSize comes from app/.
#pragma once

#include "app/shell_globals.h"
#include "display/display_mode_list.h"
