// The settings file through the platform's profile calls: seeding, the value
// forms the readers accept, and the Shift-JIS key bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shift_jis.h"
#include "settings/byte_profile.h"
#include "settings/ini_bytes.h"
#include "settings/settings.h"
#include "support/test_env.h"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgram(); }

    static std::string Text(const char* section, const char* key, const char* def) {
        char text[kSettingTextSize];
        ReadSettingText(section, key, def, text);
        return text;
    }
};

} // namespace

TEST_F(SettingsTest, SeedingFillsOnlyMissingKeysAndKeysHoldingNot) {
    WriteSettingsFile("[ALARM]\r\n"
                      "アラーム使用=NOT\r\n"
                      "毎日アラーム=\r\n"
                      "設定時刻時=not\r\n"
                      "[OPTION]\r\n"
                      "手前に表示=0\r\n"
                      "アラーム種類=User\r\n"
                      "[USER]\r\n"
                      "memo=keep me\r\n");
    SeedSettings();
    EXPECT_EQ(Text(kSectionAlarm, kKeyAlarmUse, "?"), "0");
    EXPECT_EQ(Text(kSectionAlarm, kKeyAlarmDaily, "?"), "");   // empty is a value
    EXPECT_EQ(Text(kSectionAlarm, kKeyAlarmHour, "?"), "not"); // only exactly NOT
    EXPECT_EQ(Text(kSectionAlarm, kKeyAlarmMinute, "?"), "Default");
    EXPECT_EQ(Text(kSectionOption, kKeyOnTop, "?"), "0");
    EXPECT_EQ(Text(kSectionOption, kKeyInfoWindow, "?"), "1");
    EXPECT_EQ(Text(kSectionOption, kKeyStartX, "?"), "Default");
    EXPECT_EQ(Text(kSectionOption, kKeyStartY, "?"), "Default");
    EXPECT_EQ(Text(kSectionOption, kKeyAlarmSound, "?"), "User");
    EXPECT_EQ(Text("USER", "memo", "?"), "keep me");
}

TEST_F(SettingsTest, SeedingACompleteFileChangesNoByte) {
    const std::string file = "; the user's own notes\r\n"
                             "[ALARM]\r\n"
                             "アラーム使用=1\r\n"
                             "毎日アラーム=0\r\n"
                             "設定時刻時= 7\r\n"
                             "設定時刻分=30\r\n"
                             "[OPTION]\r\n"
                             "初期位置Ｙ座標=Top\r\n"
                             "初期位置Ｘ座標=Right\r\n"
                             "情報ウィンドウ=0\r\n"
                             "手前に表示=1\r\n";
    WriteSettingsFile(file);
    SeedSettings();
    EXPECT_EQ(Hex(ReadSettingsFile()), Hex(file));
}

TEST_F(SettingsTest, KeyBytesAreOpaqueShiftJis) {
    // 表 ends in 5C, the backslash; full-width Ｘ is 82 77.
    WriteSetting(kSectionOption, kKeyOnTop, "0");
    WriteSetting(kSectionOption, kKeyStartX, "Right");
    EXPECT_EQ(Hex(ReadSettingsFile()), Hex("[OPTION]\r\n"
                                           "\x8E\xE8\x91\x4F\x82\xC9\x95\x5C\x8E\xA6=0\r\n"
                                           "\x8F\x89\x8A\xFA\x88\xCA\x92\x75\x82\x77\x8D\xC0"
                                           "\x95\x57=Right\r\n"));
    EXPECT_EQ(ReadSettingInt(kSectionOption, kKeyOnTop, 1), 0);
    // The half-width X is another key.
    EXPECT_EQ(Text(kSectionOption, "初期位置X座標", "missing"), "missing");
}

