// The settings file "./mascot.ini": its sections, its keys and thin wrappers
// over the three profile calls, so that call sites read like the table of keys.
// Key names are Shift-JIS bytes (the compiler emits CP932) and are matched
// byte for byte by the profile functions.
#pragma once

constexpr const char* kSettingsFile = "./mascot.ini";

constexpr const char* kSectionAlarm = "ALARM";
constexpr const char* kSectionOption = "OPTION";

constexpr const char* kKeyAlarmUse = "アラーム使用";
constexpr const char* kKeyAlarmDaily = "毎日アラーム";
constexpr const char* kKeyAlarmHour = "設定時刻時";
constexpr const char* kKeyAlarmMinute = "設定時刻分";
constexpr const char* kKeyOnTop = "手前に表示";
constexpr const char* kKeyInfoWindow = "情報ウィンドウ";
constexpr const char* kKeyStartX = "初期位置Ｘ座標";
constexpr const char* kKeyStartY = "初期位置Ｙ座標";
constexpr const char* kKeyAlarmSound = "アラーム種類";
// The minute ("2004/08/03 07:30") in which a daily alarm was last silenced;
// written only then, never seeded.
constexpr const char* kKeyAlarmSilenced = "止めた日時";

constexpr int kSettingTextSize = 100;

// The decimal number the value begins with, 0 when it begins with none, and
// def when the key is missing.
int ReadSettingInt(const char* section, const char* key, int def);

// The value (cut to 99 bytes), or def when the key is missing.
void ReadSettingText(const char* section, const char* key, const char* def,
                     char (&buffer)[kSettingTextSize]);

// True when the key's text equals literal exactly (case-sensitive).
bool SettingTextIs(const char* section, const char* key, const char* def, const char* literal);

// Notes in gMascot.settingsUnwritable when the write fails.
void WriteSetting(const char* section, const char* key, const char* value);

// Writes the seed of every missing key, in the file's canonical order.
void SeedSettings();
