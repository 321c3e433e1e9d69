// Removing surfaces and merging surfaces that share a shader.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "md3/md3.h"

namespace {

// The name surfaces are merged by; a surface without shader records has the empty name.
std::string FirstShaderName(const TSurface& s) {
    if (s.numShaders <= 0 || s.shaders.empty()) return {};
    return NameFieldText(s.shaders[0].name);
}

// Merging copies whole arrays by the counts; a surface whose arrays disagree with them
// (only possible after a faulty import) is left alone.
bool ArraysMatchCounts(const TSurface& s, std::size_t frames) {
    return s.numVerts >= 0 && s.numTriangles >= 0 &&
           s.triangles.size() == static_cast<std::size_t>(s.numTriangles) &&
           s.texCoords.size() == static_cast<std::size_t>(s.numVerts) &&
           s.vertices.size() == static_cast<std::size_t>(s.numVerts) * frames;
}

// Appends j's triangles, texture coordinates and vertices to i, frame by frame.
void MergeSurface(TSurface& into, const TSurface& from, std::size_t frames) {
    const std::size_t v = static_cast<std::size_t>(into.numVerts);
    const std::size_t w = static_cast<std::size_t>(from.numVerts);
    for (TMD3Triangle t : from.triangles) {
        for (std::int32_t& index : t.indexes)
            index += static_cast<std::int32_t>(v);
        into.triangles.push_back(t);
    }
    // The t bits as read stay with their coordinates while both surfaces have them.
    if (into.texCoordTAsRead.size() == into.texCoords.size() &&
        from.texCoordTAsRead.size() == from.texCoords.size()) {
        into.texCoordTAsRead.insert(into.texCoordTAsRead.end(), from.texCoordTAsRead.begin(),
                                    from.texCoordTAsRead.end());
    } else {
        into.texCoordTAsRead.clear();
    }
    into.texCoords.insert(into.texCoords.end(), from.texCoords.begin(), from.texCoords.end());
    std::vector<TMD3Vertex> vertices;
    vertices.reserve((v + w) * frames);
    for (std::size_t f = 0; f < frames; ++f) {
        vertices.insert(vertices.end(), into.vertices.begin() + f * v,
                        into.vertices.begin() + (f + 1) * v);
        vertices.insert(vertices.end(), from.vertices.begin() + f * w,
                        from.vertices.begin() + (f + 1) * w);
    }
    into.vertices = std::move(vertices);
    into.numVerts += from.numVerts;
    into.numTriangles += from.numTriangles;
}

}  // namespace

bool TMD3::RemoveSurface(int surface) {
    if (!ValidSurface(surface)) return false;
    header.surfaces.erase(header.surfaces.begin() + surface);
    header.numSurfaces -= 1;
    return true;
}

void TMD3::CompactSurfaces() {
    const std::size_t count =
        std::min(static_cast<std::size_t>(header.numSurfaces > 0 ? header.numSurfaces : 0),
                 header.surfaces.size());
    const std::size_t frames =
        static_cast<std::size_t>(header.numFrames > 0 ? header.numFrames : 0);
    std::vector<bool> merged(count, false);
    std::vector<TSurface>& s = header.surfaces;

    for (std::size_t i = 0; i < count; ++i) {
        if (merged[i] || !ArraysMatchCounts(s[i], frames)) continue;
        const std::string key = FirstShaderName(s[i]);
        int vertexBudget = kMD3MaxVerts - s[i].numVerts;
        int triangleBudget = kMD3MaxTriangles - s[i].numTriangles;
        for (std::size_t j = i + 1; j < count; ++j) {
            if (merged[j] || FirstShaderName(s[j]) != key || !ArraysMatchCounts(s[j], frames)) {
                continue;
            }
            if (s[j].numVerts >= vertexBudget || s[j].numTriangles >= triangleBudget) continue;
            vertexBudget -= s[j].numVerts;
            triangleBudget -= s[j].numTriangles;
            MergeSurface(s[i], s[j], frames);
            s[j] = TSurface{};
            merged[j] = true;
        }
    }

    // Fill the holes from the back, so only the last surfaces change their place.
    for (std::size_t i = 0; i < count; ++i) {
        if (!merged[i]) continue;
        std::size_t last = count;
        while (last > 0 && merged[last - 1])
            --last;
        if (last == 0 || last - 1 <= i) break;
        s[i] = std::move(s[last - 1]);
        s[last - 1] = TSurface{};
        merged[last - 1] = true;
        merged[i] = false;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i)
        kept += merged[i] ? 0 : 1;
    s.resize(kept);
    header.numSurfaces = static_cast<std::int32_t>(kept);
}
