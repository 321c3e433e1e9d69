// The ".tag" file ("TAG3") on its own: one set of tags without frames. The model's tag
// commands and the command-line tools that describe or write tag files share these.
#pragma once

#include <string>
#include <vector>

#include "md3/md3.h"

class ByteSink;
class ByteSource;

// Reads every tag of a tag file (a file may hold none). Throws FileError when the file
// cannot be opened; a file too short for its header or its tags, or not "TAG3" version 1,
// gives false with the reason in `error`.
bool ReadTagFile(const std::string& fileName, std::vector<TMD3Tag>& tags, std::string& error);
bool ReadTagFile(const ByteSource& file, std::vector<TMD3Tag>& tags, std::string& error);

// Writes `tags` as a tag file into a prepared sink and finishes it (a file writer without
// replacing the target). False with the reason in `error` when there are too many tags or
// writing failed.
bool WriteTagFile(ByteSink& out, const std::vector<TMD3Tag>& tags, std::string& error);
