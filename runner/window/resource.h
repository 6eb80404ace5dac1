// Resource and control ids of Lorvan, shared by the resource script and the
// code.
#pragma once

// Resources
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_RUNNER_DIALOG 102
#define IDR_MAINMENU 128
#define IDD_COMBOITEMS 142
#define IDI_LORVAN 128
#define IDD_HELPWINDOW 150
#define IDD_NUMBER 152
#define IDD_EMULATOR 154
#define IDR_HELPTEXT 151

// Window menu command
#define IDM_ABOUTBOX 0x0010

// Main window controls
#define IDC_PROGRAM 1002
#define IDC_FILES 1004
#define IDC_COMMAND 1005
#define IDC_OUTPUT 1006
#define IDC_REPORT 1007
#define IDC_HANDLING 1008
#define IDC_PROGRESS 1009
#define IDC_TEMPEXT 1010
#define IDC_TRANSLATE 1011
#define IDC_STATUS 1013
#define IDC_FILECOUNT 1015
#define IDC_SYMBOLS 1017
#define IDC_RENAME 1018
#define IDC_CWD 1020
#define IDC_CHANGE 1021
#define IDC_TEST 1022
#define IDC_FULLPATH 1023

// History editing dialog controls
#define IDC_REMOVE 1025
#define IDC_ITEMLIST 1026

// Number dialog controls (Commands at once, Time limit per command)
#define IDC_NUMBER 1027
#define IDC_NUMBER_SPIN 1028
#define IDC_NUMBER_HINT 1029
#define IDC_NUMBER_LABEL 1032

// DOS emulator dialog controls: the choices in the order of the stored values
#define IDC_EMULATOR_NONE 1040
#define IDC_EMULATOR_MSDOS 1041
#define IDC_EMULATOR_DOSBOXX 1042
#define IDC_EMULATOR_DOSBOX 1043
#define IDC_EMULATOR_PATH_LABEL 1044
#define IDC_EMULATOR_PATH 1045
#define IDC_EMULATOR_BROWSE 1046
#define IDC_EMULATOR_CHECK 1047
#define IDC_EMULATOR_ABOUT 1048

// Help window controls
#define IDC_HELP_TOPICS 1030
#define IDC_HELP_TEXT 1031

// Menu commands (Run and Exit are IDOK and IDCANCEL)
#define ID_OPTIONS_HANDLING 32778
#define ID_OPTIONS_PROGRAM 32779
#define ID_OPTIONS_FILES 32780
#define ID_OPTIONS_COMMAND 32781
#define ID_HELP_CONTENTS 32784
#define ID_OPTIONS_TRANSLATE 32785
#define ID_HELP_ABOUT 1019
#define ID_OPTIONS_ATONCE 32786
// Options > Stand-in names: Off, When needed, Always, in the order of the stored values
#define ID_STANDINS_OFF 32790
#define ID_STANDINS_WHEN_NEEDED 32791
#define ID_STANDINS_ALWAYS 32792
#define ID_OPTIONS_TIMELIMIT 32794
#define ID_OPTIONS_SHOWOUTPUT 32795
#define ID_OPTIONS_EMULATOR 32796
// A double-click on the CWD field, sent by the program class
#define ID_BROWSE_FROM_ROOT 32793

// Context help numbers: this base plus the control id.
#define HIDC_BASE 0x80660000
