// The alarm settings dialog.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AlarmDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
