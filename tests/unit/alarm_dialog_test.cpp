// The alarm dialog run modally from its real template, driven from a timer
// inside its own message loop; and the rule that turns a typed field into
// the stored value.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "alarm/alarm_check.h"
#include "alarm/alarm_dialog.h"
#include "app/platform.h"
#include "app/state.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

namespace {

std::function<void(HWND)> gDrive;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "アラームの設定");
    if (dialog == nullptr || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    gDrive(dialog);
}

// Opens the dialog, lets drive look at it and work it, and returns its result.
INT_PTR RunDialog(std::function<void(HWND)> drive) {
    gDrive = std::move(drive);
    SetTimer(nullptr, 0, 20, DriveDialog);
    return DialogBoxParamA(gMascot.instance, MAKEINTRESOURCEA(IDD_ALARM), nullptr, AlarmDlgProc, 0);
}

std::string FieldText(HWND dialog, int box) {
    char text[100] = {};
    GetDlgItemTextA(dialog, box, text, sizeof text);
    return text;
}

bool Checked(HWND dialog, int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED; }

void Press(HWND dialog, int button) { SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0); }

// Types keys into the edit field of a combo box over all of its text, as a
// user who tabs into the field and types does.
void Type(HWND dialog, int box, const char* keys) {
    HWND field = FindWindowExA(GetDlgItem(dialog, box), nullptr, "Edit", nullptr);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    for (const char* key = keys; *key != '\0'; ++key)
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(*key), 1);
}

// The four alarm keys as read back. (Wine's profile writer drops the leading
// space of " 7"; every reader sees the same number either way.)
std::string Stored() {
    std::string all;
    for (const char* key : {kKeyAlarmUse, kKeyAlarmDaily, kKeyAlarmHour, kKeyAlarmMinute}) {
        char value[kSettingTextSize];
        ReadSettingText(kSectionAlarm, key, "-", value);
        all += all.empty() ? value : std::string(",") + value;
    }
    return all;
}

class AlarmDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgram();
        fake::SetClock(7, 5);
    }
};

} // namespace

TEST(AlarmField, TypedTextBecomesAnHourMinuteOrDefault) {
    char stored[kAlarmFieldSize];
    // Any way of writing zero is zero, and full-width digits and spaces (as
    // typed with the input method on) count as the ASCII ones.
    const char* hours[][2] = {{"0", " 0"},    {" 0", " 0"},    {"00", " 0"},  {"0分", " 0"},
                              {"0 ", " 0"},   {"-0", " 0"},    {"7", " 7"},   {"007", " 7"},
                              {"5am", " 5"},  {"+5", " 5"},    {"23", "23"},  {"\t\r 9", " 9"},
                              {"０", " 0"},   {"７", " 7"},    {"　７", " 7"}, {"１９", "19"},
                              {"２３時", "23"}, {"00000000000000000000007", " 7"}};
    for (auto& c : hours) {
        AlarmFieldValue(c[0], 23, stored);
        EXPECT_STREQ(stored, c[1]) << "'" << c[0] << "'";
    }
    // Runs of digits far beyond any int are out of range, never wrapped:
    // 4294967303 is 2^32 + 7, 18446744073709551623 is 2^64 + 7.
    for (const char* typed : {"", "abc", "時", "24", "２４", "230", "-1", "x5", "4294967303",
                              "99999999999999999999", "18446744073709551623", "-4294967296", "ｰ7", "－7", "Ａ", "\x82"}) {
        AlarmFieldValue(typed, 23, stored);
        EXPECT_STREQ(stored, "Default") << "'" << typed << "'";
    }
    AlarmFieldValue("59", 59, stored);
    EXPECT_STREQ(stored, "59");
    AlarmFieldValue("３０", 59, stored);
    EXPECT_STREQ(stored, "30");
    for (const char* typed : {"60", "６０"}) {
        AlarmFieldValue(typed, 59, stored);
        EXPECT_STREQ(stored, "Default");
    }
}