TEST_F(SettingsTest, IntegerReadsTakeTheLeadingNumberOrTheDefault) {
    WriteSettingsFile("[ALARM]\r\n"
                      "設定時刻時=Default\r\n"
                      "設定時刻分= 7\r\n"
                      "アラーム使用=12abc\r\n"
                      "毎日アラーム=\r\n");
    EXPECT_EQ(ReadSettingInt(kSectionAlarm, kKeyAlarmHour, 24), 0);
    EXPECT_EQ(ReadSettingInt(kSectionAlarm, kKeyAlarmMinute, 24), 7);
    EXPECT_EQ(ReadSettingInt(kSectionAlarm, kKeyAlarmUse, 0), 12);
    EXPECT_EQ(ReadSettingInt(kSectionOption, kKeyOnTop, 1), 1); // missing key
    EXPECT_EQ(ReadSettingInt("NOSECTION", kKeyOnTop, 24), 24);
    // An hour below 10 is handed over with a leading space (whether the file
    // keeps it is the profile functions' affair) and reads back the same.
    WriteSetting(kSectionAlarm, kKeyAlarmHour, " 7");
    EXPECT_EQ(ReadSettingInt(kSectionAlarm, kKeyAlarmHour, 24), 7);
}

TEST_F(SettingsTest, TextReadsAreCutToNinetyNineBytesAndComparedExactly) {
    const std::string longValue(150, 'a');
    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=" + longValue + "\r\n情報ウィンドウ=0\r\n");
    EXPECT_EQ(Text(kSectionOption, kKeyStartX, "Default"), longValue.substr(0, 99));
    EXPECT_TRUE(SettingTextIs(kSectionOption, kKeyInfoWindow, "1", "0"));
    EXPECT_FALSE(SettingTextIs(kSectionOption, kKeyInfoWindow, "1", "1"));
    EXPECT_TRUE(SettingTextIs(kSectionOption, kKeyOnTop, "1", "1")); // the default
    EXPECT_FALSE(SettingTextIs(kSectionOption, kKeyStartX, "Default", "Default"));
}

TEST_F(SettingsTest, ReadingAMissingFileGivesDefaultsAndCreatesNothing) {
    EXPECT_EQ(ReadSettingInt(kSectionAlarm, kKeyAlarmUse, 0), 0);
    EXPECT_EQ(Text(kSectionOption, kKeyAlarmSound, "0"), "0");
    EXPECT_EQ(GetFileAttributesA("mascot.ini"), INVALID_FILE_ATTRIBUTES);
}

