// The README the program was built with, as Markdown.
#pragma once

const char* ReadmeText();
