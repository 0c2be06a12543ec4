// Identifiers of the program's resources and commands. Included by the resource script
// and by the program, so it holds nothing but #define lines.
#ifndef PORONGO_RESOURCE_H
#define PORONGO_RESOURCE_H

// The main menu, the accelerator table and the window class name share this id.
#define RES_MAIN 109

// Strings.
#define STR_TITLE 103

// Dialogs.
#define DLG_ABOUT 103
#define DLG_NAME_ENTRY 140
#define DLG_RANKING_SIZE 141

// Icons and bitmaps.
#define ICON_LARGE 107
// winuser.h also names the WM_SETICON size ICON_SMALL (0); in this program the name
// belongs to the small icon resource.
#ifdef ICON_SMALL
#undef ICON_SMALL
#endif
#define ICON_SMALL 108
#define BMP_SPRITES 130
#define BMP_BACKGROUND 131

// Menu and accelerator commands.
#define CMD_ABOUT 104
#define CMD_EXIT 105
#define CMD_WINDOW_MODE 32787
#define CMD_FULLSCREEN_MODE 32788
#define CMD_RESET_RANKING 32789

// Controls of the ranking dialogs.
#define IDC_NAME_EDIT 1002
#define IDC_PROMPT 1006
#define IDC_RANKING_SPIN 1008
#define IDC_RANKING_VALUE 1009

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