// Where the system's code page is not 932 the file is read and written by
// hand (settings/ini_bytes.h): a new file must come out as the profile calls
// make it, and the user's bytes must stay as they are.
TEST_F(SettingsTest, FileKeptByHandAsTheProfileCallsKeepIt) {
    SeedSettings();
    WriteSetting(kSectionAlarm, kKeyAlarmHour, " 7");
    WriteSetting(kSectionOption, kKeyOnTop, "0");
    std::string byHand;
    for (const auto& write : std::vector<std::vector<const char*>>{
             {kSectionAlarm, kKeyAlarmUse, "0"},      {kSectionAlarm, kKeyAlarmDaily, "0"},
             {kSectionAlarm, kKeyAlarmHour, "Default"}, {kSectionAlarm, kKeyAlarmMinute, "Default"},
             {kSectionOption, kKeyOnTop, "1"},        {kSectionOption, kKeyInfoWindow, "1"},
             {kSectionOption, kKeyStartX, "Default"}, {kSectionOption, kKeyStartY, "Default"},
             {kSectionAlarm, kKeyAlarmHour, " 7"},    {kSectionOption, kKeyOnTop, "0"}})
        byHand = ini::WithValue(byHand, write[0], write[1], write[2]);
    EXPECT_EQ(Hex(byHand), Hex(ReadSettingsFile()));
    std::string value;
    EXPECT_TRUE(ini::FindValue(byHand, "alarm", kKeyAlarmHour, &value)); // any ASCII case
    EXPECT_EQ(value, "7");
    EXPECT_TRUE(ini::FindValue(byHand, kSectionAlarm, kKeyAlarmMinute, &value));
    EXPECT_EQ(value, "Default"); // the hour and the minute are two keys

    // The user's file: a note, blanks and tabs, quotes, a line without "=",
    // one that only starts like a section, a blank line, a section of the
    // same length, a second section of the same name, no line end at the end.
    const std::string head = "; メモ\r\n[ALARM]\r\n 設定時刻分\t= ";
    const std::string middle = " \r\n[not a section\r\nアラーム使用";
    const std::string tail = "\r\n\r\n  \t手前に表示 = 2\r\n";
    const std::string others = "[ALERT]\r\n毎日アラーム=3\r\n[USER]\r\n名前=たまりん\r\n空=\"\"\r\n"
                               "片=\"\r\n引用='x'\r\n数=1221\r\n[ALARM]\r\n毎日アラーム=1";
    const std::string file = head + "\"30\"" + middle + tail + others;
    const auto found = [&file](const char* section, const char* key) {
        std::string text;
        return ini::FindValue(file, section, key, &text) ? text : "(missing)";
    };
    EXPECT_EQ(found(kSectionAlarm, kKeyAlarmMinute), "30");
    EXPECT_EQ(found(kSectionAlarm, kKeyOnTop), "2");
    EXPECT_EQ(found(kSectionAlarm, kKeyAlarmUse), "(missing)");   // no "="
    EXPECT_EQ(found(kSectionAlarm, kKeyAlarmDaily), "(missing)"); // first section only
    EXPECT_EQ(found("USER", "空") + found("USER", "片") + found("USER", "引用") + found("USER", "数"),
              "\"x1221");
    EXPECT_EQ(ini::WithValue(file, kSectionAlarm, kKeyAlarmMinute, "45"),
              head + "45" + middle + tail + others);
    EXPECT_EQ(ini::WithValue(file, kSectionAlarm, kKeyAlarmUse, "1"),
              head + "\"30\"" + middle + "=1" + tail + others);
    EXPECT_EQ(ini::WithValue(file, kSectionAlarm, kKeyAlarmHour, "7"),
              head + "\"30\"" + middle + tail + "設定時刻時=7\r\n" + others);
    EXPECT_EQ(ini::WithValue(file, "USER", "色", "青"),
              head + "\"30\"" + middle + tail + others.substr(0, others.size() - 23) + "色=青\r\n" +
                  others.substr(others.size() - 23));
    EXPECT_EQ(ini::WithValue(file, kSectionOption, kKeyOnTop, "1"),
              file + "\r\n[OPTION]\r\n手前に表示=1\r\n");
    EXPECT_EQ(ini::WithValue("[OPTION]\r\n手前に表示=1", kSectionOption, kKeyInfoWindow, "0"),
              "[OPTION]\r\n手前に表示=1\r\n情報ウィンドウ=0\r\n");
    EXPECT_EQ(ini::WithValue("[OPTION]\r\n[USER]\r\n", kSectionOption, kKeyOnTop, "1"),
              "[OPTION]\r\n手前に表示=1\r\n[USER]\r\n");
    // Section names are told apart letter by letter, whatever their ASCII case.
    EXPECT_TRUE(ini::FindValue("[ALERT]\r\n設定時刻分=1\r\n[alarm]\r\n設定時刻分=2\r\n",
                               kSectionAlarm, kKeyAlarmMinute, &value));
    EXPECT_EQ(value, "2");
    EXPECT_TRUE(ini::FindValue("[zone]\r\nk=3", "ZONE", "k", &value));
    EXPECT_EQ(value, "3");
    EXPECT_TRUE(ini::FindValue("[OPTION]\r\n\r\n手前に表示=0", kSectionOption, kKeyOnTop, &value));
    EXPECT_EQ(value, "0");
    // A blank line before an indented key without "=" at the end of the file.
    EXPECT_EQ(ini::WithValue("[OPTION]\r\n\r\n 手前に表示", kSectionOption, kKeyOnTop, "1"),
              "[OPTION]\r\n\r\n 手前に表示=1");
    // Lines ended by CR or LF alone, blanks inside the brackets, a "]" byte
    // that ends a character (望 96 5D, ‐ 81 5D, 歉 9F 5D, 濔 E0 5D): read as the
    // profile calls read them; a line added ends as the file's lines end.
    for (const auto& row : std::vector<std::pair<std::string, std::string>>{
             {"[ALARM]\r設定時刻時=7\r", "[ALARM]\r設定時刻時=7\r設定時刻分=30\r"},
             {"[USER]\rx=1\r\r[ALARM]\r設定時刻時=7",
              "[USER]\rx=1\r\r[ALARM]\r設定時刻時=7\r設定時刻分=30\r"},
             {"[ALARM]\n設定時刻時=7\n", "[ALARM]\n設定時刻時=7\n設定時刻分=30\n"},
             {"[ ALARM\t]\r\n設定時刻時=7\r\n", "[ ALARM\t]\r\n設定時刻時=7\r\n設定時刻分=30\r\n"},
             {"[ALARM] ;希望‐\r\n設定時刻時=7\r\n[転]\r\n",
              "[ALARM] ;希望‐\r\n設定時刻時=7\r\n設定時刻分=30\r\n[転]\r\n"},
             {"[ALARM]濔歉\r\n設定時刻時=7\r\n", "[ALARM]濔歉\r\n設定時刻時=7\r\n設定時刻分=30\r\n"}}) {
        SCOPED_TRACE(Hex(row.first));
        WriteSettingsFile(row.first);
        const bool hour = ini::FindValue(row.first, kSectionAlarm, kKeyAlarmHour, &value);
        EXPECT_EQ((hour ? value : "") + Text(kSectionAlarm, kKeyAlarmHour, "?"), "77");
        WriteSettingsFile(ini::WithValue(row.first, kSectionAlarm, kKeyAlarmMinute, "30"));
        EXPECT_EQ(Hex(ReadSettingsFile()), Hex(row.second));
        EXPECT_EQ(Text(kSectionAlarm, kKeyAlarmHour, "?") +
                      Text(kSectionAlarm, kKeyAlarmMinute, "?"),
                  "730");
    }
    EXPECT_FALSE(ini::HasByteOrderMark(file));
    EXPECT_TRUE(ini::HasByteOrderMark("\xEF\xBB\xBF[ALARM]"));
    EXPECT_TRUE(ini::HasByteOrderMark(std::string("\xFF\xFE[\0", 4)));
    EXPECT_TRUE(ini::HasByteOrderMark(std::string("\xFE\xFF\0[", 4)));
}

