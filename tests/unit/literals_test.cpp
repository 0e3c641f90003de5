// The settings file's key names must be the exact Shift-JIS bytes that files
// written by earlier runs (and by hand, in Notepad) contain.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/settings.h"
#include "support/test_env.h"

TEST(Literals, SettingsKeysAreShiftJisBytes) {
    EXPECT_EQ(Hex(kKeyAlarmUse), "83 41 83 89 81 5B 83 80 8E 67 97 70");
    EXPECT_EQ(Hex(kKeyAlarmDaily), "96 88 93 FA 83 41 83 89 81 5B 83 80");
    EXPECT_EQ(Hex(kKeyAlarmHour), "90 DD 92 E8 8E 9E 8D 8F 8E 9E");
    EXPECT_EQ(Hex(kKeyAlarmMinute), "90 DD 92 E8 8E 9E 8D 8F 95 AA");
    EXPECT_EQ(Hex(kKeyInfoWindow), "8F EE 95 F1 83 45 83 42 83 93 83 68 83 45");
    EXPECT_EQ(Hex(kKeyAlarmSound), "83 41 83 89 81 5B 83 80 8E ED 97 DE");
}

TEST(Literals, FullWidthLettersOfThePositionKeys) {
    // The X and Y are full-width letters (82 77, 82 78), not ASCII.
    EXPECT_EQ(Hex(kKeyStartX), "8F 89 8A FA 88 CA 92 75 82 77 8D C0 95 57");
    EXPECT_EQ(Hex(kKeyStartY), "8F 89 8A FA 88 CA 92 75 82 78 8D C0 95 57");
}

TEST(Literals, BackslashTrailByteStaysAPlainByte) {
    // The trail byte of 表 is 0x5C, the ASCII backslash: no escape processing.
    EXPECT_EQ(Hex(kKeyOnTop), "8E E8 91 4F 82 C9 95 5C 8E A6");
    EXPECT_EQ(std::strlen(kKeyOnTop), 10u);
    EXPECT_EQ(Hex("表示"), "95 5C 8E A6");
}

TEST(Literals, PanelAndTrayTexts) {
    // The notification tip is 18 bytes and its terminating zero.
    EXPECT_EQ(std::strlen("マスコットメニュー"), 18u);
    EXPECT_EQ(Hex("ＭＳ ゴシック"), "82 6C 82 72 20 83 53 83 56 83 62 83 4E");
}
