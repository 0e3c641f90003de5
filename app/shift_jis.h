// The program's texts are Shift-JIS bytes (code page 932). Where the system
// reads a text in its own code page (the "A" calls), a system whose code
// page is another one would garble them: Windows 10 with the "Unicode UTF-8"
// option of its region settings (code page 65001), or a Windows set up for
// another language. There they are handed over as Unicode instead,
// converted from code page 932, which every Windows has.
#pragma once

#include <windows.h>

#include <string>

// True when the process's code page is 932: the "A" calls then read the
// program's texts as they are.
bool SystemCodePageIsShiftJis();

std::wstring WideFromShiftJis(const char* text);
// Characters that Shift-JIS lacks become "?".
std::string ShiftJisFromWide(const wchar_t* text);

// A message box with the texts converted, as MessageBoxA shows them on a
// Japanese system; her clock runs on while it is open.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);
