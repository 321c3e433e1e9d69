#include "import/map_face_line.h"

#include <charconv>
#include <cmath>

namespace {

constexpr std::size_t kMinClassicTokens = 15;
// Three points in parentheses, the matrix with its six parentheses, and the texture.
constexpr std::size_t kMinBrushDefTokens = 28;

float TokenAt(const std::vector<std::string_view>& tokens, std::size_t index, float fallback) {
    return index < tokens.size() ? MapNumber(tokens[index], fallback) : fallback;
}

TVector3 PointAt(const std::vector<std::string_view>& tokens, std::size_t first) {
    return {TokenAt(tokens, first, 0.0f), TokenAt(tokens, first + 1, 0.0f),
            TokenAt(tokens, first + 2, 0.0f)};
}

// Exact 0 becomes +0 and a component within 0.001 of a unit becomes that unit, so that
// axial faces compare and project exactly.
float CleanNormalComponent(float c) {
    if (c == 0.0f) return 0.0f;
    if (1.0f - std::fabs(c) < 0.001f) return c < 0.0f ? -1.0f : 1.0f;
    return c;
}

// The points as the importer works with them (z negated), the face plane and its distance.
void SetPlane(TMapFace& face, TVector3 p1, TVector3 p2, TVector3 p3) {
    face.p1 = {p1.x, p1.y, -p1.z};
    face.p2 = {p2.x, p2.y, -p2.z};
    face.p3 = {p3.x, p3.y, -p3.z};
    TVector3 n = TriangleNormal(face.p1, face.p3, face.p2);
    face.normal = {CleanNormalComponent(n.x), CleanNormalComponent(n.y), CleanNormalComponent(n.z)};
    face.distance = -VectorDot(face.normal, face.p1);
    face.used = true;
}

}  // namespace

std::vector<std::string_view> SplitMapTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char quote = line[i];
        if (quote == '"' || quote == '\'') {
            const std::size_t close = line.find(quote, i + 1);
            i = close == std::string_view::npos ? line.size() : close + 1;
        } else {
            while (i < line.size() && line[i] != ' ')
                ++i;
        }
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

float MapNumber(std::string_view token, float fallback) {
    float value = 0.0f;
    const char* end = token.data() + token.size();
    const auto [ptr, ec] = std::from_chars(token.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return fallback;
    return value;
}

bool ReadFaceLine(std::string_view line, TMapFace& face) {
    const std::vector<std::string_view> tokens = SplitMapTokens(line);
    if (tokens.size() < kMinClassicTokens) return false;
    SetPlane(face, PointAt(tokens, 1), PointAt(tokens, 6), PointAt(tokens, 11));
    face.projection = TMapProjection::Classic;
    face.textureName = tokens.size() > 15 ? std::string(tokens[15]) : std::string();
    face.shiftS = TokenAt(tokens, 16, 0.0f);
    face.shiftT = TokenAt(tokens, 17, 0.0f);
    face.rotation = TokenAt(tokens, 18, 0.0f);
    face.scaleS = TokenAt(tokens, 19, 1.0f);
    face.scaleT = TokenAt(tokens, 20, 1.0f);
    if (face.scaleS == 0.0f) face.scaleS = 1.0f;
    if (face.scaleT == 0.0f) face.scaleT = 1.0f;
    return true;
}

bool ReadBrushDefFaceLine(std::string_view line, TMapFace& face) {
    const std::vector<std::string_view> tokens = SplitMapTokens(line);
    if (tokens.size() < kMinBrushDefTokens) return false;
    SetPlane(face, PointAt(tokens, 1), PointAt(tokens, 6), PointAt(tokens, 11));
    face.projection = TMapProjection::Matrix;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column)
            face.matrix[row][column] = TokenAt(tokens, 17 + 5 * row + column, 0.0f);
    }
    face.textureName = std::string(tokens[27]);
    return true;
}
