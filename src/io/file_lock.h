// Whether another program is working on a file: it counts as in use only while someone else
// holds a conflicting advisory lock on it. A missing or read-only file is not in use.
#pragma once

#include <string>

bool IsFileInUse(const std::string& path);
