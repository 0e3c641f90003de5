// Looks at the running mascot from outside its process, as any other program
// on the desktop could. Every command prints one line; texts are printed as
// UTF-8 so that test scripts can compare them with their own literals.
//
//   probe workarea                 left top right bottom of the work area
//   probe window CLASS [WAIT_MS]   x y width height visible topmost of its top-level window
//                                  (waiting up to WAIT_MS for it to be visible)
//   probe dialog [WAIT_MS]         caption|text of the first visible dialog box (class #32770)
//   probe press-ok                 presses OK in that dialog box
//   probe command CLASS ID         posts WM_COMMAND ID to the window of CLASS
//   probe menu [WAIT_MS]           x y width height of the open popup menu (class #32768)
//   probe control ID [WAIT_MS]     x y width height of control ID of the first visible dialog box
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ToUtf8(const char* ansi) {
    wchar_t wide[1024];
    char utf8[4096];
    int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 1024);
    if (n == 0)
        return std::string();
    n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    return n == 0 ? std::string() : std::string(utf8);
}

// Waits up to waitMs for a visible window of the class; returns the window
// found then, visible or not.
HWND WaitForWindow(const char* className, DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(className, nullptr);
        if ((window != nullptr && IsWindowVisible(window)) || GetTickCount() - start >= waitMs)
            return window;
        Sleep(100);
    }
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        if (text[0] != '\0')
            reinterpret_cast<std::string*>(param)->append(text);
    }
    return TRUE;
}

int PrintWindow(const char* className, DWORD waitMs) {
    HWND window = WaitForWindow(className, waitMs);
    if (window == nullptr) {
        std::printf("none\n");
        return 1;
    }
    RECT r;
    GetWindowRect(window, &r);
    const bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%ld %ld %ld %ld %d %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                IsWindowVisible(window) ? 1 : 0, topmost ? 1 : 0);
    return 0;
}

int PrintDialog(DWORD waitMs) {
    HWND dialog = WaitForWindow("#32770", waitMs);
    if (dialog == nullptr) {
        std::printf("none\n");
        return 1;
    }
    char caption[512] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    std::string text;
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&text));
    // Line feeds inside the text are shown as \\n to keep the answer on one line.
    std::string shown;
    for (char c : ToUtf8(text.c_str()))
        shown += c == '\n' ? std::string("\\n") : std::string(1, c);
    std::printf("%s|%s\n", ToUtf8(caption).c_str(), shown.c_str());
    return 0;
}

int PressOk() {
    HWND dialog = FindWindowA("#32770", nullptr);
    if (dialog == nullptr)
        return 1;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

int PostCommand(const char* className, int id) {
    HWND window = FindWindowA(className, nullptr);
    if (window == nullptr)
        return 1;
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return 0;
}

HWND OpenMenu(DWORD waitMs) {
    HWND menu = WaitForWindow("#32768", waitMs);
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

void PrintRect(const RECT& r) {
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int PrintMenu(DWORD waitMs) {
    HWND menu = OpenMenu(waitMs);
    if (menu == nullptr) {
        std::printf("none\n");
        return 1;
    }
    RECT r;
    GetWindowRect(menu, &r);
    PrintRect(r);
    return 0;
}

int PrintControl(int id, DWORD waitMs) {
    HWND dialog = WaitForWindow("#32770", waitMs);
    HWND control = dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
    if (control == nullptr) {
        std::printf("none\n");
        return 1;
    }
    RECT r;
    GetWindowRect(control, &r);
    PrintRect(r);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::string command = argv[1];
    const DWORD waitMs = 0;
    if (command == "workarea") {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        std::printf("%ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
        return 0;
    }
    if (command == "window" && argc >= 3)
        return PrintWindow(argv[2], argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : waitMs);
    if (command == "dialog")
        return PrintDialog(argc >= 3 ? std::strtoul(argv[2], nullptr, 10) : waitMs);
    if (command == "press-ok")
        return PressOk();
    if (command == "command" && argc >= 4)
        return PostCommand(argv[2], std::atoi(argv[3]));
    if (command == "menu")
        return PrintMenu(argc >= 3 ? std::strtoul(argv[2], nullptr, 10) : waitMs);
    if (command == "control" && argc >= 3)
        return PrintControl(std::atoi(argv[2]),
                            argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : waitMs);
    return 2;
}
