// Ringing and its end, driven the way the program drives it: a panel redraw
// with a controlled clock, the alarm time read back from the settings file.
#include <gtest/gtest.h>

#include <string>

#include "alarm/alarm_check.h"
#include "app/state.h"
#include "info/info_pages.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

class AlarmCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        gMascot.flags.alarmEnabled = 1;
        gMascot.flags.breezeLength = kNoBreeze;
        gMascot.state = Reading;
        gMascot.resumeState = Reading;
    }
    static void Store(const char* hour, const char* minute, const char* extra = "") {
        WriteSettingsFile(std::string("[ALARM]\r\nアラーム使用=1\r\n設定時刻時=") + hour +
                          "\r\n設定時刻分=" + minute + "\r\n" + extra);
    }
    static void RedrawAt(int hour, int minute, int second = 0) {
        fake::SetClock(hour, minute, second);
        RedrawInfo();
    }
    static bool Stored(const char* hour, const char* minute) {
        const std::string file = ReadSettingsFile();
        return file.find(std::string("設定時刻時=") + hour + "\r\n") != std::string::npos &&
               file.find(std::string("設定時刻分=") + minute + "\r\n") != std::string::npos;
    }
    static bool LastSoundIsStop() {
        return !fake::sounds.empty() && fake::sounds.back().flags == 0;
    }
};

} // namespace

TEST_F(AlarmCheckTest, OneTimeAlarmRingsForItsMinuteThenForgetsItsTime) {
    Store(" 7", "30");
    RedrawAt(7, 29, 59);
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
    EXPECT_TRUE(fake::sounds.empty());
    RedrawAt(7, 30, 0);
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    ASSERT_EQ(fake::sounds.size(), 1u);
    EXPECT_EQ(fake::sounds[0].resourceId, 121);
    EXPECT_EQ(fake::sounds[0].flags, 0x4000Fu);
    EXPECT_EQ(gMascot.state, LookingAround);
    EXPECT_EQ(Cursor(LookingAround), 1u);
    RedrawAt(7, 30, 59); // no second start within the minute
    EXPECT_EQ(fake::sounds.size(), 1u);
    Cursor(LookingAround) = 5;
    Cursor(Reading) = 6;
    RedrawAt(7, 31, 0);
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
    EXPECT_TRUE(LastSoundIsStop());
    EXPECT_TRUE(Stored("Default", "Default"));
    EXPECT_NE(ReadSettingsFile().find("アラーム使用=1\r\n"), std::string::npos);
    EXPECT_EQ(gMascot.state, Reading);
    EXPECT_EQ(Cursor(Reading), 6u); // the end of the minute does not prime Reading
    RedrawAt(7, 31, 1);
    EXPECT_FALSE(alarmTimeSet);
}

TEST_F(AlarmCheckTest, DailyAlarmKeepsItsTimeAndRingsAgainNextDay) {
    for (int daily : {1, -2}) { // a stored 2 is neither on nor off, yet keeps the time
        Store(" 7", "30");
        gMascot.flags.alarmDaily = daily;
        RedrawAt(7, 30);
        RedrawAt(7, 31);
        EXPECT_TRUE(Stored(" 7", "30"));
        EXPECT_EQ(gMascot.flags.alarmRinging, 0);
        fake::localTime.wDay += 1;
        fake::localTime.wDayOfWeek = (fake::localTime.wDayOfWeek + 1) % 7;
        RedrawAt(7, 30);
        EXPECT_EQ(gMascot.flags.alarmRinging, 1) << daily;
        RedrawAt(7, 31);
    }
}

TEST_F(AlarmCheckTest, SilencedDailyAlarmStaysQuietWhenStartedAgainInItsMinute) {
    for (void (*silence)() : {SilenceAlarmByClick, FinishRingingAtExit}) {
        for (int daily : {0, 1}) { // a one-time alarm forgets its time instead
            Store(" 7", "30");
            gMascot.flags.alarmDaily = daily;
            RedrawAt(7, 30);
            silence();
            const std::string::size_type note =
                ReadSettingsFile().find("止めた日時=2004/08/03 07:30\r\n");
            EXPECT_EQ(note != std::string::npos, daily == 1);
        }
        gMascot.flags.alarmRinging = gMascot.flags.alarmSilenced = 0; // started again
        RedrawAt(7, 30, 59);
        EXPECT_EQ(gMascot.flags.alarmRinging, 0);
        RedrawAt(7, 31);
        fake::localTime.wDay = 4; // the next day
        RedrawAt(7, 30);
        EXPECT_EQ(gMascot.flags.alarmRinging, 1);
        RedrawAt(7, 31);
        fake::localTime.wDay = 3;
    }
}

