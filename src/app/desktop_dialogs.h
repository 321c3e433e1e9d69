// The program's own dialogs (file, folder, colour, text and message boxes) as the answers
// to the window's questions.
#pragma once

class TMainWindow;

void UseDesktopDialogs(TMainWindow& window);
