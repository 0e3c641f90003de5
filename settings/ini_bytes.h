// The settings file read and written as bytes, for systems whose code page
// is not Shift-JIS (932): there the profile calls read and write the key
// names in the system's code page, and the Shift-JIS bytes of the keys come
// out garbled, two of them as one key. These do what the profile calls do on
// a Japanese system, with section and key names as opaque bytes.
#pragma once

#include <string>

// The text of the file's lines, each ended by CR, LF or CR LF: sections in
// [brackets], "key=value" lines, blanks around names and values and inside
// the brackets ignored, the first of a repeated section or key counted,
// section names compared without regard to ASCII case, key names byte for
// byte, the bytes read as Shift-JIS characters where that matters.
namespace ini {

// The value of key in section, quotes around it removed, or false when the
// file, the section, the key or its "=" is missing.
bool FindValue(const std::string& text, const char* section, const char* key, std::string* value);

// text with key set to value: the value of an existing key replaced, a new
// key added after the last line of its section, a new section at the end,
// each new line ended as the file's first line is; every other byte kept.
// Leading blanks of the value are not stored.
std::string WithValue(const std::string& text, const char* section, const char* key,
                      const char* value);

// True when text begins with a Unicode byte-order mark: such a file is read
// in its own encoding by the profile calls whatever the code page.
bool HasByteOrderMark(const std::string& text);

} // namespace ini
