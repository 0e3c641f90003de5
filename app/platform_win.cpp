#include "app/platform.h"

// The multimedia library is not one of the DLLs that Windows always takes
// from the system directory, so a plain import would let a winmm.dll lying
// next to mascot.exe (say, in the Downloads folder) run inside the program.
// Its two functions are therefore bound at run time from the system
// directory alone.

namespace {

using TimeGetTimeProc = DWORD(WINAPI*)();
using PlaySoundProc = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);

struct Multimedia {
    TimeGetTimeProc timeGetTime;
    PlaySoundProc playSound;
};

// LOAD_LIBRARY_SEARCH_SYSTEM32 needs Windows 8, or Windows 7 with its loader
// update; without it the flag is refused and the full path is used instead.
HMODULE LoadFromSystemDirectory(const char* name) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr)
        return module;
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH)
        return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

Multimedia BindMultimedia() {
    Multimedia bound = {nullptr, nullptr};
    HMODULE winmm = LoadFromSystemDirectory("winmm.dll"); // kept for the life of the process
    if (winmm == nullptr)
        return bound;
    bound.timeGetTime = reinterpret_cast<TimeGetTimeProc>(
        reinterpret_cast<void*>(GetProcAddress(winmm, "timeGetTime")));
    bound.playSound = reinterpret_cast<PlaySoundProc>(
        reinterpret_cast<void*>(GetProcAddress(winmm, "PlaySoundA")));
    return bound;
}

const Multimedia& Winmm() {
    static const Multimedia bound = BindMultimedia();
    return bound;
}

// Looked up at run time: older systems lack the call, and the program must
// still start there.
void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return;
    const auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirectories != nullptr)
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace

void BindSystemLibraries() {
    RestrictLibrarySearch();
    Winmm();
}

void PlatformLocalTime(SYSTEMTIME* now) { GetLocalTime(now); }

// Without the multimedia library the system's millisecond tick, which counts
// the same milliseconds since start-up and wraps the same way, paces the ticks.
DWORD PlatformMilliseconds() {
    const TimeGetTimeProc timeGetTime = Winmm().timeGetTime;
    return timeGetTime != nullptr ? timeGetTime() : GetTickCount();
}

// Without the multimedia library the program is silent, as with a sound that
// cannot be played.
BOOL PlatformPlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
    const PlaySoundProc playSound = Winmm().playSound;
    return playSound != nullptr ? playSound(sound, module, flags) : FALSE;
}
