// Game data comes from Windows, where letter case in file names does not matter; on disk
// here it does. These lookups bridge the two.
#pragma once

#include <optional>
#include <string>

// The path of an existing regular file that `path` names when letter case (ASCII) is ignored
// in every component. An exact match is preferred at every level; among several folders or
// files that differ only in case, the first by name wins. "." and ".." are taken literally.
std::optional<std::string> FindFileIgnoringCase(const std::string& path);
