// Identifiers of the user32 tests' resources, for the script and the tests.
#pragma once

#define ID_ICON 107
#define ID_MAIN 109
#define ID_NAME_DIALOG 140
#define ID_CENTRED_DIALOG 142
#define ID_PROMPT 1006
#define ID_NAME 1002
#define ID_NOTE 1003
#define ID_ICON_STATIC 1010
#define ID_LABEL 1011
#define ID_FIELD 1012
#define ID_SPIN 1013
#define CMD_ABOUT 104
#define CMD_EXIT 105
#define CMD_WINDOW 32787
#define CMD_FULL 32788
#define CMD_NOT_IN_MENU 40000
