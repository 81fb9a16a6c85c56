// Identifiers of the runner's resources: dialogs, controls, icons, bitmaps,
// menus. Strings come from core/res/strings.def by number.
#pragma once

// Dialogs.
#define IDD_MAIN            101
#define IDD_END_PAGE        102
#define IDD_POT_POURRI      104
#define IDD_OPEN_ANSWER     106
#define IDD_HOME            107
#define IDD_MULTIPLE_CHOICE 108
#define IDD_HANGMAN         113
#define IDD_SCRAMBLED       114
#define IDD_HELP            115
#define IDD_IMAGE_PREVIEW   116
#define IDD_ABOUT           117
#define IDD_PALETTE         118
#define IDD_CORRECTION      119
#define IDD_WELCOME         446
#define IDD_TRUE_FALSE      1057

// Icons and bitmaps.
#define IDI_PROGRAM         102
#define IDI_CLOCK           108
#define IDI_SOUND_ON        109
#define IDI_SOUND_OFF       110
#define IDI_TRIES           122
#define IDI_HINT            123
#define IDI_PALETTE         124
#define IDI_WRONG           125
#define IDB_LOGO            111
#define IDB_SEPARATOR       112
#define IDB_PLAY            114
#define IDB_STOP            115

// Menu of the theme list.
#define IDM_THEMES          127
#define IDM_SELECT_ALL      40001
#define IDM_SELECT_NONE     40002
#define IDM_INVERT          40003

// Main window (dialog 101).
#define IDC_ABOUT           1000
#define IDC_QUIT            1001
#define IDC_NEXT            1002
#define IDC_TITLE           1004
#define IDC_SHOW_HELP       1014
#define IDC_CLOCK           1018
#define IDC_SOUND           1019
#define IDC_PALETTE         1021
#define IDC_BANNER          1041
#define IDC_LOGO            1044
#define IDC_CONVERTER       5123
#define IDC_COUNTDOWN       6137
