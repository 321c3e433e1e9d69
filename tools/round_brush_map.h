// Map text whose brushes keep the map importer's corner search busy: round brushes of many
// faces, as domes and columns are built in a level. For the benchmark and for tests that need
// a conversion lasting long enough to be watched and cancelled.
#pragma once

#include <string>

// A worldspawn of `brushes` round brushes of `faces` faces each, side by side within the
// reach of MD3 positions, all with one texture.
std::string RoundBrushMap(int brushes, int faces);
