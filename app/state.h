// The one program-wide record and the small operations on it that several
// subsystems share. Everything runs on the thread of WinMain, so nothing here
// is guarded.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The shipped mascot is a 32-bit program: the records it hands to the system
// have the 32-bit layouts. (A 64-bit build of the same sources exists only to
// run the tests where Wine cannot run 32-bit code.)
#ifndef _WIN64
static_assert(sizeof(void*) == 4, "mascot is built as a 32-bit Windows program");
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA record size");
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first form of NOTIFYICONDATAA");
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT record size");
static_assert(sizeof(MEMORYSTATUS) == 32, "MEMORYSTATUS record size");
#endif

enum AnimState : UINT {
    Reading = 1,
    Moving = 2,
    Dozing = 3,
    Fanning = 4,
    LookingAround = 5,
    LookingAroundBreeze = 6,
    DozingBreeze = 7,
    ReadingBreeze = 8,
    ReadingLeadIn = 9,
};

constexpr int kAnimStateCount = 9;
constexpr int kFrameCount = 26;
constexpr int kNoBreeze = 6; // breezeLength value: no breeze pending

// The packed status word. Every field is a signed bit field: a two-bit field
// loaded with 2 or 3 from the settings file reads as -2 or -1, which is
// neither "off" (0) nor "on" (1), and the code treats it as such.
struct StatusFlags {
    signed int animLock : 2;
    signed int moveMode : 2;
    signed int onTop : 2;
    signed int infoShown : 2;
    signed int breezeOn : 2;
    signed int alarmRinging : 2;
    signed int alarmBlink : 2;
    signed int alarmEnabled : 2;
    signed int alarmDaily : 2;
    signed int infoPage : 3;
    signed int breezeLength : 7;
    // 1 from a panel click that silenced the alarm until the clock leaves the
    // alarm's minute: the alarm does not start again within that minute.
    signed int alarmSilenced : 2;
    signed int unused : 2;
};
static_assert(sizeof(StatusFlags) == 4, "StatusFlags is one 32-bit word");

// Second status word: only the low ten bits are used.
struct SavedStateWord {
    signed int savedState : 10;
    signed int unused : 22;
};
static_assert(sizeof(SavedStateWord) == 4, "saved-state word is one 32-bit word");

struct MascotState {
    // Animation
    UINT state;
    int resumeState;
    int breezeTicks;
    int currentFrame;
    UINT frameCursor[kAnimStateCount]; // indexed by AnimState - 1

    // Status words
    StatusFlags flags;
    SavedStateWord saved;

    // Time
    SYSTEMTIME now;
    int alarmHour;
    int alarmMinute;
    // The stored alarm time (hour * 60 + minute) that rang: as of the last
    // redraw that did not end the ringing. The end clears a one-time alarm's
    // time only while it is still this one, so a new time stored meanwhile
    // (one the clock has not shown) is kept.
    int ringingAlarmTime;
    // 1 once the user has typed into a time field of the open alarm dialog
    // or chosen from its list: OK stores the time only then.
    int alarmTimeChosen;

    // Idle pacing
    DWORD lastTick;
    int refreshTicks;
    int animTicks;
    int chooserTicks;
    // 1 while a tick runs (app/idle.cpp).
    int tickRunning;

    // Screen pixels per art pixel of her frames, for her window and the panel
    // beside her, as the monitor she is on asks (app/scale.h); 0 until her
    // window has told its DPI.
    int scale;

    // Handles
    HINSTANCE instance;
    HWND mainWindow;
    HWND infoWindow;
    HWND alarmDialog; // the open alarm dialog; there is never a second one
    HDC infoWindowDC;
    HDC canvasDC;
    HBITMAP canvasBitmap;
    HFONT infoFont;
    HFONT previousFont;
    HBITMAP spriteBitmaps[kFrameCount];
    HRGN spriteRegions[kFrameCount];
    HRGN windowRegion;
    HMENU menuBar;
    HMENU popupMenu;
    NOTIFYICONDATAA trayData;
    HICON trayIcon;
    // The shell's registered message "TaskbarCreated": a new taskbar has no
    // icons, so the mascot adds hers again when it arrives.
    UINT taskbarCreated;
    // Ticks left in which an icon the shell refused is offered again; 0 once
    // it is in the notification area or the time is up.
    int trayRetryTicks;

    // Settings file: 1 once a write has failed in this run and the user is
    // yet to be told, 2 once told.
    int settingsUnwritable;

    // 1 while the mascot window's timer carries the ticks through a menu, a
    // dialog box or a drag (app/idle.h).
    int modalTicks;
};

extern MascotState gMascot;

// True for the nine animation states; state 0 occurs only in the one case
// described at RestoreResumeState.
inline bool IsAnimState(UINT s) { return s >= Reading && s <= ReadingLeadIn; }

// The frame cursor of state s. Callers pass a valid AnimState.
inline UINT& Cursor(UINT s) { return gMascot.frameCursor[s - 1]; }

void EnterState(UINT s);
void StopSoundUnlessAlarm();

// Which states RestoreResumeState primes; callers name their set.
enum PrimeSet : unsigned {
    PrimeReading = 1u << 0,
    PrimeDozing = 1u << 1,
    PrimeLookingAround = 1u << 2,
    PrimeDozingBreeze = 1u << 3,
    PrimeAll = PrimeReading | PrimeDozing | PrimeLookingAround | PrimeDozingBreeze,
};

// Sets the cursor of state s to its fixed starting value when s is in primed.
void PrimeCursor(UINT s, unsigned primed);

// While move mode is on, the moving pose shows over the state the mascot
// returns to when it ends (savedState). What picks her animation meanwhile,
// the alarm's start and every return to resumeState, acts on that state
// underneath: the pose stays, and leaving move mode brings back the right
// state instead of one the alarm has left behind.
UINT StateUnderneath();
void SetStateUnderneath(UINT s);

void RestoreResumeState(unsigned primed);

// After a ringing alarm: RestoreResumeState unless the animation is fixed.
// Fixed, she stays where the alarm put her, and a breeze the alarm broke
// off is over there: its flag would otherwise outlive its breeze state and
// hold the behaviour chooser back for good.
void ReturnAfterAlarm(unsigned primed);