TEST_F(AlarmCheckTest, NeverRingsWithoutARealTimeOrUnlessSwitchedExactlyOn) {
    // "Default" reads as the number 0, yet it must not ring at midnight.
    const char* unset[][2] = {
        {"Default", "Default"}, {" 0", "Default"}, {"Default", " 0"}, {"24", " 0"}, {" 0", "60"}};
    for (auto& time : unset) {
        Store(time[0], time[1]);
        RedrawAt(0, 0);
        EXPECT_EQ(gMascot.flags.alarmRinging, 0) << time[0] << "," << time[1];
    }
    DeleteFileA("mascot.ini");
    RedrawAt(0, 0);
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
    // A missing minute reads as the number 24, yet leaves the time unset.
    WriteSettingsFile("[ALARM]\r\nアラーム使用=1\r\n設定時刻時= 0\r\n");
    RedrawAt(0, 24);
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
    for (int field : {0, -1, -2}) { // off, and stored 3 or 2
        Store(" 0", " 0");
        gMascot.flags.alarmEnabled = field;
        RedrawAt(0, 0);
        EXPECT_EQ(gMascot.flags.alarmRinging, 0) << field;
    }
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(AlarmCheckTest, SoundFollowsTheExactTextOfTheSoundKey) {
    struct Case {
        const char* option;
        int resource;
        const char* file;
    } cases[] = {{"", 121, ""},
                 {"[OPTION]\r\nアラーム種類=0\r\n", 121, ""},
                 {"[OPTION]\r\nアラーム種類=1\r\n", 120, ""},
                 {"[OPTION]\r\nアラーム種類=User\r\n", 0, "alarm.wav"},
                 {"[OPTION]\r\nアラーム種類=user\r\n", 121, ""},
                 {"[OPTION]\r\nアラーム種類=2\r\n", 121, ""}};
    for (const Case& c : cases) {
        Store(" 7", "30", c.option);
        gMascot.flags.alarmRinging = 0;
        fake::sounds.clear();
        RedrawAt(7, 30);
        ASSERT_EQ(fake::sounds.size(), 1u) << c.option;
        const SoundCall& s = fake::sounds[0];
        EXPECT_EQ(s.isResource ? s.resourceId : 0, c.resource) << c.option;
        EXPECT_EQ(s.name, c.file) << c.option;
        EXPECT_EQ(s.flags, *c.file ? 0x2000Bu : 0x4000Fu) << c.option;
        EXPECT_EQ(s.module, *c.file ? nullptr : gMascot.instance) << c.option;
    }
}

TEST_F(AlarmCheckTest, AlarmDuringABreezeReturnsToTheBreeze) {
    Store(" 7", "30");
    gMascot.state = ReadingBreeze;
    gMascot.resumeState = Reading;
    gMascot.flags.breezeOn = 1;
    gMascot.breezeTicks = 17;
    RedrawAt(7, 30);
    EXPECT_EQ(gMascot.state, LookingAround);
    EXPECT_EQ(gMascot.resumeState, ReadingBreeze);
    EXPECT_EQ(gMascot.breezeTicks, 0);
    gMascot.breezeTicks = 4;
    RedrawAt(7, 31);
    EXPECT_EQ(gMascot.state, ReadingBreeze);
    EXPECT_EQ(gMascot.breezeTicks, 0); // so the breeze and its sound start over
}

TEST_F(AlarmCheckTest, EndOfMinutePrimesDozingLookingAroundAndDozingBreeze) {
    for (UINT s : {Dozing, LookingAround, DozingBreeze, Fanning, Moving}) {
        Store(" 7", "30");
        gMascot.state = s;
        RedrawAt(7, 30);
        EXPECT_EQ(gMascot.resumeState, static_cast<int>(s));
        Cursor(s) = 7;
        RedrawAt(7, 31);
        EXPECT_EQ(gMascot.state, s);
        const UINT primed = s == Dozing || s == DozingBreeze ? 2 : s == LookingAround ? 1 : 7;
        EXPECT_EQ(Cursor(s), primed) << s;
    }
}

TEST_F(AlarmCheckTest, LockedAnimationOnlySoundsAndBlinks) {
    Store(" 7", "30");
    gMascot.flags.animLock = 1;
    gMascot.state = Fanning;
    gMascot.resumeState = Dozing;
    gMascot.breezeTicks = 3;
    RedrawAt(7, 30);
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    EXPECT_EQ(fake::sounds.size(), 1u);
    EXPECT_EQ(gMascot.state, Fanning);
    EXPECT_EQ(gMascot.resumeState, Dozing);
    EXPECT_EQ(gMascot.breezeTicks, 3);
    RedrawAt(7, 31);
    EXPECT_TRUE(LastSoundIsStop());
    EXPECT_EQ(gMascot.state, Fanning);
    EXPECT_EQ(gMascot.breezeTicks, 3);
}

TEST_F(AlarmCheckTest, ChangingTheTimeWhileRingingEndsItAndKeepsTheNewTime) {
    // One minute later, across the hour: a new alarm, not the one that rang.
    Store(" 0", "59");
    RedrawAt(0, 59);
    Store(" 1", " 0");
    RedrawAt(0, 59, 30);
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
    EXPECT_TRUE(LastSoundIsStop());
    EXPECT_TRUE(Stored(" 1", " 0"));
    RedrawAt(1, 0);
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    RedrawAt(1, 1);
    // A time stored meanwhile that the clock shows now (the dialog was open
    // as the minute turned) rings on, has rung, and is forgotten in its turn.
    Store(" 7", "30");
    RedrawAt(7, 30);
    Store(" 7", "31");
    RedrawAt(7, 31);
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);
    RedrawAt(7, 32);
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
    EXPECT_TRUE(Stored("Default", "Default"));
    // A time cleared or made invalid under it ends the one-time alarm as ever.
    for (const char* hour : {"Default", "25"}) {
        Store(" 7", "30");
        RedrawAt(7, 30);
        Store(hour, "30");
        RedrawAt(7, 30, 30);
        EXPECT_EQ(gMascot.flags.alarmRinging, 0) << hour;
        EXPECT_TRUE(Stored("Default", "Default")) << hour;
    }
}
