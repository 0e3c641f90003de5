#include "info/page_texts.h"

#include <cstdio>

namespace {

constexpr const char* kDayNames[] = {"日", "月", "火", "水", "木", "金", "土"};

unsigned long long WholeMiB(unsigned long long bytes) { return bytes >> 20; }

} // namespace

const char* DayName(int dayOfWeek) {
    if (dayOfWeek < 0 || dayOfWeek > 6)
        return "？";
    return kDayNames[dayOfWeek];
}

int FormatDateLine(const SYSTEMTIME& now, PageText& text) {
    return std::snprintf(text, sizeof text, "%4d年%2d月%2d日(%s)", now.wYear, now.wMonth, now.wDay,
                         DayName(now.wDayOfWeek));
}

int FormatTimeLine(const SYSTEMTIME& now, PageText& text) {
    const int hour = now.wHour;
    const bool afternoon = hour > 12;
    return std::snprintf(text, sizeof text, "%s%2d時%2d分%2d秒", afternoon ? "午後" : "午前",
                         afternoon ? hour - 12 : hour, now.wMinute, now.wSecond);
}

int FormatAlarmLine(bool timeSet, bool switchedOn, int hour, int minute, PageText& text) {
    if (!timeSet)
        return std::snprintf(text, sizeof text, "%s", "アラーム 設定なし");
    if (!switchedOn)
        return std::snprintf(text, sizeof text, "%s", "アラーム オフ");
    return std::snprintf(text, sizeof text, "アラーム %2d時%2d分", hour, minute);
}

int FormatPositionLine(int x, int y, PageText& text) {
    return std::snprintf(text, sizeof text, "座標 X%4d,Y%4d", x, y);
}

int FormatUnknownPosition(PageText& text) {
    return std::snprintf(text, sizeof text, "%s", "座標 X----,Y----");
}

int FormatTotalMemoryLine(unsigned long long bytes, PageText& text) {
    return std::snprintf(text, sizeof text, "全物理メモリ%4lluMB", WholeMiB(bytes));
}

int FormatFreeMemoryLine(unsigned long long bytes, PageText& text) {
    return std::snprintf(text, sizeof text, "空物理メモリ%4lluMB", WholeMiB(bytes));
}
