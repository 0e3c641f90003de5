// Shared set-up of the unit tests: a fresh working directory (so that
// "./mascot.ini" is the test's own), the window classes, a clean state.
#pragma once

#include <string>

// Zeroes the program state, resets the stand-in clock and sound log, and
// deletes the settings file of the test's working directory.
void ResetProgram();

// Writes text to ./mascot.ini as it stands (bytes, no conversion).
void WriteSettingsFile(const std::string& text);

// The bytes of ./mascot.ini, or an empty string when it does not exist.
std::string ReadSettingsFile();

// Hex dump "83 41 ..." of a byte string.
std::string Hex(const std::string& bytes);

// Dispatches whatever is queued for this thread; returns true when it met
// WM_QUIT.
bool PumpMessages();

// The free room in this process's GDI and USER handle tables (Wine has no
// working GetGuiResources): objects are made until the system refuses, then
// deleted again. Exact, so a single handle lost between two counts shows.
int FreeGdiHandles();

// The major version of the Wine the tests run under; 0 on Windows. Wine 10
// itself loses a GDI handle now and then when a shaped window changes size
// (a window of a few lines, its region set and its size changed in turn,
// shows it; Wine 8 loses none), so the handle counts across a change of her
// size hold only before it.
int WineMajorVersion();
int FreeUserHandles();
