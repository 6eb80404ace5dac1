// Resource and control ids of Kastrelo, shared by the resource script and
// the code.
#pragma once

// Resources
#define IDS_ABOUTBOX 101
#define IDD_MOVER_DIALOG 102
#define IDI_KASTRELO 130
#define IDD_MOVER_HELP 144
#define IDB_FOLDERS16 148
#define IDB_FOLDERS20 149
#define IDB_FOLDERS24 150
#define IDB_FOLDERS32 151

// System menu command
#define IDM_ABOUTBOX 0x0010

// Main window controls
#define IDC_RIGHT_LIST 1002
#define IDC_LEFT_LIST 1003
#define IDC_HELP_BUTTON 1005
#define IDC_CWD 1020
#define IDC_CHANGE 1021

// Help dialog controls
#define IDC_HELP_TAB 1005
#define IDC_PURPOSE_TEXT 1006
#define IDC_NORMAL_BITMAP 1007
#define IDC_PAIR_BITMAP 1008
#define IDC_RESTRICTED_BITMAP 1009
#define IDC_SYMBOLS_TEXT 1010
#define IDC_ABOUT_TEXT 1011
#define IDC_ABOUT_ICON 1012
