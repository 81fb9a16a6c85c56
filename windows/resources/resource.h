// Identifiers of the runner's resources: dialogs, controls, icons, bitmaps,
// menus. Strings come from core/res/strings.def by number.
//
// Controls of different dialogs share numbers (every question page has its
// prompt at 1012, for instance); each dialog's controls carry its own prefix.
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

// Menu of the theme list (its one sub-menu, "Popup", is item 0).
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
#define IDC_SEPARATOR       1099  // the line under the title band
#define IDC_CONVERTER       5123
#define IDC_COUNTDOWN       6137

// Home page (dialog 107).
#define IDC_HOME_NAME_LABEL     1020
#define IDC_HOME_NAME           1005
#define IDC_HOME_MORE_OPTIONS   1009
#define IDC_HOME_THEMES_LABEL   1021
#define IDC_HOME_THEMES         777
#define IDC_HOME_TYPE_LABEL     1022
#define IDC_HOME_TYPE           1007
#define IDC_HOME_TIME_LIMIT_ON  1010
#define IDC_HOME_TIME_LIMIT     1026
#define IDC_HOME_COUNT_LABEL    1016
#define IDC_HOME_COUNT          1025
#define IDC_HOME_ORDER_LABEL    1017
#define IDC_HOME_RANDOM_ORDER   1011
#define IDC_HOME_FIXED_ORDER    1012
#define IDC_HOME_INVERT         1013
#define IDC_HOME_TRAINING       1027

// Welcome page (dialog 446).
#define IDC_WELCOME_TEXT        1019

// End page (dialog 102).
#define IDC_END_TEXT            9741
#define IDC_END_DETAILS         1020
#define IDC_END_HOME            1021
#define IDC_END_RESTART         1022

// Help (dialog 115); it closes with IDOK ("&Fermer").
#define IDC_HELP_TEXT           1014

// About box (dialog 117); it closes with IDOK ("&Fermer").
#define IDC_ABOUT_NAME          1044
#define IDC_ABOUT_AUTHOR        1045
#define IDC_ABOUT_COMMENT       1046
#define IDC_ABOUT_NOTICE        1047
#define IDC_ABOUT_CREATOR       1048
#define IDC_ABOUT_LINK          1050
#define IDC_ABOUT_VISIT         333

// Every question page: the theme's prompt, the question text and the
// question's picture.
#define IDC_PROMPT              1012
#define IDC_QUESTION            1013
#define IDC_QUESTION_IMAGE      1028

// Open answer (dialog 106).
#define IDC_OPEN_PLAY           1026
#define IDC_OPEN_STOP           1027
#define IDC_OPEN_ANSWER         1011

// Multiple choice (dialog 108): three proposals, each a text, a tick, a
// picture and play/stop buttons.
#define IDC_CHOICE_PLAY         1029
#define IDC_CHOICE_STOP         1030
#define IDC_CHOICE_TEXT_1       1016
#define IDC_CHOICE_TEXT_2       1017
#define IDC_CHOICE_TEXT_3       1018
#define IDC_CHOICE_TICK_1       1010
#define IDC_CHOICE_TICK_2       1037
#define IDC_CHOICE_TICK_3       1038
#define IDC_CHOICE_IMAGE_1      1039
#define IDC_CHOICE_IMAGE_2      1040
#define IDC_CHOICE_IMAGE_3      1041
#define IDC_CHOICE_PLAY_1       1032
#define IDC_CHOICE_STOP_1       1031
#define IDC_CHOICE_PLAY_2       1034
#define IDC_CHOICE_STOP_2       1033
#define IDC_CHOICE_PLAY_3       1036
#define IDC_CHOICE_STOP_3       1035

// True/false (dialog 1057).
#define IDC_TF_PLAY             1029
#define IDC_TF_STOP             1030
#define IDC_TF_ANSWER           1011
#define IDC_TF_ANSWER_IMAGE     1033
#define IDC_TF_ANSWER_PLAY      1031
#define IDC_TF_ANSWER_STOP      1032
#define IDC_TF_TRUE             1014
#define IDC_TF_FALSE            1015

// Pot-pourri (dialog 104).
#define IDC_POT_PLAY            1029
#define IDC_POT_STOP            1030
#define IDC_POT_ANSWERS         1007

// Hangman (dialog 113).
#define IDC_HANGMAN_PLAY        1026
#define IDC_HANGMAN_STOP        1027
#define IDC_HANGMAN_MASK        1056
#define IDC_HANGMAN_LETTER      1069
#define IDC_HANGMAN_TEST        1068
#define IDC_HANGMAN_TRIES_TEXT  1055
#define IDC_HANGMAN_TRIES_BAR   1054
#define IDC_HANGMAN_TRIES_ICON  1071
#define IDC_HANGMAN_HELP        1014

// Scrambled letters (dialog 114).
#define IDC_SCRAMBLE_PLAY       1026
#define IDC_SCRAMBLE_STOP       1027
#define IDC_SCRAMBLE_LETTERS    1059
#define IDC_SCRAMBLE_ANSWER     1011
#define IDC_SCRAMBLE_HELP       1014

// Image preview (dialog 116).
#define IDC_PREVIEW_PICTURE     1043

// Special-characters palette (dialog 118); IDOK inserts ("&Insérer"),
// IDCANCEL closes ("&Annuler", then "&Fermer").
#define IDC_PALETTE_CATEGORY    1012
#define IDC_PALETTE_CHARACTERS  777

// Correction (dialog 119); IDOK continues ("&Continuer"). Three answer rows
// and the comment, each a text, a picture and play/stop buttons.
#define IDC_CORRECTION_HEADING  1015
#define IDC_CORRECTION_MESSAGE  1019
#define IDC_CORRECTION_TEXT_1   1063
#define IDC_CORRECTION_TEXT_2   1062
#define IDC_CORRECTION_TEXT_3   45785
#define IDC_CORRECTION_IMAGE_1  1039
#define IDC_CORRECTION_IMAGE_2  1040
#define IDC_CORRECTION_IMAGE_3  1041
#define IDC_CORRECTION_PLAY_1   1032
#define IDC_CORRECTION_STOP_1   1031
#define IDC_CORRECTION_PLAY_2   1034
#define IDC_CORRECTION_STOP_2   1033
#define IDC_CORRECTION_PLAY_3   1036
#define IDC_CORRECTION_STOP_3   1035
#define IDC_CORRECTION_COMMENT_BOX   1060
#define IDC_CORRECTION_COMMENT       1061
#define IDC_CORRECTION_COMMENT_IMAGE 1066
#define IDC_CORRECTION_COMMENT_PLAY  1065
#define IDC_CORRECTION_COMMENT_STOP  1064
