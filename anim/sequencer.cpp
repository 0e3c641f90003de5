#include "anim/sequencer.h"

#include "anim/sprites.h"
#include "app/sound.h"
#include "res/resource.h"

namespace {

constexpr int kReading[] = {0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3};
constexpr int kMoving[] = {5, 6, 7, 8};
constexpr int kDozing[] = {9, 9, 9, 10, 10, 10, 11, 11, 11};
constexpr int kFanning[] = {12, 13, 14};
constexpr int kLookingAround[] = {17, 17, 15, 15, 18, 15, 15, 18, 15, 15, 16, 16};
constexpr int kLookingAroundBreeze[] = {18, 20, 18, 19, 20, 19};
constexpr int kDozingBreeze[] = {9, 9, 9, 21, 21, 21, 11, 11, 11};
constexpr int kReadingBreeze[] = {22, 23, 24, 22, 23, 24, 22};
constexpr int kReadingLeadIn[] = {15, 25, 25, 25, 0, 0};

// The lead-in hands over to Reading when its cursor reaches this entry.
constexpr UINT kLeadInHandOver = 4;

template <size_t N> constexpr FrameSequence Sequence(const int (&frames)[N]) {
    return FrameSequence{frames, static_cast<UINT>(N)};
}

// The two table entries of one step: the frame the step leaves and the one
// it shows.
struct Step {
    int prev;
    int next;
};

// Where a breeze state returns when its breeze ends.
struct BreezeReturn {
    UINT plain;
    UINT cursor;
};

BreezeReturn ReturnOf(UINT breezeState) {
    switch (breezeState) {
    case LookingAroundBreeze: return {LookingAround, 1};
    case DozingBreeze: return {Dozing, 1};
    default: return {Reading, 2};
    }
}

Step PlainAdvance(UINT s) {
    const FrameSequence& sequence = frameSequence[s - 1];
    UINT& cursor = Cursor(s);
    const int prev = SequenceFrame(s, cursor);
    cursor = (cursor + 1) % sequence.length;
    return {prev, sequence.frames[cursor]};
}

bool BreezeEndDue() {
    const int length = gMascot.flags.breezeLength;
    return length >= 0 && length < kNoBreeze && gMascot.breezeTicks == breezeEndStep[length];
}

void StartBreezeSound() { LoopSoundResource(IDW_BREEZE); }

// A breeze in Fanning changes no frame, only the sound and the count.
Step StepFanning() {
    if (gMascot.flags.breezeOn == 1 && gMascot.breezeTicks == 0 && gMascot.flags.alarmRinging == 0)
        StartBreezeSound();
    // The count stays where the breeze ended: every way into a breeze
    // starts it again from 0.
    if (BreezeEndDue()) {
        StopSoundUnlessAlarm();
        gMascot.flags.breezeOn = 0;
        gMascot.flags.breezeLength = kNoBreeze;
    }
    const Step step = PlainAdvance(Fanning);
    if (gMascot.flags.breezeOn == 1)
        gMascot.breezeTicks += 1;
    return step;
}

Step EndBreeze(UINT breezeState) {
    StopSoundUnlessAlarm();
    const BreezeReturn back = ReturnOf(breezeState);
    // The step compares with the Reading table whatever state it returns
    // to; the shape check in StepAnimation covers the difference.
    const int prev = SequenceFrame(Reading, Cursor(back.plain));
    Cursor(back.plain) = back.cursor;
    gMascot.flags.breezeOn = 0;
    gMascot.flags.breezeLength = kNoBreeze;
    gMascot.state = back.plain;
    gMascot.resumeState = static_cast<int>(back.plain);
    return {prev, SequenceFrame(back.plain, back.cursor)};
}

Step StepBreezeState(UINT s) {
    if (gMascot.breezeTicks == 0 && gMascot.flags.alarmRinging == 0)
        StartBreezeSound();
    if (BreezeEndDue())
        return EndBreeze(s);
    const Step step = PlainAdvance(s);
    gMascot.breezeTicks += 1;
    return step;
}

// The lead-in becomes Reading by itself; its cursor stays at the hand-over
// entry, so a later lead-in goes straight to Reading.
Step StepLeadIn() {
    if (Cursor(ReadingLeadIn) != kLeadInHandOver)
        return PlainAdvance(ReadingLeadIn);
    const int prev = SequenceFrame(Reading, Cursor(Reading));
    Cursor(Reading) = 2;
    gMascot.state = Reading;
    return {prev, SequenceFrame(Reading, 2)};
}

Step StepState(UINT s) {
    switch (s) {
    case Fanning: return StepFanning();
    case LookingAroundBreeze:
    case DozingBreeze:
    case ReadingBreeze: return StepBreezeState(s);
    case ReadingLeadIn: return StepLeadIn();
    default: return PlainAdvance(s);
    }
}

} // namespace

const FrameSequence frameSequence[kAnimStateCount] = {
    Sequence(kReading),      Sequence(kMoving),        Sequence(kDozing),
    Sequence(kFanning),      Sequence(kLookingAround), Sequence(kLookingAroundBreeze),
    Sequence(kDozingBreeze), Sequence(kReadingBreeze), Sequence(kReadingLeadIn),
};

const int breezeEndStep[kNoBreeze] = {23, 45, 69, 95, 115, 140};

int SequenceFrame(UINT s, UINT cursor) {
    const FrameSequence& sequence = frameSequence[s - 1];
    return sequence.frames[cursor % sequence.length];
}

void StepAnimation() {
    // State 0 (a restore before any state was recorded) has no sequence:
    // the mascot keeps showing its frame until the next state change.
    if (IsAnimState(gMascot.state)) {
        const Step step = StepState(gMascot.state);
        // The window's shape must match the frame painted. Comparing only
        // the two table entries would leave the old shape on a state change
        // whose entries happen to agree, showing key colour around the new
        // frame; comparing with the frame on screen as well closes that gap.
        if (step.next != step.prev || step.next != gMascot.currentFrame)
            ApplySpriteRegion(gMascot.mainWindow, step.next, TRUE);
        gMascot.currentFrame = step.next;
    }
    DrawFrame();
}

bool StartBreeze() {
    switch (gMascot.state) {
    case Reading:
        gMascot.state = ReadingBreeze;
        gMascot.resumeState = ReadingBreeze;
        break;
    case Fanning: break;
    case Dozing:
        gMascot.state = DozingBreeze;
        Cursor(DozingBreeze) = 2;
        gMascot.resumeState = DozingBreeze;
        break;
    case LookingAround:
        gMascot.state = LookingAroundBreeze;
        gMascot.resumeState = LookingAroundBreeze;
        break;
    default: return false;
    }
    gMascot.flags.breezeOn = 1;
    gMascot.breezeTicks = 0;
    return true;
}
