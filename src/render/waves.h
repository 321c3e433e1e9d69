// The game's periodic functions, read from the same 1024-entry tables it builds, so a wave
// lands on exactly the values the game draws; and its smooth four-dimensional noise.
#pragma once

#include "shader/stage_effects.h"

constexpr int kWaveTableSize = 1024;

// Entry `index` (wrapped into the table) of the form's table. Noise has no table: 0.
float WaveTableValue(TWaveForm form, long long index);

// The table entry for `position` periods, cut the way the game cuts it.
float WaveTableAt(TWaveForm form, double position);

// base + table(phase + time * frequency) * amplitude; noise waves take the noise function.
float EvaluateWave(const TWave& wave, double time);

// The game's lattice noise in [-1, 1], interpolated between integer points.
float LatticeNoise(float x, float y, float z, float t);
