#include "app/restart.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

// Windows says nothing of the folder it starts a program in again, and her
// settings file is "./mascot.ini": the command line she registers names her
// folder after this switch.
constexpr wchar_t kRestartSwitch[] = L"/restart-in";

} // namespace

// Bound at run time: kernel32 has it from Vista on.
void AskToBeRestartedAfterUpdates() {
    using RegisterProc = HRESULT(WINAPI*)(PCWSTR, DWORD);
    const auto registerRestart = reinterpret_cast<RegisterProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "RegisterApplicationRestart")));
    wchar_t folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    if (registerRestart == nullptr || length == 0 || length >= MAX_PATH)
        return;
    std::wstring commandLine = std::wstring(kRestartSwitch) + L" \"" + folder;
    // A backslash before the closing quote would escape it ("C:\").
    if (folder[length - 1] == L'\\')
        commandLine += L'\\';
    registerRestart((commandLine + L"\"").c_str(), RESTART_NO_CRASH | RESTART_NO_HANG);
}

void ReturnToTheFolderOfARestart() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return;
    if (count == 3 && lstrcmpW(arguments[1], kRestartSwitch) == 0)
        SetCurrentDirectoryW(arguments[2]);
    LocalFree(arguments);
}
