#include "settings/settings.h"

#include <windows.h>

#include <cstring>

#include "app/shift_jis.h"
#include "app/state.h"
#include "settings/byte_profile.h"

// The profile calls read the key names in the system's code page: on a
// Japanese system they are the file's Shift-JIS bytes; on any other (the
// "Unicode UTF-8" option among them) they would come out garbled, the hour
// and the minute of the alarm as one key, and the bytes are kept by hand.

int ReadSettingInt(const char* section, const char* key, int def) {
    if (!SystemCodePageIsShiftJis())
        return ByteProfileInt(kSettingsFile, section, key, def);
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, kSettingsFile));
}

// The profile call always leaves a terminated text within the size it is
// given: the value, cut to fit, or the default when the key is missing.
void ReadSettingText(const char* section, const char* key, const char* def,
                     char (&buffer)[kSettingTextSize]) {
    if (!SystemCodePageIsShiftJis())
        ByteProfileText(kSettingsFile, section, key, def, buffer, kSettingTextSize);
    else
        GetPrivateProfileStringA(section, key, def, buffer, kSettingTextSize, kSettingsFile);
}

bool SettingTextIs(const char* section, const char* key, const char* def, const char* literal) {
    char text[kSettingTextSize];
    ReadSettingText(section, key, def, text);
    return std::strcmp(text, literal) == 0;
}

// In a folder that cannot be written (under Program Files, System32, a
// read-only share) every setting, the alarm's time among them, would be lost
// without a word: the first failure is noted, and the user told once.
void WriteSetting(const char* section, const char* key, const char* value) {
    const bool written = SystemCodePageIsShiftJis()
                             ? WritePrivateProfileStringA(section, key, value, kSettingsFile)
                             : ByteProfileWrite(kSettingsFile, section, key, value);
    if (!written && gMascot.settingsUnwritable == 0)
        gMascot.settingsUnwritable = 1;
}

namespace {

struct Seed {
    const char* section;
    const char* key;
    const char* value;
};

// The order here is the order in which a new file receives its keys.
// clang-format off
constexpr Seed kSeeds[] = {
    {kSectionAlarm, kKeyAlarmUse, "0"},
    {kSectionAlarm, kKeyAlarmDaily, "0"},
    {kSectionAlarm, kKeyAlarmHour, "Default"},
    {kSectionAlarm, kKeyAlarmMinute, "Default"},
    {kSectionOption, kKeyOnTop, "1"},
    {kSectionOption, kKeyInfoWindow, "1"},
    {kSectionOption, kKeyStartX, "Default"},
    {kSectionOption, kKeyStartY, "Default"},
};
// clang-format on

} // namespace

void SeedSettings() {
    // "NOT" stands for a missing key; a key that holds the text NOT is
    // treated as missing too. An empty value is a value and is kept.
    for (const Seed& seed : kSeeds) {
        if (SettingTextIs(seed.section, seed.key, "NOT", "NOT"))
            WriteSetting(seed.section, seed.key, seed.value);
    }
}
