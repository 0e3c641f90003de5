#include "support/fake_platform.h"

#include "app/platform.h"

namespace fake {

SYSTEMTIME localTime;
DWORD milliseconds;
int localTimeReads;
std::vector<SoundCall> sounds;

void Reset() {
    localTime = SYSTEMTIME{2004, 8, 2, 3, 12, 0, 0, 0}; // Tuesday 3 August 2004, noon
    milliseconds = 1000000;
    localTimeReads = 0;
    sounds.clear();
}

void SetClock(int hour, int minute, int second) {
    localTime.wHour = static_cast<WORD>(hour);
    localTime.wMinute = static_cast<WORD>(minute);
    localTime.wSecond = static_cast<WORD>(second);
}

} // namespace fake

void PlatformLocalTime(SYSTEMTIME* now) {
    ++fake::localTimeReads;
    *now = fake::localTime;
}

DWORD PlatformMilliseconds() { return fake::milliseconds; }

BOOL PlatformPlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
    SoundCall call{};
    call.isResource = sound != nullptr && IS_INTRESOURCE(sound);
    if (call.isResource)
        call.resourceId = static_cast<int>(reinterpret_cast<ULONG_PTR>(sound));
    else if (sound != nullptr)
        call.name = sound;
    call.module = module;
    call.flags = flags;
    fake::sounds.push_back(call);
    return TRUE;
}
