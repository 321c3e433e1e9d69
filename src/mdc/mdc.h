// MDC files held as TMD3 models: TMD3::LoadFromFile decodes them as the game draws them, and
// TMD3::SaveToFile writes one for a name ending in ".mdc". What a model read from an MDC keeps
// lets an unchanged model go back byte for byte, and a model whose vertices or tags did not
// change keep the compressed frames or tag records it was read with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "md3/md3.h"
#include "mdc/mdc_format.h"

struct TMDCSource {
    // Where a surface's frame blocks lie in `bytes`.
    struct SurfaceBlocks {
        std::int32_t numBaseFrames = 0;
        std::int32_t numCompFrames = 0;
        std::int64_t baseVertices = 0;     // numVerts x numBaseFrames TMD3Vertex
        std::int64_t compVertices = 0;     // numVerts x numCompFrames TMDCCompressedVertex
        std::int64_t frameBaseFrames = 0;  // numFrames int16
        std::int64_t frameCompFrames = 0;  // numFrames int16, when numCompFrames > 0
    };

    // The whole file as read. What it decodes to is not kept: decoding it again when the model
    // is saved tells what changed, at a fraction of the cost of keeping a copy.
    std::vector<char> bytes;
    std::int64_t tags = 0;  // numFrames x numTags TMDCTagRecord
    std::vector<SurfaceBlocks> surfaces;
};

class ByteSource;

// Decodes a whole MDC file into `header` (held as an MD3) and where its blocks lie into
// `blocks` (whose bytes stay empty); false with the reason in `error`.
bool DecodeMDC(const std::vector<char>& bytes, THeader& header, TMDCSource& blocks,
               std::string& error);

// Whether a file starts with the MDC identifier.
bool IsMDCFile(const ByteSource& file);
// Whether a file name ends in ".mdc", in any case.
bool IsMDCFileName(std::string_view fileName);

// The MDC file of a model whose arrays match its counts, as WriteMDCTo writes it; false with
// the reason in `error` when the model does not fit the format.
bool MDCFileBytes(const TMD3& model, std::vector<char>& bytes, std::string& error);

// Whether the models hold the same frames, tags, surfaces and names: everything an MDC writer
// stores. Shader records compare by name, as the writer keeps the file's number for a name
// that did not change.
bool SameMDCModel(const THeader& a, const THeader& b);
// Whether every surface holds the same vertices in the same number of frames.
bool SameMDCGeometry(const THeader& a, const THeader& b);
// Whether every tag of every frame has the same origin and axes (names aside).
bool SameMDCTagPlaces(const THeader& a, const THeader& b);
