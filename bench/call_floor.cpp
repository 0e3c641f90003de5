// The call floor: a program that makes only the platform calls the mascot's
// idle work cannot do without, and nothing else. The same 80x80 shaped tool
// window and 160x60 panel, the same PeekMessage + Sleep(50) loop and 100 ms
// tick, and per tick exactly: the canvas copy to the panel; the panel redraw
// (clock read, the four settings reads, the three formatted lines and the
// six text outputs of the clock page, then a second copy) on every tick
// while the panel shows and every fifth while it is hidden; the frame paint
// through a fresh window DC; and on every second tick the chooser's count,
// one reading step (a new shape when its frame changes) and a second paint.
// No state record, no tests. bench/idle.sh measures the mascot, fixed to the
// reading animation, against this program. Like the mascot it declares DPI
// awareness (the same manifest) and draws at the scale of the system DPI:
// her art pixels as k x k blocks (k = 2 at 96 DPI), the panel, its font and
// text at k / 2.
//
// The panel starts hidden when mascot.ini in the working folder says
// 情報ウィンドウ=0, as the mascot's does.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>

namespace {

constexpr char kSettings[] = "./mascot.ini";
constexpr int kFrames = 26;
// The reading animation's frames, one per step.
constexpr int kReading[] = {0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3};
constexpr int kReadingSteps = sizeof kReading / sizeof kReading[0];
constexpr const char* kDayNames[] = {"日", "月", "火", "水", "木", "金", "土"};

int scale = 2;
int panelWidth = 160;
int panelHeight = 60;
HWND mascotWindow;
HWND panelWindow;
HDC panelDC;
HDC canvasDC;
HBITMAP canvasBitmap;
HFONT panelFont;
HBITMAP frames[kFrames];
HRGN shapes[kFrames];
int shownFrame;
int readingCursor;
bool panelShown = true;
DWORD lastTick;
int refreshTicks;
int animTicks;
int chooserTicks;
SYSTEMTIME now;

// A length laid out at 96 DPI, at the scale in use.
int Scaled(int length) { return (length * scale + 1) / 2; }

// The frame's non-key pixels, each as a k x k block, one rectangle per run.
HRGN ShapeOf(HBITMAP bitmap) {
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const COLORREF key = GetPixel(memory, 0, 0);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            const int start = x;
            while (x < info.bmWidth && GetPixel(memory, x, y) != key)
                ++x;
            if (x > start) {
                HRGN run = CreateRectRgn(scale * start, scale * y, scale * x, scale * (y + 1));
                CombineRgn(shape, shape, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return shape;
}

void ApplyShape(int frame) {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, shapes[frame], nullptr, RGN_COPY);
    SetWindowRgn(mascotWindow, copy, TRUE);
    SetPropA(mascotWindow, "region", copy);
}

void DrawFrame() {
    BITMAP info;
    GetObjectA(frames[shownFrame], sizeof info, &info);
    HDC windowDC = GetDC(mascotWindow);
    HDC memory = CreateCompatibleDC(windowDC);
    HGDIOBJ previous = SelectObject(memory, frames[shownFrame]);
    StretchBlt(windowDC, 0, 0, scale * info.bmWidth, scale * info.bmHeight, memory, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(mascotWindow, windowDC);
}

void CopyCanvas() { BitBlt(panelDC, 0, 0, panelWidth, panelHeight, canvasDC, 0, 0, SRCCOPY); }

void TextLine(COLORREF colour, int x, int y, const char* text, int bytes) {
    SetTextColor(canvasDC, colour);
    TextOutA(canvasDC, Scaled(x), Scaled(y), text, bytes);
}

// The clock page with the alarm time read back from the settings file.
void RedrawPanel() {
    BitBlt(canvasDC, 0, 0, panelWidth, panelHeight, canvasDC, 0, panelHeight, SRCCOPY);
    GetLocalTime(&now);
    char hourText[100];
    char minuteText[100];
    const int hour = GetPrivateProfileIntA("ALARM", "設定時刻時", 24, kSettings);
    GetPrivateProfileStringA("ALARM", "設定時刻時", "Default", hourText, 100, kSettings);
    const int minute = GetPrivateProfileIntA("ALARM", "設定時刻分", 24, kSettings);
    GetPrivateProfileStringA("ALARM", "設定時刻分", "Default", minuteText, 100, kSettings);
    const bool set = std::strcmp(hourText, "Default") != 0 &&
                     std::strcmp(minuteText, "Default") != 0 && hour >= 0 && hour <= 23 &&
                     minute >= 0 && minute <= 59;
    char date[64];
    char time[64];
    char alarm[64];
    if (set)
        wsprintfA(alarm, "アラーム %2d時%2d分", hour, minute);
    else
        wsprintfA(alarm, "%s", "アラーム 設定なし");
    wsprintfA(date, "%4d年%2d月%2d日(%s)", now.wYear, now.wMonth, now.wDay,
              kDayNames[now.wDayOfWeek % 7]);
    const bool afternoon = now.wHour > 12;
    wsprintfA(time, "%s%2d時%2d分%2d秒", afternoon ? "午後" : "午前",
              afternoon ? now.wHour - 12 : now.wHour, now.wMinute, now.wSecond);

    HGDIOBJ previous = SelectObject(canvasDC, panelFont);
    SetBkMode(canvasDC, TRANSPARENT);
    TextLine(0x00FFA0A0, 7, 7, date, 18);
    TextLine(0x00FFA0A0, 22, 22, time, 16);
    TextLine(0x00000000, 5, 5, date, 18);
    TextLine(0x00000000, 20, 20, time, 16);
    TextLine(0x00FFA0FF, 7, 42, alarm, 17);
    TextLine(0x000000FF, 5, 40, alarm, 17);
    SelectObject(canvasDC, previous);
}

// The chooser acts on every 118th call: a clock read.
void CountChooser() {
    if (chooserTicks < 117) {
        ++chooserTicks;
        return;
    }
    GetLocalTime(&now);
    chooserTicks = 0;
}

void StepReading() {
    const int prev = kReading[readingCursor];
    readingCursor = (readingCursor + 1) % kReadingSteps;
    const int next = kReading[readingCursor];
    if (next != prev)
        ApplyShape(next);
    shownFrame = next;
    DrawFrame();
}

void Tick() {
    if (timeGetTime() - lastTick < 100) {
        Sleep(50);
        return;
    }
    lastTick = timeGetTime();
    if (refreshTicks < 5 || panelShown) {
        CopyCanvas();
        ++refreshTicks;
    }
    if (refreshTicks == 5 || panelShown) {
        RedrawPanel();
        CopyCanvas();
        refreshTicks = 0;
    }
    if (animTicks < 2) {
        DrawFrame();
        ++animTicks;
    }
    if (animTicks == 2) {
        CountChooser();
        StepReading();
        animTicks = 0;
    }
}

void InitCanvas(HINSTANCE instance) {
    canvasDC = CreateCompatibleDC(panelDC);
    canvasBitmap = CreateCompatibleBitmap(panelDC, panelWidth, 2 * panelHeight);
    SelectObject(canvasDC, canvasBitmap);
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(159), IMAGE_BITMAP,
                                                      0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
    HDC pictureDC = CreateCompatibleDC(panelDC);
    HGDIOBJ previous = SelectObject(pictureDC, picture);
    StretchBlt(canvasDC, 0, panelHeight, panelWidth, panelHeight, pictureDC, 0, 0, 160, 60,
               SRCCOPY);
    BitBlt(canvasDC, 0, 0, panelWidth, panelHeight, canvasDC, 0, panelHeight, SRCCOPY);
    SelectObject(pictureDC, previous);
    DeleteDC(pictureDC);
    DeleteObject(picture);
}

void FreeAll() {
    DeleteDC(canvasDC);
    DeleteObject(canvasBitmap);
    DeleteObject(panelFont);
    for (int i = 0; i < kFrames; ++i) {
        DeleteObject(frames[i]);
        DeleteObject(shapes[i]);
    }
}

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 102) { // the mascot's exit command
        DestroyWindow(panelWindow);
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY && window == mascotWindow) {
        RemovePropA(window, "region");
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXA mascot = {};
    mascot.cbSize = sizeof mascot;
    mascot.lpfnWndProc = FloorWndProc;
    mascot.hInstance = instance;
    mascot.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mascot.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    mascot.lpszClassName = "CALL FLOOR";
    RegisterClassExA(&mascot);
    WNDCLASSEXA panel = mascot;
    panel.hbrBackground = CreatePatternBrush(LoadBitmapA(instance, MAKEINTRESOURCEA(159)));
    panel.lpszClassName = "CALL FLOOR PANEL";
    RegisterClassExA(&panel);
}

void CreateWindows(HINSTANCE instance) {
    HDC screen = GetDC(nullptr);
    scale = (GetDeviceCaps(screen, LOGPIXELSX) + 23) / 48;
    ReleaseDC(nullptr, screen);
    panelWidth = Scaled(160);
    panelHeight = Scaled(60);
    const int size = 40 * scale;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.right - size - work.right / 10;
    const int y = work.bottom - size;
    mascotWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "CALL FLOOR", nullptr,
                                   WS_POPUP, x, y, size, size, nullptr, nullptr, instance, nullptr);
    for (int i = 0; i < kFrames; ++i) {
        frames[i] = LoadBitmapA(instance, MAKEINTRESOURCEA(130 + i));
        shapes[i] = ShapeOf(frames[i]);
    }
    ApplyShape(0);
    panelShown = GetPrivateProfileIntA("OPTION", "情報ウィンドウ", 1, kSettings) != 0;
    panelWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "CALL FLOOR PANEL", nullptr,
                                  panelShown ? WS_POPUP | WS_VISIBLE : WS_POPUP, x - Scaled(120),
                                  y + Scaled(20), panelWidth, panelHeight, nullptr, nullptr,
                                  instance, nullptr);
    panelFont = CreateFontA(Scaled(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                            0, 0, 0, 0, "ＭＳ ゴシック");
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    RegisterClasses(instance);
    CreateWindows(instance);
    ShowWindow(mascotWindow, showCommand);
    UpdateWindow(mascotWindow);
    panelDC = GetDC(panelWindow);
    InitCanvas(instance);
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) == 0) {
                FreeAll();
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            Tick();
        }
    }
}
