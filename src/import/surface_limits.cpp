#include "import/surface_limits.h"

#include "io/user_prompts.h"
#include "md3/md3.h"

namespace {

TSurface EmptyPiece(const TSurface& whole, int number) {
    TSurface piece;
    static_cast<TMD3SurfaceRecord&>(piece) = whole;
    piece.shaders = whole.shaders;
    if (number > 1) SetName64(NameFieldText(whole.name) + "_" + std::to_string(number), piece.name);
    return piece;
}

void ClosePiece(TSurface& piece) {
    piece.numVerts = static_cast<std::int32_t>(piece.texCoords.size());
    piece.numTriangles = static_cast<std::int32_t>(piece.triangles.size());
}

}  // namespace

TSurfaceLimit PassedLimit(const TSurface& surface, int maxVerts) {
    if (surface.numVerts > maxVerts) return TSurfaceLimit::Vertices;
    if (surface.numTriangles > kMD3MaxTriangles) return TSurfaceLimit::Triangles;
    return TSurfaceLimit::None;
}

std::vector<TSurface> SplitSurface(const TSurface& surface, int maxVerts) {
    std::vector<TSurface> pieces;
    // The new index of each vertex in the piece being filled, -1 when not in it yet.
    std::vector<std::int32_t> newIndex(surface.texCoords.size(), -1);
    std::vector<std::int32_t> used;
    pieces.push_back(EmptyPiece(surface, 1));
    for (const TMD3Triangle& triangle : surface.triangles) {
        int fresh = 0;
        for (std::int32_t v : triangle.indexes)
            if (newIndex[static_cast<std::size_t>(v)] < 0) ++fresh;
        TSurface* piece = &pieces.back();
        if (static_cast<int>(piece->texCoords.size()) + fresh > maxVerts ||
            static_cast<int>(piece->triangles.size()) >= kMD3MaxTriangles) {
            ClosePiece(*piece);
            for (std::int32_t v : used)
                newIndex[static_cast<std::size_t>(v)] = -1;
            used.clear();
            pieces.push_back(EmptyPiece(surface, static_cast<int>(pieces.size()) + 1));
            piece = &pieces.back();
        }
        TMD3Triangle out;
        for (int j = 0; j < 3; ++j) {
            const auto v = static_cast<std::size_t>(triangle.indexes[j]);
            if (newIndex[v] < 0) {
                newIndex[v] = static_cast<std::int32_t>(piece->texCoords.size());
                used.push_back(triangle.indexes[j]);
                piece->texCoords.push_back(surface.texCoords[v]);
                piece->vertices.push_back(surface.vertices[v]);
            }
            out.indexes[j] = newIndex[v];
        }
        piece->triangles.push_back(out);
    }
    ClosePiece(pieces.back());
    return pieces;
}

bool AskToSplit(const std::string& limitText, UserPrompts* prompts) {
    return prompts != nullptr && prompts->Ask(kSplitQuestionCaption, limitText + kSplitQuestionText,
                                              PromptButtons::YesNo) == PromptAnswer::Yes;
}

bool FitSurfaceLimits(std::vector<TSurface>& surfaces, int maxVerts, const TLimitTexts& texts,
                      UserPrompts* prompts, std::string& message) {
    for (const TSurface& s : surfaces) {
        const TSurfaceLimit limit = PassedLimit(s, maxVerts);
        if (limit == TSurfaceLimit::None) continue;
        const std::string text = texts.surfacePast(s, limit);
        if (!AskToSplit(text, prompts)) {
            message = text;
            return false;
        }
        std::vector<TSurface> fitted;
        for (const TSurface& whole : surfaces) {
            if (PassedLimit(whole, maxVerts) == TSurfaceLimit::None) {
                fitted.push_back(whole);
                continue;
            }
            for (TSurface& piece : SplitSurface(whole, maxVerts))
                fitted.push_back(std::move(piece));
        }
        surfaces = std::move(fitted);
        break;
    }
    if (surfaces.size() > static_cast<std::size_t>(kMD3MaxSurfaces)) {
        message = "MAX_SURFACES limit exceeded: " + std::to_string(surfaces.size()) + " > " +
                  std::to_string(kMD3MaxSurfaces) + "\r\n" + texts.tooManySurfaces;
        return false;
    }
    return true;
}
