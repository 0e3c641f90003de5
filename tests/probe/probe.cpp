// Looks at the running mascot from outside its process, as any other program
// on the desktop could. Every command prints one line; texts are printed as
// UTF-8 so that test scripts can compare them with their own literals.
//
//   probe workarea                 left top right bottom of the work area
//   probe window CLASS [WAIT_MS]   x y width height visible topmost of its top-level window
//                                  (waiting up to WAIT_MS for it to be visible)
//   probe dialog [WAIT_MS]         caption|text of the first visible dialog box (class #32770)
//   probe press-ok                 presses OK in that dialog box
//   probe dialogs                  N F: how many dialog boxes are visible, and 1 when the
//                                  foreground window is one of them, else 0
//   probe command CLASS ID         posts WM_COMMAND ID to the window of CLASS
//   probe menu [WAIT_MS]           x y width height of the open popup menu (class #32768)
//   probe control ID [WAIT_MS]     x y width height of control ID of the first visible dialog box
//   probe region CLASS             left top right bottom area hash of the window's shape (window
//                                  coordinates; hash: FNV-1a of a '0'/'1' byte per window pixel)
//   probe region-watch CLASS N MS  N lines "milliseconds region", one every MS milliseconds
//   probe region-shot CLASS FILE   "changed|region" or "region|region": whether the shape changed
//                                  while the window's screen area was copied to FILE (raw RGB
//                                  bytes, top row first), and the shape after
//   probe tray-remove CLASS        removes the notification icon 0 of the window of CLASS, as a
//                                  taskbar made anew has none
//   probe taskbar-created          tells every top-level window "TaskbarCreated", as the shell
//                                  does when it has made a new taskbar
//   probe close-app CLASS          asks the window of CLASS to close as the Restart Manager does
//                                  (WM_QUERYENDSESSION, then WM_ENDSESSION with CLOSEAPP);
//                                  prints the answer to the question
//   probe message-id NAME          the number of the registered window message NAME, in hex
//   probe tray-busy SECONDS        stands in for a shell still busy at logon: a notification area
//                                  in front of the taskbar's that refuses every icon; prints
//                                  "ready" when it stands, and goes after SECONDS
#include <windows.h>
#include <shellapi.h>

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

BOOL CALLBACK CountDialog(HWND window, LPARAM count) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int PrintDialogCount() {
    int count = 0;
    EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&count));
    char className[16] = {};
    GetClassNameA(GetForegroundWindow(), className, sizeof className);
    std::printf("%d %d\n", count, lstrcmpA(className, "#32770") == 0 ? 1 : 0);
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

// The window's shape as "left top right bottom area hash", or "noregion".
std::string RegionLine(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    std::string line = "noregion";
    if (GetWindowRgn(window, region) != ERROR) {
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::string buffer(size, '\0');
        RGNDATA* data = reinterpret_cast<RGNDATA*>(&buffer[0]);
        GetRegionData(region, size, data);
        const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
        long area = 0;
        for (DWORD i = 0; i < data->rdh.nCount; ++i)
            area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
        unsigned hash = 2166136261u;
        for (int y = 0; y < rect.bottom - rect.top; ++y)
            for (int x = 0; x < rect.right - rect.left; ++x)
                hash = (hash ^ (PtInRegion(region, x, y) ? '1' : '0')) * 16777619u;
        char text[128];
        const RECT& box = data->rdh.rcBound;
        std::snprintf(text, sizeof text, "%ld %ld %ld %ld %ld %08x", box.left, box.top, box.right,
                      box.bottom, area, hash);
        line = text;
    }
    DeleteObject(region);
    return line;
}

int PrintRegions(const char* className, int count, DWORD intervalMs) {
    HWND window = FindWindowA(className, nullptr);
    if (window == nullptr) {
        std::printf("none\n");
        return 1;
    }
    const DWORD start = GetTickCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            Sleep(intervalMs);
        std::printf("%lu %s\n", GetTickCount() - start, RegionLine(window).c_str());
    }
    return 0;
}

// The bytes of the window's region data: quick to read and compare.
std::string RegionBytes(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    std::string bytes;
    if (GetWindowRgn(window, region) != ERROR) {
        bytes.resize(GetRegionData(region, 0, nullptr));
        GetRegionData(region, static_cast<DWORD>(bytes.size()),
                      reinterpret_cast<RGNDATA*>(&bytes[0]));
    }
    DeleteObject(region);
    return bytes;
}

