// Resource and control identifiers shared by the resource script and the code.
#ifndef MURALTO_RESOURCE_H
#define MURALTO_RESOURCE_H

#define IDB_MONITOR 101
#define IDB_BANNER 102
#define IDB_MONITOR_2X 106 // the same art at twice the size, for high-DPI screens
#define IDB_BANNER_2X 107
#define IDI_TRAY 101    // 32 x 32, the notification-area icon
#define IDI_PROGRAM 102 // 48 x 48, shown in the main window

#define IDD_MAIN 103
#define IDD_ABOUT 104
#define IDD_ADD_PROGRESS 105

// Main window controls.
#define IDC_ABOUT 1000
#define IDC_WEB_PAGE 1001
#define IDC_HIDE 1002
#define IDC_LIST 1003
#define IDC_MODE 1004
#define IDC_ADD 1005
#define IDC_DELETE 1006
#define IDC_DELETE_ALL 1007
#define IDC_TIME 1008
#define IDC_QUIT 1009
#define IDC_RANDOM 1010
#define IDC_START_CHANGE 1012
#define IDC_LANGUAGE 1013
#define IDC_COUNTER 1015
#define IDC_LANGUAGE_LABEL 1016
#define IDC_PREVIEW_FRAME 1017
#define IDC_ADDRESS 1018 // set by the texts but not in the window
#define IDC_TIME_LABEL 1019
#define IDC_SECONDS_LABEL 1020
#define IDC_MODE_LABEL 1021
#define IDC_LIST_FRAME 1022
#define IDC_APPLY_ALL 1024
#define IDC_BANNER 1025 // also in the About box
#define IDC_MONITOR 1026
#define IDC_MOMENT_LABEL 1027
#define IDC_MOMENT 1028      // the picture's moment of the day (MomentKind)
#define IDC_MOMENT_FROM 1029 // its hours, "HH:MM", from...
#define IDC_MOMENT_TO 1030   // ...to

// The notification icon's menu, whose commands come to the main window.
#define IDM_NEXT_WALLPAPER 1100
#define IDM_PAUSE 1101
#define IDM_SHOW 1102
#define IDM_QUIT 1103
#define IDM_PREVIOUS_WALLPAPER 1104
#define IDM_PAUSE_FULL_SCREEN 1105
#define IDM_PAUSE_BATTERY_SAVER 1106
#define IDM_START_WITH_WINDOWS 1107
#define IDM_NEXT_ON_MONITOR 1120 // with two or more monitors
#define IDM_MATCH_SHAPES 1121
#define IDM_NEXT_ON_POINTED_MONITOR 1122 // its hotkey: the monitor under the pointer now

// About box.
#define IDC_ABOUT_OK 1000

// Add-progress dialog.
#define IDC_ADD_CANCEL 1000
#define IDC_ADD_NAME 1015
#define IDC_ADD_LABEL 1016 // "Wallpaper: ", or the folder's label while a drop is read
#define IDC_ADD_FRAME 1017 // the frame, titled with the pictures found while a drop is read
#define IDC_ADD_PROGRESS 1023

#endif
