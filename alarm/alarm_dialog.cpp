#include "alarm/alarm_dialog.h"

INT_PTR CALLBACK AlarmDlgProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
