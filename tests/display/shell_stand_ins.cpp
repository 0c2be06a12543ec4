#include "shell_stand_ins.h"

int isFullScreen = 0;
HMENU mainMenu = NULL;
RECT savedWindowRect;
