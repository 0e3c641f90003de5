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
int FreeUserHandles();
