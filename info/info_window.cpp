#include "info/info_window.h"

#include <vector>

#include "alarm/alarm_check.h"
#include "app/shift_jis.h"
#include "app/state.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace {

constexpr const char* kFontFace = "ＭＳ ゴシック";
constexpr int kFontHeight = 13; // cell height, as laid out

// A left click silences a ringing alarm; otherwise it turns the page.
void OnLeftButton() {
    BringWindowToTop(gMascot.mainWindow);
    if (gMascot.flags.alarmRinging == 1) {
        SilenceAlarmByClick();
        ReturnAfterAlarm(PrimeAll);
        return;
    }
    const int page = gMascot.flags.infoPage;
    gMascot.flags.infoPage = page == 0 ? 1 : page == 1 ? 2 : 0;
}

void OnRightButton(HWND window) {
    BringWindowToTop(gMascot.mainWindow);
    ShowWindow(window, SW_HIDE);
    CheckMenuItem(gMascot.menuBar, IDM_INFO, MF_BYCOMMAND | MF_UNCHECKED);
    WriteSetting(kSectionOption, kKeyInfoWindow, "0");
    gMascot.flags.infoShown = 0;
}

HBITMAP LoadPanelPicture() {
    return static_cast<HBITMAP>(LoadImageA(gMascot.instance, MAKEINTRESOURCEA(IDB_PANEL),
                                           IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}

// The picture enlarged into the canvas's lower half, pixel by pixel (the
// picture is laid out at the design scale, so at 96 DPI every pixel stays).
void PaintBackground(HBITMAP picture) {
    const int width = PanelWidth();
    const int height = PanelHeight();
    if (picture == nullptr) {
        // Without the picture the pages are drawn on a plain white background.
        PatBlt(gMascot.canvasDC, 0, height, width, height, WHITENESS);
        return;
    }
    // Top row first, 32 bits a pixel (all else zero: BI_RGB, no palette).
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = kPanelWidth;
    format.bmiHeader.biHeight = -kPanelHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> design(kPanelWidth * kPanelHeight);
    GetDIBits(gMascot.canvasDC, picture, 0, kPanelHeight, design.data(), &format, DIB_RGB_COLORS);
    std::vector<DWORD> screen(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            screen.at(static_cast<size_t>(y) * width + x) =
                design[DesignPixelAt(y, kPanelHeight) * kPanelWidth +
                       DesignPixelAt(x, kPanelWidth)];
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    SetDIBitsToDevice(gMascot.canvasDC, 0, height, width, height, 0, 0, 0, height, screen.data(),
                      &format, DIB_RGB_COLORS);
}

// A canvas of the panel's size at the current scale takes the place of the
// one before: the clean background below, a copy of it above.
void MakeCanvas(HBITMAP picture) {
    HBITMAP canvas = CreateCompatibleBitmap(gMascot.infoWindowDC, PanelWidth(), 2 * PanelHeight());
    SelectObject(gMascot.canvasDC, canvas);
    DeleteObject(gMascot.canvasBitmap); // none the first time
    gMascot.canvasBitmap = canvas;
    PaintBackground(picture);
    BitBlt(gMascot.canvasDC, 0, 0, PanelWidth(), PanelHeight(), gMascot.canvasDC, 0, PanelHeight(),
           SRCCOPY);
}

void OnDestroy() {
    DeleteDC(gMascot.canvasDC);
    DeleteObject(gMascot.canvasBitmap);
    gMascot.canvasDC = nullptr;
    gMascot.canvasBitmap = nullptr;
}

} // namespace

void InitInfoCanvas() {
    HDC windowDC = GetDC(gMascot.infoWindow);
    gMascot.canvasDC = CreateCompatibleDC(windowDC);
    ReleaseDC(gMascot.infoWindow, windowDC);
    HBITMAP picture = LoadPanelPicture();
    if (picture == nullptr)
        ShowMessage(gMascot.infoWindow, "画像ファイルを開けません。", "エラー（画像読込）", MB_OK);
    MakeCanvas(picture);
    DeleteObject(picture);
}

void RescaleInfoPanel() {
    if (gMascot.infoFont != nullptr) {
        DeleteObject(gMascot.infoFont);
        CreateInfoFont();
    }
    if (gMascot.canvasDC == nullptr)
        return; // made later, at the scale of then
    HBITMAP picture = LoadPanelPicture();
    MakeCanvas(picture);
    DeleteObject(picture);
}

// The face name is Shift-JIS text, converted here: a system of another code
// page would read it garbled, and then give the panel some other font.
void CreateInfoFont() {
    gMascot.infoFont =
        CreateFontW(ScaledLength(kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    SHIFTJIS_CHARSET, 0, 0, 0, 0, WideFromShiftJis(kFontFace).c_str());
}

LRESULT CALLBACK InfoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_LBUTTONDOWN: OnLeftButton(); return 0;
    case WM_RBUTTONDOWN: OnRightButton(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
