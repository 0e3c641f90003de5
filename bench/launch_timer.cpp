// Start-up time as a user sees it: from starting a program until its window
// is visible (with --shaped: visible and carrying its window shape). Prints
// the milliseconds, then ends the program with its exit command.
//   launch_timer PROGRAM.exe CLASS [--shaped]
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const bool shaped = argc >= 4 && std::strcmp(argv[3], "--shaped") == 0;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 1;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    HWND window = nullptr;
    for (int i = 0; i < 20000; ++i) {
        window = FindWindowA(argv[2], nullptr);
        if (window != nullptr && IsWindowVisible(window) &&
            (!shaped || GetWindowRgn(window, shape) != ERROR))
            break;
        window = nullptr;
        Sleep(1);
    }
    QueryPerformanceCounter(&now);
    DeleteObject(shape);
    if (window == nullptr)
        return 1;
    std::printf("%.1f\n", 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart);
    PostMessageA(window, WM_COMMAND, 102, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
