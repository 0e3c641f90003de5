#include "alarm/alarm_dialog.h"

#include <cstdio>

#include "app/platform.h"
#include "app/shift_jis.h"
#include "app/sound.h"
#include "app/state.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace {

// With the input method on, Japanese users type full-width spaces and digits:
// in Shift-JIS the space is 81 40 and the digits ０ to ９ are 82 4F to 82 58.
constexpr unsigned char kWideSpaceLead = 0x81;
constexpr unsigned char kWideSpaceTrail = 0x40;
constexpr unsigned char kWideDigitLead = 0x82;
constexpr unsigned char kWideZeroTrail = 0x4F;

// The length in bytes of the blank at p, or 0 when p holds none.
int BlankAt(const char* p) {
    if (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        return 1;
    return static_cast<unsigned char>(p[0]) == kWideSpaceLead && p[1] == kWideSpaceTrail ? 2 : 0;
}

// The length in bytes of the digit at p (0 when p holds none) and its value.
int DigitAt(const char* p, int* value) {
    if (*p >= '0' && *p <= '9') {
        *value = *p - '0';
        return 1;
    }
    if (static_cast<unsigned char>(p[0]) != kWideDigitLead)
        return 0;
    const int trail = static_cast<unsigned char>(p[1]) - kWideZeroTrail;
    if (trail < 0 || trail > 9)
        return 0;
    *value = trail;
    return 2;
}

void FillList(HWND dialog, int box, int last) {
    char entry[kAlarmFieldSize];
    for (int n = 0; n <= last; ++n) {
        std::snprintf(entry, sizeof entry, "%2d", n);
        SendDlgItemMessageA(dialog, box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
}

// The edit field of a box is narrow: its usual margins leave room for one
// digit, so "22" would show as "2". Without them two digits fit.
void MakeRoomForTwoDigits(HWND dialog, int box) {
    HWND field = FindWindowExA(GetDlgItem(dialog, box), nullptr, "Edit", nullptr);
    SendMessageA(field, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

// A stored time that is unset or out of range opens as the current time.
void ShowStoredTime(HWND dialog, int box, const char* key, int intDefault, int last, int current) {
    int value = ReadSettingInt(kSectionAlarm, key, intDefault);
    if (SettingTextIs(kSectionAlarm, key, "0", "Default") || value < 0 || value > last)
        value = current;
    char text[kAlarmFieldSize];
    std::snprintf(text, sizeof text, "%2d", value);
    SetDlgItemTextA(dialog, box, text);
}

void OnInitDialog(HWND dialog) {
    PlatformLocalTime(&gMascot.now);
    gMascot.flags.alarmEnabled = ReadSettingInt(kSectionAlarm, kKeyAlarmUse, 0) & 3;
    if (gMascot.flags.alarmEnabled == 1)
        CheckDlgButton(dialog, IDC_ALARM_USE, BST_CHECKED);
    gMascot.flags.alarmDaily = ReadSettingInt(kSectionAlarm, kKeyAlarmDaily, 0) & 3;
    if (gMascot.flags.alarmDaily == 1)
        CheckDlgButton(dialog, IDC_ALARM_DAILY, BST_CHECKED);
    FillList(dialog, IDC_ALARM_HOUR, 23);
    FillList(dialog, IDC_ALARM_MINUTE, 59);
    MakeRoomForTwoDigits(dialog, IDC_ALARM_HOUR);
    MakeRoomForTwoDigits(dialog, IDC_ALARM_MINUTE);
    ShowStoredTime(dialog, IDC_ALARM_HOUR, kKeyAlarmHour, 24, 23, gMascot.now.wHour);
    ShowStoredTime(dialog, IDC_ALARM_MINUTE, kKeyAlarmMinute, 60, 59, gMascot.now.wMinute);
    gMascot.alarmTimeChosen = 0; // whatever filling the fields told
}

// Switching the alarm off while it rings silences it here and now.
void SwitchAlarmOff() {
    WriteSetting(kSectionAlarm, kKeyAlarmUse, "0");
    gMascot.flags.alarmEnabled = 0;
    if (gMascot.flags.alarmRinging == 1) {
        StopSound();
        gMascot.flags.alarmRinging = 0;
        ReturnAfterAlarm(PrimeAll);
    }
}

// The user typed into a time field or chose from its list, even the entry
// it already showed.
bool ChoosesATime(WPARAM wParam) {
    const WORD box = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    return (box == IDC_ALARM_HOUR || box == IDC_ALARM_MINUTE) &&
           (code == CBN_EDITCHANGE || code == CBN_SELCHANGE || code == CBN_SELENDOK);
}

// The controls live until the procedure returns, so they are read after
// EndDialog.
void OnOk(HWND dialog) {
    EndDialog(dialog, IDOK);
    if (IsDlgButtonChecked(dialog, IDC_ALARM_USE) == BST_CHECKED) {
        WriteSetting(kSectionAlarm, kKeyAlarmUse, "1");
        gMascot.flags.alarmEnabled = 1;
    } else {
        SwitchAlarmOff();
    }
    const bool daily = IsDlgButtonChecked(dialog, IDC_ALARM_DAILY) == BST_CHECKED;
    WriteSetting(kSectionAlarm, kKeyAlarmDaily, daily ? "1" : "0");
    gMascot.flags.alarmDaily = daily ? 1 : 0;
    // A time the user did not touch is none the user set: without a stored
    // time the dialog shows the clock's, and a one-time alarm may have rung
    // and forgotten its time while the dialog was open. It stays as the
    // file has it now.
    if (gMascot.alarmTimeChosen == 0)
        return;
    char stored[kAlarmFieldSize];
    ReadAlarmField(GetDlgItem(dialog, IDC_ALARM_HOUR), 23, stored);
    WriteSetting(kSectionAlarm, kKeyAlarmHour, stored);
    ReadAlarmField(GetDlgItem(dialog, IDC_ALARM_MINUTE), 59, stored);
    WriteSetting(kSectionAlarm, kKeyAlarmMinute, stored);
}

} // namespace

void AlarmFieldValue(const char* typed, int limit, char (&stored)[kAlarmFieldSize]) {
    const char* p = typed;
    while (int blank = BlankAt(p))
        p += blank;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    // Whatever follows the digits ("分", a space) does not matter. A long run
    // of digits must not overflow: once the number passes the limit it is out
    // of range however it goes on.
    long long n = 0;
    int digits = 0;
    int digit = 0;
    for (int length; (length = DigitAt(p, &digit)) != 0; p += length, ++digits) {
        if (n <= limit)
            n = n * 10 + digit;
    }
    if (negative)
        n = -n; // "-0" is still zero
    if (digits == 0 || n < 0 || n > limit) {
        std::snprintf(stored, sizeof stored, "%s", "Default");
        return;
    }
    std::snprintf(stored, sizeof stored, "%2d", static_cast<int>(n));
}

// Read as Unicode and converted to Shift-JIS by hand: a system of another
// code page would hand full-width digits over in its own encoding.
void ReadAlarmField(HWND box, int limit, char (&stored)[kAlarmFieldSize]) {
    wchar_t typed[kSettingTextSize] = {};
    GetWindowTextW(box, typed, kSettingTextSize);
    AlarmFieldValue(ShiftJisFromWide(typed).c_str(), limit, stored);
}

INT_PTR CALLBACK AlarmDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        gMascot.alarmDialog = dialog;
        OnInitDialog(dialog);
        return 0; // the dialog manager sets no initial focus
    }
    if (message == WM_DESTROY)
        gMascot.alarmDialog = nullptr;
    if (message == WM_COMMAND && ChoosesATime(wParam))
        gMascot.alarmTimeChosen = 1;
    if (message == WM_COMMAND && wParam == IDOK)
        OnOk(dialog);
    else if (message == WM_COMMAND && wParam == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
    return 0;
}
