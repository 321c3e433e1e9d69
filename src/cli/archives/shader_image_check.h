// The archive side of `veldra-cli check --game`: shader images looked for in the game's
// etmain folder and PAKs.
#pragma once

void InstallShaderImageCheck();
