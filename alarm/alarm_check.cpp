#include "alarm/alarm_check.h"

#include <cstdio>
#include <cstring>

#include "app/sound.h"
#include "app/state.h"
#include "res/resource.h"
#include "settings/settings.h"

bool alarmTimeSet; // every redraw sets it before anything reads it

namespace {

int StoredTime() { return gMascot.alarmHour * 60 + gMascot.alarmMinute; }

// Seconds play no part: the alarm matches for the whole of its minute.
bool AlarmTimeMatches() {
    return alarmTimeSet && gMascot.alarmHour == gMascot.now.wHour &&
           gMascot.alarmMinute == gMascot.now.wMinute;
}

// The sound is chosen anew each time the alarm starts, so an edit of the
// settings file takes effect at the next alarm. Only the exact texts count.
void StartAlarmSound() {
    char kind[kSettingTextSize];
    ReadSettingText(kSectionOption, kKeyAlarmSound, "0", kind);
    if (std::strcmp(kind, "1") == 0)
        LoopSoundResource(IDW_BREEZE);
    else if (std::strcmp(kind, "User") == 0)
        LoopSoundFile("alarm.wav");
    else
        LoopSoundResource(IDW_ALARM);
}

void StartRinging() {
    StartAlarmSound();
    gMascot.flags.alarmRinging = 1;
    if (gMascot.flags.animLock == 0) {
        Cursor(LookingAround) = 1;
        gMascot.resumeState = static_cast<int>(StateUnderneath());
        SetStateUnderneath(LookingAround);
        gMascot.breezeTicks = 0;
    }
}

// A one-time alarm that has rung is over and forgets its time; a daily one
// keeps it for the next day. A different time the user stored while it rang
// is a new alarm and stays.
void ForgetOneTimeAlarm() {
    if (gMascot.flags.alarmDaily != 0)
        return;
    if (alarmTimeSet && StoredTime() != gMascot.ringingAlarmTime)
        return;
    WriteSetting(kSectionAlarm, kKeyAlarmHour, "Default");
    WriteSetting(kSectionAlarm, kKeyAlarmMinute, "Default");
}

// The minute of the clock's last reading, with its day.
void FormatMinute(char (&text)[kSettingTextSize]) {
    const SYSTEMTIME& now = gMascot.now;
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute);
}

// A daily alarm keeps its time, so the minute in which the user silenced it
// is noted in the file: started again within that minute, she stays quiet,
// as after a one-time alarm, whose time is gone. The note is one key of its
// own, which earlier versions pass over; without it she rings as ever.
void NoteSilencedDailyAlarm() {
    if (gMascot.flags.alarmDaily == 0)
        return;
    char minute[kSettingTextSize];
    FormatMinute(minute);
    WriteSetting(kSectionAlarm, kKeyAlarmSilenced, minute);
}

bool SilencedInThisMinute() {
    char minute[kSettingTextSize];
    FormatMinute(minute);
    return SettingTextIs(kSectionAlarm, kKeyAlarmSilenced, "", minute);
}

// The minute has passed, or the stored time changed under the ringing alarm.
void EndRinging() {
    StopSound();
    ForgetOneTimeAlarm();
    gMascot.flags.alarmRinging = 0;
    ReturnAfterAlarm(PrimeDozing | PrimeLookingAround | PrimeDozingBreeze);
}

} // namespace

void ReadStoredAlarmTime() {
    char hourText[kSettingTextSize];
    char minuteText[kSettingTextSize];
    gMascot.alarmHour = ReadSettingInt(kSectionAlarm, kKeyAlarmHour, 24);
    ReadSettingText(kSectionAlarm, kKeyAlarmHour, "Default", hourText);
    gMascot.alarmMinute = ReadSettingInt(kSectionAlarm, kKeyAlarmMinute, 24);
    ReadSettingText(kSectionAlarm, kKeyAlarmMinute, "Default", minuteText);
    alarmTimeSet = std::strcmp(hourText, "Default") != 0 &&
                   std::strcmp(minuteText, "Default") != 0 && gMascot.alarmHour >= 0 &&
                   gMascot.alarmHour <= 23 && gMascot.alarmMinute >= 0 && gMascot.alarmMinute <= 59;
}

void CheckAlarm() {
    if (gMascot.flags.alarmSilenced == 1 && !AlarmTimeMatches())
        gMascot.flags.alarmSilenced = 0; // the silenced minute is over
    if (gMascot.flags.alarmEnabled == 1 && gMascot.flags.alarmRinging == 0 &&
        gMascot.flags.alarmSilenced == 0 && AlarmTimeMatches()) {
        if (SilencedInThisMinute()) // before a restart
            gMascot.flags.alarmSilenced = 1;
        else
            StartRinging();
    }
    if (gMascot.flags.alarmRinging == 1 && !AlarmTimeMatches())
        EndRinging();
    else
        // Every stored time that the clock shows while the alarm rings has
        // rung, the one that started it and one stored meanwhile alike (the
        // dialog is modal, so the ringing goes on while it is open). While
        // the alarm is silent this is only a placeholder.
        gMascot.ringingAlarmTime = StoredTime();
}

// The caller stops the sound and the process ends: nothing else of the
// ringing needs undoing.
void FinishRingingAtExit() {
    if (gMascot.flags.alarmRinging != 1)
        return;
    ReadStoredAlarmTime(); // the file may have changed since the last redraw
    ForgetOneTimeAlarm();
    NoteSilencedDailyAlarm();
}

void SilenceAlarmByClick() {
    StopSound();
    gMascot.flags.alarmRinging = 0;
    gMascot.flags.alarmSilenced = 1;
    ReadStoredAlarmTime(); // the file may have changed since the last redraw
    ForgetOneTimeAlarm();
    NoteSilencedDailyAlarm();
}
