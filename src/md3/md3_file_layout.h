// Where the blocks of a file that was read lay. Real models store their blocks in many
// orders (triangles before shaders, tags after surfaces) and some leave bytes between them;
// writing an unchanged model back where its blocks came from, gaps included, gives the file
// it was read from byte for byte.
#pragma once

#include <cstdint>
#include <vector>

#include "md3/md3_format.h"

class ByteSource;
struct THeader;

struct TMD3FileLayout {
    // A stretch of the file no block covers, with its bytes.
    struct Gap {
        std::int64_t offset = 0;
        std::vector<char> bytes;
    };

    // False for a model built in memory and for a file whose blocks overlap: those are
    // written in the fixed order.
    bool valid = false;
    // The header and surface headers as read: the counts the blocks were sized for and the
    // offsets they lay at.
    TMD3HeaderRecord header;
    std::vector<TMD3SurfaceRecord> surfaces;
    std::vector<std::int64_t> surfacePositions;
    std::vector<Gap> gaps;
    std::int64_t fileSize = 0;

    // Whether the model's blocks still have the sizes they had in the file, so that each
    // fits where it came from.
    bool Fits(const THeader& model) const;
};

// Finds the blocks of `layout`'s header and surface records in `file` and keeps the bytes
// between and after them. False, leaving the layout not valid, when blocks overlap.
bool CompleteFileLayout(const ByteSource& file, TMD3FileLayout& layout);
