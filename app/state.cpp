#include "app/state.h"

#include "app/sound.h"

MascotState gMascot;

void EnterState(UINT s) {
    gMascot.state = s;
    gMascot.resumeState = static_cast<int>(s);
    gMascot.flags.breezeOn = 0;
    gMascot.flags.breezeLength = kNoBreeze;
    gMascot.breezeTicks = 0;
}

void StopSoundUnlessAlarm() {
    if (gMascot.flags.alarmRinging == 0)
        StopSound();
}

void PrimeCursor(UINT s, unsigned primed) {
    switch (s) {
    case Reading:
        if (primed & PrimeReading)
            Cursor(Reading) = 2;
        break;
    case Dozing:
        if (primed & PrimeDozing)
            Cursor(Dozing) = 2;
        break;
    case LookingAround:
        if (primed & PrimeLookingAround)
            Cursor(LookingAround) = 1;
        break;
    case DozingBreeze:
        if (primed & PrimeDozingBreeze)
            Cursor(DozingBreeze) = 2;
        break;
    default: break;
    }
}

UINT StateUnderneath() {
    return gMascot.flags.moveMode == 1 ? static_cast<UINT>(gMascot.saved.savedState)
                                       : gMascot.state;
}

void SetStateUnderneath(UINT s) {
    if (gMascot.flags.moveMode == 1)
        gMascot.saved.savedState = static_cast<int>(s);
    else
        gMascot.state = s;
}

namespace {

// The states in which a breeze blows: the three breeze states and 団扇.
bool CarriesBreeze(UINT s) {
    return s == Fanning || s == LookingAroundBreeze || s == DozingBreeze || s == ReadingBreeze;
}

void EndBreezeLeftBehind() {
    const UINT shown = StateUnderneath();
    if (gMascot.flags.breezeOn == 1 && !CarriesBreeze(shown)) {
        gMascot.flags.breezeOn = 0;
        gMascot.flags.breezeLength = kNoBreeze;
        // Nor is the breeze state the state to return to any more.
        gMascot.resumeState = static_cast<int>(shown);
    }
}

} // namespace

void ReturnAfterAlarm(unsigned primed) {
    if (gMascot.flags.animLock == 0)
        RestoreResumeState(primed);
    else
        EndBreezeLeftBehind();
}

void RestoreResumeState(unsigned primed) {
    // resumeState is still 0 when an alarm that began under the animation
    // lock is silenced before anything has entered a state since start-up.
    // There is no animation for state 0, so the mascot then goes on with the
    // state it shows; the next state change works as usual.
    if (IsAnimState(static_cast<UINT>(gMascot.resumeState)))
        SetStateUnderneath(static_cast<UINT>(gMascot.resumeState));
    PrimeCursor(StateUnderneath(), primed);
    // A breeze state returned to runs its whole breeze anew; behind the
    // moving pose it starts when move mode ends.
    gMascot.breezeTicks = 0;
}
