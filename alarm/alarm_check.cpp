#include "alarm/alarm_check.h"

#include <cstring>

#include "app/sound.h"
#include "app/state.h"
#include "res/resource.h"
#include "settings/settings.h"

bool alarmTimeSet = false;

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
    gMascot.ringingAlarmTime = StoredTime();
    if (gMascot.flags.animLock == 0) {
        Cursor(LookingAround) = 1;
        gMascot.resumeState = static_cast<int>(gMascot.state);
        gMascot.state = LookingAround;
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

// The minute has passed, or the stored time changed under the ringing alarm.
void EndRinging() {
    StopSound();
    ForgetOneTimeAlarm();
    gMascot.flags.alarmRinging = 0;
    if (gMascot.flags.animLock == 0)
        RestoreResumeState(PrimeDozing | PrimeLookingAround | PrimeDozingBreeze);
}

} // namespace

void CheckAlarm() {
    if (gMascot.flags.alarmEnabled == 1 && gMascot.flags.alarmRinging == 0 && AlarmTimeMatches())
        StartRinging();
    if (gMascot.flags.alarmRinging == 1 && !AlarmTimeMatches())
        EndRinging();
}
