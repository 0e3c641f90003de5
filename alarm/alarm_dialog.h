// The alarm settings dialog.
#pragma once

#include <windows.h>

// The longest text the dialog stores for a field: "%2d" or "Default".
constexpr int kAlarmFieldSize = 8;

INT_PTR CALLBACK AlarmDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What to store for the text typed into an hour (limit 23) or minute (limit
// 59) box: the number formatted "%2d", or "Default" when the text holds no
// number from 0 to limit. Zero counts only when written as a single "0".
void AlarmFieldValue(const char* typed, int limit, char (&stored)[kAlarmFieldSize]);

// The same for the text of a combo box's edit field.
void ReadAlarmField(HWND box, int limit, char (&stored)[kAlarmFieldSize]);
