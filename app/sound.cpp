#include "app/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include "app/platform.h"
#include "app/state.h"

// SND_NODEFAULT matters: a sound that cannot be found plays silence instead of
// the system's default beep, so a missing alarm.wav never surprises anyone.
constexpr DWORD kLoopResource = SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_LOOP;
constexpr DWORD kLoopFile = SND_FILENAME | SND_ASYNC | SND_NODEFAULT | SND_LOOP;
static_assert(kLoopResource == 0x4000F, "resource loop flags");
static_assert(kLoopFile == 0x2000B, "file loop flags");

void LoopSoundResource(int resourceId) {
    PlatformPlaySound(MAKEINTRESOURCEA(resourceId), gMascot.instance, kLoopResource);
}

void LoopSoundFile(const char* fileName) { PlatformPlaySound(fileName, nullptr, kLoopFile); }

void StopSound() { PlatformPlaySound(nullptr, nullptr, 0); }
