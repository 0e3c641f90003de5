#include "settings/byte_profile.h"

#include <cstring>
#include <string>

#include "app/shift_jis.h"
#include "settings/ini_bytes.h"
#include "settings/settings.h" // kSettingTextSize

namespace {

// A settings file is a few hundred bytes; past this it is no settings file
// of ours, and it is neither read nor rewritten.
constexpr LONGLONG kLargestFile = 64LL << 20;

enum class FileState { Missing, Read, Unreadable };

FileState ReadWholeFile(const char* name, std::string* text) {
    HANDLE file = CreateFileA(name, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? FileState::Missing : FileState::Unreadable;
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestFile;
    if (read) {
        text->assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        read = text->empty() ||
               (ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &got, nullptr) &&
                got == text->size());
    }
    CloseHandle(file);
    return read ? FileState::Read : FileState::Unreadable;
}

// Written in place, so that the file keeps what else it has: its attributes,
// its permissions, its links.
bool WriteWholeFile(const char* name, const std::string& text) {
    HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool done = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                                nullptr) &&
                      written == text.size() && SetEndOfFile(file);
    CloseHandle(file);
    return done;
}

// The value as the profile calls would give it, or false when it is missing
// (or the file cannot be read, which reads as missing).
bool FindText(const char* name, const char* section, const char* key, std::string* value) {
    std::string text;
    if (ReadWholeFile(name, &text) != FileState::Read)
        return false;
    if (!ini::HasByteOrderMark(text))
        return ini::FindValue(text, section, key, value);
    wchar_t wide[kSettingTextSize];
    const wchar_t kMissing[] = L"\x1"; // no value read from a file can be this
    GetPrivateProfileStringW(WideFromShiftJis(section).c_str(), WideFromShiftJis(key).c_str(),
                             kMissing, wide, kSettingTextSize, WideFromShiftJis(name).c_str());
    if (std::wcscmp(wide, kMissing) == 0)
        return false;
    *value = ShiftJisFromWide(wide);
    return true;
}

// Cut to size - 1 bytes, as the profile calls cut a value.
void CopyCut(const std::string& value, char* buffer, int size) {
    const size_t length = value.copy(buffer, static_cast<size_t>(size - 1));
    buffer[length] = '\0';
}

} // namespace

int ByteProfileInt(const char* file, const char* section, const char* key, int def) {
    std::string value;
    if (!FindText(file, section, key, &value) || value.empty())
        return def;
    // A blank before the number, which only quotes keep (" 7"), makes no
    // number: what the profile call makes of it is not documented, and the
    // program never writes one.
    const char* p = value.c_str();
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    unsigned number = 0; // wraps as the profile call's does
    for (; *p >= '0' && *p <= '9'; ++p)
        number = number * 10u + static_cast<unsigned>(*p - '0');
    return static_cast<int>(negative ? 0u - number : number);
}

void ByteProfileText(const char* file, const char* section, const char* key, const char* def,
                     char* buffer, int size) {
    std::string value;
    CopyCut(FindText(file, section, key, &value) ? value : std::string(def), buffer, size);
}

bool ByteProfileWrite(const char* file, const char* section, const char* key, const char* value) {
    std::string text;
    const FileState state = ReadWholeFile(file, &text);
    if (state == FileState::Unreadable)
        return false; // a file that cannot be read whole is not written over
    if (state == FileState::Read && ini::HasByteOrderMark(text))
        return WritePrivateProfileStringW(WideFromShiftJis(section).c_str(),
                                          WideFromShiftJis(key).c_str(),
                                          WideFromShiftJis(value).c_str(),
                                          WideFromShiftJis(file).c_str());
    const std::string written = ini::WithValue(text, section, key, value);
    return (state == FileState::Read && written == text) || WriteWholeFile(file, written);
}
