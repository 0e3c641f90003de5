// Starting and ending the alarm's ringing.
#pragma once

// True when the alarm time last read from the settings file is a real time;
// every panel redraw sets it before it runs CheckAlarm.
extern bool alarmTimeSet;

// Reads the alarm time back from the settings file into alarmHour,
// alarmMinute and alarmTimeSet.
void ReadStoredAlarmTime();

// Starts the alarm when it is on and its minute has come; ends a ringing
// alarm once the stored time no longer matches the clock.
void CheckAlarm();

// When the program ends while the alarm rings (the exit command, the window
// destroyed any other way, Windows ending the session), the alarm is over as
// if its minute had passed: a one-time alarm forgets its time, and a daily
// one does not ring again if she is started within that minute.
void FinishRingingAtExit();

// A click on the panel silences the ringing alarm: the sound stops, and the
// alarm stays silent for the rest of its minute and is then over as if the
// minute had passed. A one-time alarm forgets its time at once, and a daily
// one notes the minute, so that not even a restart within the minute rings
// it again.
void SilenceAlarmByClick();
