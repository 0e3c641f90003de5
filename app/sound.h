// The only three ways the program uses the sound player. Starting a sound
// replaces whatever was playing; stopping ends whatever plays.
#pragma once

// Loops a WAVE resource of the executable (the breeze, the alarm).
void LoopSoundResource(int resourceId);

// Loops a .wav file looked up from the working directory.
void LoopSoundFile(const char* fileName);

void StopSound();
