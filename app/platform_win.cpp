#include "app/platform.h"

#include <mmsystem.h>

void PlatformLocalTime(SYSTEMTIME* now) { GetLocalTime(now); }

DWORD PlatformMilliseconds() { return timeGetTime(); }

BOOL PlatformPlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
    return PlaySoundA(sound, module, flags);
}