// Copies the window's area of the screen between two readings of its shape,
// so that a caller can tell whether the shape changed while it copied. The
// program hands over a new shape just before it paints the new frame, and
// the screen shows the paint a little later: the copy waits until the shape
// has stood still for 40 ms.
int ShotBetweenRegions(const char* className, const char* fileName) {
    HWND window = FindWindowA(className, nullptr);
    if (window == nullptr) {
        std::printf("none\n");
        return 1;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const std::string shape = RegionBytes(window);
    Sleep(40);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    const std::string after = RegionLine(window);
    const std::string before = RegionBytes(window) == shape ? after : "changed";
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::string pixels(static_cast<size_t>(w) * h * 4, '\0');
    GetDIBits(memory, bitmap, 0, h, &pixels[0], &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    FILE* file = std::fopen(fileName, "wb");
    if (file == nullptr)
        return 1;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const char rgb[3] = {pixels[i + 2], pixels[i + 1], pixels[i]};
        std::fwrite(rgb, 1, 3, file);
    }
    std::fclose(file);
    std::printf("%s|%s\n", before.c_str(), after.c_str());
    return 0;
}

int RemoveTrayIcon(const char* className) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = FindWindowA(className, nullptr);
    icon.uID = 0;
    return icon.hWnd != nullptr && Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
}

// An installer or Windows Update closing running programs: the session goes
// on, and the program is to end itself.
int CloseAsRestartManager(const char* className) {
    HWND window = FindWindowA(className, nullptr);
    if (window == nullptr) {
        std::printf("none\n");
        return 1;
    }
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_NORMAL, 5000,
                        &answer);
    std::printf("%lu\n", static_cast<unsigned long>(answer));
    std::fflush(stdout);
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_NORMAL, 5000,
                        nullptr);
    return 0;
}

int BroadcastTaskbarCreated() {
    const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message != 0 && PostMessageA(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
}

LRESULT CALLBACK RefuseIcons(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA)
        return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}

int BeBusyShell(DWORD seconds) {
    WNDCLASSA busy{};
    busy.lpfnWndProc = RefuseIcons;
    busy.hInstance = GetModuleHandleA(nullptr);
    busy.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&busy);
    // Topmost and newest, it comes first when a program looks for the tray.
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", nullptr,
                                  WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, busy.hInstance, nullptr);
    if (window == nullptr)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < seconds * 1000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    // Screen pixels at every display scale, as the mascot counts them: a
    // program without DPI awareness would be told scaled coordinates.
    SetProcessDPIAware();
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
    if (command == "dialogs")
        return PrintDialogCount();
    if (command == "press-ok")
        return PressOk();
    if (command == "command" && argc >= 4)
        return PostCommand(argv[2], std::atoi(argv[3]));
    if (command == "menu")
        return PrintMenu(argc >= 3 ? std::strtoul(argv[2], nullptr, 10) : waitMs);
    if (command == "region" && argc >= 3) {
        HWND window = FindWindowA(argv[2], nullptr);
        std::printf("%s\n", window == nullptr ? "none" : RegionLine(window).c_str());
        return window == nullptr ? 1 : 0;
    }
    if (command == "region-shot" && argc >= 4)
        return ShotBetweenRegions(argv[2], argv[3]);
    if (command == "region-watch" && argc >= 5)
        return PrintRegions(argv[2], std::atoi(argv[3]), std::strtoul(argv[4], nullptr, 10));
    if (command == "tray-remove" && argc >= 3)
        return RemoveTrayIcon(argv[2]);
    if (command == "taskbar-created")
        return BroadcastTaskbarCreated();
    if (command == "close-app" && argc >= 3)
        return CloseAsRestartManager(argv[2]);
    if (command == "message-id" && argc >= 3) {
        std::printf("%x\n", RegisterWindowMessageA(argv[2]));
        return 0;
    }
    if (command == "tray-busy" && argc >= 3)
        return BeBusyShell(std::strtoul(argv[2], nullptr, 10));
    if (command == "control" && argc >= 3)
        return PrintControl(std::atoi(argv[2]),
                            argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : waitMs);
    return 2;
}
