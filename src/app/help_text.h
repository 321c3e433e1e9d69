// The text of the "Help" tab.
#pragma once

#include <QString>

QString HelpText();

// The README's "Using Veldra" section as Markdown, without its pictures, for the help window.
QString UsingVeldraText();
