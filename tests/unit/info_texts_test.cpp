// The panel's texts as bytes: padding, the 12-hour clock, the alarm line and
// the memory figures beyond four digits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "info/page_texts.h"
#include "support/test_env.h"

namespace {

SYSTEMTIME At(int year, int month, int day, int dayOfWeek, int hour, int minute, int second) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// The text and its reported length, checked against each other.
std::string Text(const PageText& text, int length) {
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(text));
    return std::string(text, static_cast<size_t>(length));
}

} // namespace

TEST(InfoTexts, ClockLinesAtTheEdgeTimes) {
    struct Case {
        SYSTEMTIME time;
        const char* date;
        const char* clock;
    } cases[] = {
        {At(2004, 8, 3, 2, 0, 0, 0), "2004年 8月 3日(火)", "午前 0時 0分 0秒"},
        {At(2004, 12, 25, 6, 13, 0, 0), "2004年12月25日(土)", "午後 1時 0分 0秒"},
        {At(2010, 1, 31, 0, 23, 59, 59), "2010年 1月31日(日)", "午後11時59分59秒"},
    };
    for (const Case& c : cases) {
        PageText text;
        int length = FormatDateLine(c.time, text);
        EXPECT_EQ(Hex(Text(text, length)), Hex(c.date));
        EXPECT_EQ(length, kDateLineBytes);
        length = FormatTimeLine(c.time, text);
        EXPECT_EQ(Hex(Text(text, length)), Hex(c.clock));
        EXPECT_EQ(length, kTimeLineBytes);
    }
    // Drawn at the fixed width: a year's fifth digit is cut off, a shorter
    // text drawn only as far as it goes.
    EXPECT_EQ(BytesToDraw(kDateLineBytes, kDateLineBytes + 1), kDateLineBytes);
    EXPECT_EQ(BytesToDraw(kAlarmLineBytes, 13), 13);
}

TEST(InfoTexts, ImpossibleDayOfWeekKeepsTheDateLineWidth) {
    const char* names[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int d = 0; d < 7; ++d)
        EXPECT_STREQ(DayName(d), names[d]);
    EXPECT_STREQ(DayName(7), "？");
    EXPECT_STREQ(DayName(-1), "？");
    PageText text;
    const int length = FormatDateLine(At(2004, 8, 3, 9, 0, 0, 0), text);
    EXPECT_EQ(Hex(Text(text, length)), Hex("2004年 8月 3日(？)"));
}

TEST(InfoTexts, AlarmLineIsSeventeenBytesSetOrNot) {
    PageText text;
    int length = FormatAlarmLine(true, true, 7, 30, text);
    EXPECT_EQ(Hex(Text(text, length)), Hex("アラーム  7時30分"));
    EXPECT_EQ(length, kAlarmLineBytes);
    length = FormatAlarmLine(true, true, 0, 0, text);
    EXPECT_EQ(Hex(Text(text, length)), Hex("アラーム  0時 0分"));
    length = FormatAlarmLine(false, true, 7, 30, text);
    EXPECT_EQ(Hex(Text(text, length)), Hex("アラーム 設定なし"));
    EXPECT_EQ(length, kAlarmLineBytes);
    // Switched off, a stored time never shows as if it would ring.
    length = FormatAlarmLine(true, false, 7, 30, text);
    EXPECT_EQ(Text(text, length), "アラーム オフ");
    length = FormatAlarmLine(false, false, 7, 30, text);
    EXPECT_EQ(Text(text, length), "アラーム 設定なし");
}

TEST(InfoTexts, PositionLineAndItsFallback) {
    PageText text;
    int length = FormatPositionLine(300, 5, text);
    EXPECT_EQ(Hex(Text(text, length)), Hex("座標 X 300,Y   5"));
    EXPECT_EQ(length, kPositionLineBytes);
    length = FormatUnknownPosition(text);
    EXPECT_EQ(Text(text, length), "座標 X----,Y----");
}

TEST(InfoTexts, MemoryFiguresAreWholeMiBAndNeverCapped) {
    const unsigned long long mib = 1ull << 20;
    PageText text;
    int length = FormatTotalMemoryLine(512 * mib + mib - 1, text);
    EXPECT_EQ(Hex(Text(text, length)), Hex("全物理メモリ 512MB"));
    EXPECT_EQ(length, kMemoryLineBytes);
    // Beyond 4 GB: the real figure, at its own length, "MB" included.
    length = FormatTotalMemoryLine(24105 * mib, text);
    EXPECT_EQ(Text(text, length), "全物理メモリ24105MB");
    EXPECT_EQ(length, 19);
    length = FormatFreeMemoryLine(4096 * mib, text);
    EXPECT_EQ(Text(text, length), "空物理メモリ4096MB");
    length = FormatFreeMemoryLine(1048576ull * 1024 * mib, text);
    EXPECT_EQ(Text(text, length), "空物理メモリ1073741824MB");
}
