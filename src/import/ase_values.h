// The readers of the values on one trimmed ASE line. Numbers that do not parse never fail:
// each reader says what it falls back to.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "import/ase.h"

// Text between the first double quote and the next one (or the line's end); empty without a
// quote.
std::string_view AseQuotedText(std::string_view line);

// The number after the keyword: the text after the first space (or, without one, the first
// tab); 0 when it does not parse.
float AseNumberAfterKeyword(std::string_view line);
std::int32_t AseIntegerAfterKeyword(std::string_view line);

// Whole-text parses of a trimmed field; nothing when the text is not entirely a number.
std::optional<float> AseParseFloat(std::string_view text);
std::optional<std::int32_t> AseParseInteger(std::string_view text);

// A "*MESH_VERTEX" line: (0, 0, 0) when a coordinate does not parse.
TVector3 AseReadVertex(std::string_view line);

// A "*MESH_TVERT" line; a value that does not parse keeps its value in `vertex`.
void AseReadMappingVertex(std::string_view line, TASEMappingVertex& vertex);

// A "*MESH_TFACE" line; an index that does not parse keeps its value in `face`.
void AseReadMappingFace(std::string_view line, TASEMappingFace& face);

// A "*MESH_FACE" line; a value that is missing or does not parse keeps its value in `face`.
void AseReadFace(std::string_view line, TASEFace& face);