TEST_F(AlarmDialogTest, OpensWithTheStoredOrCurrentTimeAndTheLowTwoBitsOfTheSwitches) {
    struct Case {
        const char* file;
        const char* hour;
        const char* minute;
        bool use, daily;
        int enabled, dailyField;
    } cases[] = {
        {"", " 7", " 5", false, false, 0, 0},
        {"[ALARM]\r\nアラーム使用=5\r\n毎日アラーム=1\r\n設定時刻時=23\r\n設定時刻分= 0\r\n", "23",
         " 0", true, true, 1, 1},
        {"[ALARM]\r\nアラーム使用=3\r\n毎日アラーム=2\r\n設定時刻時=Default\r\n設定時刻分=59\r\n",
         " 7", "59", false, false, -1, -2},
        {"[ALARM]\r\n設定時刻時=24\r\n設定時刻分=60\r\n", " 7", " 5", false, false, 0, 0},
        {"[ALARM]\r\n設定時刻時=-3\r\n設定時刻分=-1\r\n", " 7", " 5", false, false, 0, 0},
    };
    for (const Case& c : cases) {
        ResetProgram();
        fake::SetClock(7, 5);
        WriteSettingsFile(c.file);
        RunDialog([&](HWND dialog) {
            EXPECT_EQ(FieldText(dialog, IDC_ALARM_HOUR), c.hour);
            EXPECT_EQ(FieldText(dialog, IDC_ALARM_MINUTE), c.minute);
            EXPECT_EQ(Checked(dialog, IDC_ALARM_USE), c.use);
            EXPECT_EQ(Checked(dialog, IDC_ALARM_DAILY), c.daily);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ALARM_HOUR, CB_GETCOUNT, 0, 0), 24);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ALARM_MINUTE, CB_GETCOUNT, 0, 0), 60);
            char entry[8] = {};
            SendDlgItemMessageA(dialog, IDC_ALARM_MINUTE, CB_GETLBTEXT, 9,
                                reinterpret_cast<LPARAM>(entry));
            EXPECT_STREQ(entry, " 9");
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(gMascot.flags.alarmEnabled, c.enabled);
        EXPECT_EQ(gMascot.flags.alarmDaily, c.dailyField);
    }
}

