// The three profile calls for a system whose code page is not Shift-JIS:
// the same reads and writes of the settings file, with the Shift-JIS bytes of
// the key names kept as they are (settings/ini_bytes.h). A file that begins
// with a Unicode byte-order mark is left to the profile calls' Unicode
// forms, which read it in its own encoding whatever the code page.
#pragma once

#include <windows.h>

// The same reads and writes as the profile calls, of the settings file.
int ByteProfileInt(const char* file, const char* section, const char* key, int def);
// As GetPrivateProfileStringA: the value cut to size - 1 bytes, or def.
void ByteProfileText(const char* file, const char* section, const char* key, const char* def,
                     char* buffer, int size);
bool ByteProfileWrite(const char* file, const char* section, const char* key, const char* value);
