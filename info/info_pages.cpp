#include "info/info_pages.h"

#include "alarm/alarm_check.h"
#include "app/platform.h"
#include "app/state.h"

int RedrawInfo() {
    PlatformLocalTime(&gMascot.now);
    CheckAlarm();
    return 0;
}
