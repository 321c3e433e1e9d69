// The text of the "Help" tab.
#pragma once

#include <QString>

QString HelpText();
