// The recording stand-in for the clock and the sound player.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SoundCall {
    bool isResource;  // the sound is a resource id, not a name
    int resourceId;   // when isResource
    std::string name; // file name, or empty for a stop
    HMODULE module;
    DWORD flags;
};

namespace fake {

extern SYSTEMTIME localTime;
extern DWORD milliseconds;
extern int localTimeReads;
extern std::vector<SoundCall> sounds;

void Reset();
void SetClock(int hour, int minute, int second = 0);

} // namespace fake
