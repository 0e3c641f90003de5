#include "info/info_window.h"

#include "alarm/alarm_check.h"
#include "app/shift_jis.h"
#include "app/state.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace {

constexpr const char* kFontFace = "ＭＳ ゴシック";

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
    gMascot.canvasBitmap = CreateCompatibleBitmap(windowDC, kPanelWidth, kPanelHeight * 2);
    SelectObject(gMascot.canvasDC, gMascot.canvasBitmap);

    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageA(gMascot.instance, MAKEINTRESOURCEA(IDB_PANEL), IMAGE_BITMAP,
                                        0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
    if (picture == nullptr) {
        ShowMessage(gMascot.infoWindow, "画像ファイルを開けません。", "エラー（画像読込）", MB_OK);
        // Without the picture the pages are drawn on a plain white background.
        PatBlt(gMascot.canvasDC, 0, kPanelHeight, kPanelWidth, kPanelHeight, WHITENESS);
    }
    HDC pictureDC = CreateCompatibleDC(gMascot.infoWindowDC);
    HGDIOBJ previous = SelectObject(pictureDC, picture);
    if (picture != nullptr)
        BitBlt(gMascot.canvasDC, 0, kPanelHeight, kPanelWidth, kPanelHeight, pictureDC, 0, 0,
               SRCCOPY);
    BitBlt(gMascot.canvasDC, 0, 0, kPanelWidth, kPanelHeight, gMascot.canvasDC, 0, kPanelHeight,
           SRCCOPY);
    SelectObject(pictureDC, previous);
    DeleteDC(pictureDC);
    DeleteObject(picture);
    ReleaseDC(gMascot.infoWindow, windowDC);
}

// The face name is Shift-JIS text, converted here: a system of another code
// page would read it garbled, and then give the panel some other font.
void CreateInfoFont() {
    gMascot.infoFont = CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0,
                                   0, 0, 0, WideFromShiftJis(kFontFace).c_str());
}

LRESULT CALLBACK InfoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_LBUTTONDOWN: OnLeftButton(); return 0;
    case WM_RBUTTONDOWN: OnRightButton(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
