// The three system services whose effects tests must control or observe: the
// wall clock, the millisecond counter and the waveform player. The program
// links platform_win.cpp; the unit tests link a recording stand-in instead.
#pragma once

#include <windows.h>

void PlatformLocalTime(SYSTEMTIME* now);
DWORD PlatformMilliseconds();
BOOL PlatformPlaySound(LPCSTR sound, HMODULE module, DWORD flags);

// Limits the process's later library loads to the system directory and binds
// the multimedia library from there. The program calls it first thing; the
// services above bind on first use if it has not run.
void BindSystemLibraries();
