// Texture sizes for `convert IN.map --game DIR`: the images the game data resolves the map's
// texture names to, read in the program that reads archives.
#pragma once

void InstallGameTextureSizes();
