// Resource and control identifiers, shared by the resource script and code.
#pragma once

#define IDR_MENU 100
#define IDI_PROGRAM 101
#define IDD_ALARM 110
#define IDW_BREEZE 120
#define IDW_ALARM 121
#define IDI_TRAY 121
#define IDB_FRAME_FIRST 130
#define IDB_PANEL 159

#define IDM_EXIT 102
#define IDM_MOVE 103
#define IDM_ON_TOP 104
#define IDM_ALARM 105
#define IDM_INFO 106
#define IDM_NEXT_PAGE 40008
#define IDM_READING 40009
#define IDM_FANNING 40010
#define IDM_DOZING 40011
#define IDM_LOOKING_AROUND 40012
#define IDM_MOVING 40013
#define IDM_BREEZE 40015
#define IDM_LOCK 40016

#define IDC_ALARM_DAILY 1006
#define IDC_ALARM_USE 1007
#define IDC_ALARM_MINUTE 1022
#define IDC_ALARM_HOUR 1023
