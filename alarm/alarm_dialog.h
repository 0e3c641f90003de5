// The alarm settings dialog.
#pragma once

#include <windows.h>

// The longest text the dialog stores for a field: "%2d" or "Default".
constexpr int kAlarmFieldSize = 8;

INT_PTR CALLBACK AlarmDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What to store for the text typed into an hour (limit 23) or minute (limit
// 59) box: the number its digits make after any leading blanks, formatted
// "%2d", whatever follows them ("00" and "0分" are 0, "７" is 7); "Default"
// when the text starts with no digits or the number lies outside 0 to limit.
// Full-width digits and spaces count as the ASCII ones do.
void AlarmFieldValue(const char* typed, int limit, char (&stored)[kAlarmFieldSize]);

// The same for the text of a combo box's edit field.
void ReadAlarmField(HWND box, int limit, char (&stored)[kAlarmFieldSize]);
