#include "anim/chooser.h"

#include "anim/random.h"
#include "anim/sequencer.h"
#include "app/platform.h"
#include "app/state.h"

namespace {

// The chooser counts this many calls before the next one acts.
constexpr int kCallsBetweenActs = 117;

// Lowest draw of each length code 0 to 4, for hours 4 to 23 and for hours
// 0 to 3; a draw below the first brings no breeze. Small hours draw fewer
// and shorter breezes and never code 4.
constexpr int kLowestDraw[2][5] = {{12, 16, 20, 22, 23}, {14, 17, 20, 23, 24}};

void EnterLookingAround() {
    Cursor(LookingAround) = 1;
    EnterState(LookingAround);
}

void EnterDozing() {
    Cursor(Dozing) = 2;
    EnterState(Dozing);
}

void DrawBreeze() {
    const int length = BreezeLengthFor(RandomBelow(24), gMascot.now.wHour);
    if (length == kNoBreeze)
        return;
    // The code stays stored even where StartBreeze finds no breeze variant.
    gMascot.flags.breezeLength = length;
    StopSoundUnlessAlarm();
    StartBreeze();
}

void ChangeAtNight() {
    if (gMascot.state == Dozing) {
        if (RandomBelow(10) == 9)
            EnterLookingAround();
    } else if (RandomBelow(4) == 3) {
        EnterDozing();
    }
}

void ChangeByDay() {
    if (gMascot.state == Reading) {
        if (RandomBelow(10) == 9) {
            if (RandomBelow(3) == 0)
                EnterLookingAround();
            else
                EnterState(Fanning);
        }
    } else if (RandomBelow(4) == 3) {
        EnterState(ReadingLeadIn);
    }
}

void ChangeInAfternoon() {
    if (gMascot.state == Fanning) {
        if (RandomBelow(10) == 9) {
            if (RandomBelow(3) == 0)
                EnterState(ReadingLeadIn);
            else
                EnterDozing();
        }
    } else if (RandomBelow(4) == 3) {
        EnterState(Fanning);
    }
}

void ChangeBehaviour() {
    switch (BandOfHour(gMascot.now.wHour)) {
    case HourBand::Night: ChangeAtNight(); break;
    case HourBand::Day: ChangeByDay(); break;
    case HourBand::Afternoon: ChangeInAfternoon(); break;
    }
}

} // namespace

HourBand BandOfHour(WORD hour) {
    if (hour <= 4 || hour >= 22)
        return HourBand::Night;
    if (hour >= 13 && hour <= 15)
        return HourBand::Afternoon;
    return HourBand::Day;
}

int BreezeLengthFor(int r, WORD hour) {
    const int* lowest = kLowestDraw[hour <= 3 ? 1 : 0];
    int length = kNoBreeze;
    for (int code = 0; code < 5; ++code)
        if (r >= lowest[code])
            length = code;
    return length;
}

void ChooseBehaviour() {
    // A fixed animation or move mode freezes the count where it stands.
    if (gMascot.flags.animLock == 1 || gMascot.flags.moveMode == 1)
        return;
    if (gMascot.chooserTicks < kCallsBetweenActs) {
        gMascot.chooserTicks += 1;
        return;
    }
    PlatformLocalTime(&gMascot.now);
    const bool quiet = gMascot.flags.alarmRinging == 0 && gMascot.flags.breezeOn == 0;
    if (gMascot.now.wMinute % 5 == 0 && quiet && gMascot.flags.breezeLength == kNoBreeze)
        DrawBreeze();
    else if (quiet)
        ChangeBehaviour();
    gMascot.chooserTicks = 0;
}