TEST_F(AlarmDialogTest, OkStoresEverythingAndCancelNothing) {
    EXPECT_EQ(RunDialog([](HWND dialog) {
                  Press(dialog, IDC_ALARM_USE);
                  Press(dialog, IDC_ALARM_DAILY);
                  Type(dialog, IDC_ALARM_HOUR, "007"); // wider than the field
                  SetDlgItemTextA(dialog, IDC_ALARM_MINUTE, "30");
                  Press(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(Stored(), "1,1,7,30");
    const std::string stored = ReadSettingsFile();
    EXPECT_EQ(gMascot.flags.alarmEnabled, 1);
    EXPECT_EQ(gMascot.flags.alarmDaily, 1);

    RunDialog([](HWND dialog) {
        Press(dialog, IDC_ALARM_USE);
        SetDlgItemTextA(dialog, IDC_ALARM_HOUR, "");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(ReadSettingsFile(), stored);

    RunDialog([](HWND dialog) {
        Press(dialog, IDC_ALARM_DAILY);
        SetDlgItemTextA(dialog, IDC_ALARM_HOUR, "24");
        Type(dialog, IDC_ALARM_MINUTE, "60"); // typing one field is choosing a time
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), "1,0,Default,Default");
    EXPECT_EQ(gMascot.flags.alarmDaily, 0);

    // Two typed digits are taken, and both stay in sight (the field shows
    // from its first character on).
    RunDialog([](HWND dialog) {
        Type(dialog, IDC_ALARM_HOUR, "23");
        Type(dialog, IDC_ALARM_MINUTE, "59");
        EXPECT_EQ(FieldText(dialog, IDC_ALARM_HOUR), "23");
        for (int box : {IDC_ALARM_HOUR, IDC_ALARM_MINUTE}) {
            HWND field = FindWindowExA(GetDlgItem(dialog, box), nullptr, "Edit", nullptr);
            EXPECT_EQ(SendMessageA(field, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << box;
        }
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), "1,0,23,59");

    // Seven o'clock as people write it: the alarm is set and rings at 7:00.
    RunDialog([](HWND dialog) {
        Type(dialog, IDC_ALARM_HOUR, "7");
        Type(dialog, IDC_ALARM_MINUTE, "00");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), "1,0,7,0");
    fake::SetClock(7, 0);
    PlatformLocalTime(&gMascot.now);
    ReadStoredAlarmTime();
    CheckAlarm();
    EXPECT_EQ(gMascot.flags.alarmRinging, 1);

    // Full-width digits, as typed with the input method on.
    RunDialog([](HWND dialog) {
        Type(dialog, IDC_ALARM_HOUR, "１８");
        Type(dialog, IDC_ALARM_MINUTE, "０５");
        EXPECT_EQ(FieldText(dialog, IDC_ALARM_HOUR), "１８");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), "1,0,18,5");

    // A time not typed or chosen is not stored: the file keeps what it has,
    // here what a one-time alarm that rang meanwhile left (its time forgotten).
    RunDialog([](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDC_ALARM_HOUR));
        Press(dialog, IDC_ALARM_DAILY);
        WriteSettingsFile("[ALARM]\r\n設定時刻時=Default\r\n設定時刻分=Default\r\n");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), "1,1,Default,Default");
}

TEST_F(AlarmDialogTest, SwitchingOffWhileRingingSilencesAndKeepsTheTime) {
    for (int lock : {0, 1}) {
        WriteSettingsFile("[ALARM]\r\nアラーム使用=1\r\n設定時刻時= 7\r\n設定時刻分= 5\r\n");
        gMascot.flags.animLock = lock;
        gMascot.flags.alarmRinging = 1;
        gMascot.state = LookingAround;
        gMascot.resumeState = Reading;
        Cursor(Reading) = 9;
        fake::sounds.clear();
        RunDialog([](HWND dialog) {
            Press(dialog, IDC_ALARM_USE); // was checked: now off
            Press(dialog, IDOK);
        });
        ASSERT_EQ(fake::sounds.size(), 1u);
        EXPECT_EQ(fake::sounds[0].flags, 0u);
        EXPECT_EQ(gMascot.flags.alarmRinging, 0);
        EXPECT_EQ(gMascot.flags.alarmEnabled, 0);
        EXPECT_EQ(gMascot.state, lock ? LookingAround : Reading);
        EXPECT_EQ(Cursor(Reading), lock ? 9u : 2u); // all four are primed here
        EXPECT_EQ(Stored(), "0,0,7,5");
    }
}

TEST_F(AlarmDialogTest, CancelAfterAPanelClickDoesNotStartTheAlarmAgainInItsMinute) {
    WriteSettingsFile(
        "[ALARM]\r\nアラーム使用=1\r\n毎日アラーム=1\r\n設定時刻時= 7\r\n設定時刻分= 5\r\n");
    gMascot.flags.alarmEnabled = 1;
    gMascot.flags.alarmDaily = 1;
    PlatformLocalTime(&gMascot.now);
    ReadStoredAlarmTime();
    CheckAlarm();
    ASSERT_EQ(gMascot.flags.alarmRinging, 1);
    SilenceAlarmByClick();
    fake::localTimeReads = 0;
    RunDialog([](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(gMascot.flags.alarmEnabled, 1);
    EXPECT_EQ(fake::localTimeReads, 1);
    WriteSettingsFile( // as if the note of the silenced minute could not be written
        "[ALARM]\r\nアラーム使用=1\r\n毎日アラーム=1\r\n設定時刻時= 7\r\n設定時刻分= 5\r\n");
    ReadStoredAlarmTime();
    CheckAlarm();
    EXPECT_EQ(gMascot.flags.alarmRinging, 0);
}
