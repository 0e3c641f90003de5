// A stand-in for the multimedia library, as a web page could drop one into
// the Downloads folder beside mascot.exe. It does what a planted library
// would do first, run code when a process loads it, and only leaves a marker
// file beside itself, so that a test can tell whether it was ever loaded.
#include <windows.h>

extern "C" {

__declspec(dllexport) DWORD WINAPI timeGetTime() { return GetTickCount(); }

__declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR, HMODULE, DWORD) { return TRUE; }

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    char* name = path + length;
    while (name > path && name[-1] != '\\' && name[-1] != '/')
        --name;
    *name = '\0';
    if (lstrlenA(path) + 32 >= MAX_PATH)
        return TRUE;
    lstrcatA(path, "planted-library-ran.txt");
    HANDLE marker =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE)
        CloseHandle(marker);
    return TRUE;
}
