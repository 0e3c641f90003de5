// The mascot window procedure and its handlers.
#pragma once

#include <windows.h>
#include <shellapi.h>

constexpr UINT kTrayMessage = WM_USER; // notification-icon callback
// Posted once when the settings file cannot be written.
constexpr UINT kSettingsUnwritableMessage = WM_APP;

LRESULT CALLBACK MascotWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Called on every tick: offers the notification icon again while a busy
// shell has not taken it.
void RetryTrayIcon();

// The icon's record in its Unicode form (the first form, as the record is),
// the tip converted from Shift-JIS: what the shell is handed.
NOTIFYICONDATAW WideTrayData(const NOTIFYICONDATAA& tray);

// Makes the panel and then the mascot topmost (after = HWND_TOPMOST) or not
// (HWND_NOTOPMOST); their places and sizes stay.
void SetBothTopmost(HWND window, HWND after);

// Destroys the panel and then the mascot window, which ends the program.
void ExitProgram(HWND window);

// Handlers of the user's commands and mouse (mascot_commands.cpp).
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
void OnLeftButton(HWND window, LPARAM lParam);
void OnRightButton(HWND window, LPARAM lParam);
void OnTrayNotify(HWND window, LPARAM lParam);
void ShowPopupMenu(HWND window);
