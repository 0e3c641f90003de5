// Starting and ending the alarm's ringing.
#pragma once

extern bool alarmTimeSet;

void CheckAlarm();
