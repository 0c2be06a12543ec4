// The program's global objects and the shell's globals.
#include "app/shell_globals.h"
#include "display/display_mode_list.h"
#include "game/game.h"

// Both global objects live in this one file so that they are constructed in this order
// before WinMain runs, and destroyed in the reverse order after it returns: the desktop's
// display mode comes back before the Game releases its drawing resources.
Game game;
DisplayModeList displayModes;

HINSTANCE appInstance = NULL;
CHAR windowTitle[100];
CHAR windowClassName[100];
HMENU mainMenu = NULL;
int isFullScreen = 0;
RECT savedWindowRect;
