#include "info/info_pages.h"

#include "alarm/alarm_check.h"
#include "app/platform.h"
#include "app/scale.h"
#include "app/shift_jis.h"
#include "app/state.h"
#include "info/info_window.h"
#include "info/page_texts.h"

namespace {

constexpr COLORREF kBlueShadow = 0x00FFA0A0;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kPinkShadow = 0x00FFA0FF;
constexpr COLORREF kRed = 0x000000FF;

struct ClockTexts {
    PageText date;
    PageText time;
    PageText alarm;
    int dateLength;
    int timeLength;
    int alarmLength;
};

// (x, y) as laid out; the text lands where it does at the current scale.
void DrawLine(COLORREF colour, int x, int y, const char* text, int bytes) {
    SetTextColor(gMascot.canvasDC, colour);
    TextOutA(gMascot.canvasDC, ScaledLength(x), ScaledLength(y), text, bytes);
}

void EraseCanvas() {
    BitBlt(gMascot.canvasDC, 0, 0, PanelWidth(), PanelHeight(), gMascot.canvasDC, 0, PanelHeight(),
           SRCCOPY);
}

// The platform never reports a day of week outside 0 to 6; should it, the
// user is told and the date line shows a placeholder day.
void WarnAboutImpossibleDay() {
    if (gMascot.now.wDayOfWeek > 6)
        ShowMessage(gMascot.infoWindow, "対応していない数値です。", "曜日取得", MB_ICONWARNING);
}

// The alarm time is read back from the settings file on every redraw, so a
// time changed by the dialog (or by hand) is seen at once.
void ReadAlarmTime(ClockTexts& texts) {
    ReadStoredAlarmTime();
    texts.alarmLength = FormatAlarmLine(alarmTimeSet, gMascot.flags.alarmEnabled == 1,
                                        gMascot.alarmHour, gMascot.alarmMinute, texts.alarm);
}

void DrawClockPage(const ClockTexts& t) {
    const int date = BytesToDraw(kDateLineBytes, t.dateLength);
    const int time = BytesToDraw(kTimeLineBytes, t.timeLength);
    DrawLine(kBlueShadow, 7, 7, t.date, date);
    DrawLine(kBlueShadow, 22, 22, t.time, time);
    DrawLine(kBlack, 5, 5, t.date, date);
    DrawLine(kBlack, 20, 20, t.time, time);
    // While the alarm rings the line is left out on every other redraw.
    if (gMascot.flags.alarmRinging == 1 && gMascot.flags.alarmBlink == 1) {
        gMascot.flags.alarmBlink = 0;
        return;
    }
    const int alarm = BytesToDraw(kAlarmLineBytes, t.alarmLength);
    DrawLine(kPinkShadow, 7, 42, t.alarm, alarm);
    DrawLine(kRed, 5, 40, t.alarm, alarm);
    gMascot.flags.alarmBlink = 1;
}

// The extended memory record: the 32-bit one caps both figures at 4 GB.
void DrawPositionAndMemoryPage() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);

    WINDOWPLACEMENT placement{sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    PageText position;
    int positionLength;
    if (GetWindowPlacement(gMascot.mainWindow, &placement))
        // In the numbers that, written into the settings file, put her there.
        positionLength =
            FormatPositionLine(LogicalFromScreen(placement.rcNormalPosition.left),
                               LogicalFromScreen(placement.rcNormalPosition.top), position);
    else
        positionLength = FormatUnknownPosition(position);
    PageText total;
    PageText free;
    const int totalLength = FormatTotalMemoryLine(memory.ullTotalPhys, total);
    const int freeLength = FormatFreeMemoryLine(memory.ullAvailPhys, free);

    // Drawn whole: a five-character coordinate (a monitor left of the
    // primary one) must not lose the end of y.
    DrawLine(kBlueShadow, 7, 7, position, positionLength);
    DrawLine(kBlack, 5, 5, position, positionLength);
    DrawLine(kBlueShadow, 7, 27, total, totalLength);
    DrawLine(kBlack, 5, 25, total, totalLength);
    DrawLine(kBlueShadow, 7, 42, free, freeLength);
    DrawLine(kBlack, 5, 40, free, freeLength);
}

void DrawVersionPage() {
    DrawLine(kPinkShadow, 5, 5, kTitleText, kTitleBytes);
    DrawLine(kRed, 3, 3, kTitleText, kTitleBytes);
    DrawLine(kBlueShadow, 10, 19, kVersionText, kVersionBytes);
    DrawLine(kBlueShadow, 15, 45, kCreditText, kCreditBytes);
    DrawLine(kBlack, 8, 17, kVersionText, kVersionBytes);
    DrawLine(kBlack, 13, 43, kCreditText, kCreditBytes);
}

} // namespace

void RedrawInfo() {
    EraseCanvas();
    PlatformLocalTime(&gMascot.now);
    WarnAboutImpossibleDay();
    ClockTexts texts;
    ReadAlarmTime(texts);
    CheckAlarm();
    texts.dateLength = FormatDateLine(gMascot.now, texts.date);
    texts.timeLength = FormatTimeLine(gMascot.now, texts.time);

    gMascot.previousFont = static_cast<HFONT>(SelectObject(gMascot.canvasDC, gMascot.infoFont));
    SetBkMode(gMascot.canvasDC, TRANSPARENT);
    switch (gMascot.flags.infoPage) {
    case 0: DrawClockPage(texts); break;
    case 2: DrawVersionPage(); break;
    default: DrawPositionAndMemoryPage(); break;
    }
    SelectObject(gMascot.canvasDC, gMascot.previousFont);
}
