// Starting and ending the alarm's ringing.
#pragma once

// True when the alarm time last read from the settings file is a real time;
// every panel redraw sets it before it runs CheckAlarm.
extern bool alarmTimeSet;

// Starts the alarm when it is on and its minute has come; ends a ringing
// alarm once the stored time no longer matches the clock.
void CheckAlarm();
