// The program's one pseudo-random source: a 15-bit linear congruential
// generator seeded from the clock at start-up.
#pragma once

void SeedRandom();
int NextRandom();
int RandomBelow(int n);
