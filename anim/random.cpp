#include "anim/random.h"

#include "app/state.h"

namespace {

// Seeded by the mascot window's creation, before anything draws.
unsigned int generator;

} // namespace

void SeedRandom() {
    const SYSTEMTIME& t = gMascot.now;
    generator = static_cast<unsigned int>(t.wYear) + t.wMonth + t.wDay + t.wDayOfWeek + t.wHour +
                t.wMinute + t.wSecond;
}

int NextRandom() {
    generator = generator * 214013u + 2531011u;
    return static_cast<int>((generator >> 16) & 0x7FFF);
}

int RandomBelow(int n) {
    const int r = NextRandom();
    const int result = n * r / 32767;
    return result == n ? n - 1 : result;
}
