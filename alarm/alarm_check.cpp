#include "alarm/alarm_check.h"

bool alarmTimeSet = false;

void CheckAlarm() {}
