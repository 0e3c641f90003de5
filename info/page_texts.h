// The texts of the panel's pages, formatted apart from any drawing. Every
// formatter writes a terminated Shift-JIS text into the caller's buffer and
// returns its length in bytes.
#pragma once

#include <windows.h>

// Room to spare: the longest line, a position of two ten-digit negative
// numbers, takes 30 bytes, so no text is ever cut.
constexpr int kPageTextSize = 64;
using PageText = char[kPageTextSize];

// The bytes each line is drawn with. A line formatted shorter is drawn only
// as far as it goes; the position and memory lines are drawn at their whole
// length (ordinary positions are exactly kPositionLineBytes long).
constexpr int kDateLineBytes = 18;
constexpr int kTimeLineBytes = 16;
constexpr int kAlarmLineBytes = 17;
constexpr int kPositionLineBytes = 16;
constexpr int kMemoryLineBytes = 18;
constexpr int kTitleBytes = 19;
constexpr int kVersionBytes = 17;
constexpr int kCreditBytes = 20;

constexpr char kTitleText[] = "たまりんPAL【夕凪】";
constexpr char kVersionText[] = "Ver1.00　04/08/23";
constexpr char kCreditText[] = "制作：ますこっと工房";
static_assert(sizeof kTitleText - 1 == kTitleBytes, "the title is drawn whole");
static_assert(sizeof kVersionText - 1 == kVersionBytes, "the version is drawn whole");
static_assert(sizeof kCreditText - 1 == kCreditBytes, "the credit is drawn whole");

// "日" to "土" for 0 (Sunday) to 6; "？" for anything else, so that even an
// impossible day keeps the date line at its usual width.
const char* DayName(int dayOfWeek);

int FormatDateLine(const SYSTEMTIME& now, PageText& text);

// Hours 0 to 12 are 午前 and shown as they are; 13 to 23 are 午後 and shown
// less 12.
int FormatTimeLine(const SYSTEMTIME& now, PageText& text);

// A stored time shows only while the alarm is switched on: a switched-off
// alarm must never look as if it will ring.
int FormatAlarmLine(bool timeSet, bool switchedOn, int hour, int minute, PageText& text);

int FormatPositionLine(int x, int y, PageText& text);

// The line shown when the mascot's placement cannot be read.
int FormatUnknownPosition(PageText& text);

// Memory figures in whole MiB (bytes shifted right by 20). Four digits at
// least; larger figures make the line longer, never cut.
int FormatTotalMemoryLine(unsigned long long bytes, PageText& text);
int FormatFreeMemoryLine(unsigned long long bytes, PageText& text);

// The number of bytes to hand to text output for a line formatted at length
// bytes that the page draws with fixed bytes: never past the formatted end.
inline int BytesToDraw(int fixed, int length) { return length < fixed ? length : fixed; }