// The same by hand through the file itself, as a system of another code
// page uses it: the reads and their defaults, the cut, a file that cannot be
// written, and a Unicode file, which the profile calls' Unicode forms keep.
TEST_F(SettingsTest, ByteProfileReadsAndWritesTheFileAsTheProfileCallsDo) {
    char text[kSettingTextSize];
    ByteProfileText(kSettingsFile, kSectionAlarm, kKeyAlarmHour, "Default", text, kSettingTextSize);
    EXPECT_STREQ(text, "Default");
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionAlarm, kKeyAlarmHour, 24), 24);
    EXPECT_EQ(GetFileAttributesA("mascot.ini"), INVALID_FILE_ATTRIBUTES);
    for (const char* value : {"0", "Default", "Default"})
        EXPECT_TRUE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmMinute, value));
    EXPECT_TRUE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmHour, " 7"));
    EXPECT_EQ(ReadSettingsFile(), "[ALARM]\r\n設定時刻分=Default\r\n設定時刻時=7\r\n");
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionAlarm, kKeyAlarmHour, 24), 7);
    EXPECT_TRUE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmHour, "19"));
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionAlarm, kKeyAlarmHour, 24), 19);
    EXPECT_TRUE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmMinute, "5")); // shorter
    EXPECT_EQ(ReadSettingsFile(), "[ALARM]\r\n設定時刻分=5\r\n設定時刻時=19\r\n");

    // A file that another program holds open against writing is left as it
    // is, and only a change counts as a write.
    HANDLE held = CreateFileA("mascot.ini", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_TRUE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmHour, "19"));
    EXPECT_FALSE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmHour, "20"));
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionAlarm, kKeyAlarmHour, 24), 19);
    CloseHandle(held);
    // One that cannot be read but could be written over is not written over.
    held = CreateFileA("mascot.ini", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_FALSE(ByteProfileWrite(kSettingsFile, kSectionAlarm, kKeyAlarmHour, "20"));
    CloseHandle(held);
    EXPECT_EQ(ReadSettingsFile(), "[ALARM]\r\n設定時刻分=5\r\n設定時刻時=19\r\n");
    // A write that fails on a full disk says so (Wine's drive Z: shows the
    // machine's files, its /dev/full among them).
    if (GetFileAttributesA("Z:\\dev\\full") != INVALID_FILE_ATTRIBUTES) {
        EXPECT_FALSE(ByteProfileWrite("Z:\\dev\\full", kSectionAlarm, kKeyAlarmHour, "20"));
    }

    WriteSettingsFile("[OPTION]\r\n初期位置Ｘ座標=-30px\r\n初期位置Ｙ座標=+12\r\n手前に表示=\r\n"
                      "情報ウィンドウ=x\r\nアラーム種類=" +
                      std::string(98, 'a') + "ア\r\n");
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyStartX, 0), -30);
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyStartY, 0), 12);
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyOnTop, 1), 1); // empty: the default
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyInfoWindow, 1), 0);
    ByteProfileText(kSettingsFile, kSectionOption, kKeyAlarmSound, "0", text, kSettingTextSize);
    EXPECT_EQ(std::string(text), std::string(98, 'a') + "\x83"); // 99 bytes, as the profile calls cut

    // Past some tens of megabytes it is no settings file: neither read nor
    // written over.
    ResetProgram();
    HANDLE huge = CreateFileA("mascot.ini", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = 65LL << 20;
    SetFilePointerEx(huge, size, nullptr, FILE_BEGIN);
    SetEndOfFile(huge);
    CloseHandle(huge);
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyOnTop, 1), 1);
    EXPECT_FALSE(ByteProfileWrite(kSettingsFile, kSectionOption, kKeyOnTop, "0"));
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA("mascot.ini", GetFileExInfoStandard, &attributes);
    EXPECT_EQ(attributes.nFileSizeLow, static_cast<DWORD>(65u << 20));

    ResetProgram();
    ASSERT_TRUE(CreateDirectoryA("mascot.ini", nullptr));
    EXPECT_FALSE(ByteProfileWrite(kSettingsFile, kSectionOption, kKeyOnTop, "0"));
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyOnTop, 1), 1);
    RemoveDirectoryA("mascot.ini");

    EXPECT_EQ(ShiftJisFromWide(WideFromShiftJis("アラーム 設定なし").c_str()), "アラーム 設定なし");
    EXPECT_EQ(WideFromShiftJis("\x82\x77"), L"\xFF38"); // full-width X
    EXPECT_EQ(ShiftJisFromWide(L"\xD55C"), "?"); // Shift-JIS has no hangul
    const std::wstring unicodeFile = L"\xFEFF" + WideFromShiftJis("[OPTION]\r\n手前に表示=0\r\n");
    WriteSettingsFile(std::string(reinterpret_cast<const char*>(unicodeFile.data()),
                                  unicodeFile.size() * sizeof(wchar_t)));
    EXPECT_EQ(ByteProfileInt(kSettingsFile, kSectionOption, kKeyOnTop, 1), 0);
    ByteProfileText(kSettingsFile, kSectionOption, kKeyStartX, "Default", text, kSettingTextSize);
    EXPECT_STREQ(text, "Default");
    EXPECT_TRUE(ByteProfileWrite(kSettingsFile, kSectionOption, kKeyInfoWindow, "0"));
    ByteProfileText(kSettingsFile, kSectionOption, kKeyInfoWindow, "1", text, kSettingTextSize);
    EXPECT_STREQ(text, "0");
    EXPECT_EQ(ReadSettingsFile().compare(0, 2, "\xFF\xFE"), 0); // still Unicode
}
