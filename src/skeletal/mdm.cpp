#include "skeletal/mdm.h"

#include <algorithm>
#include <cstring>

#include "md3/md3.h"

void TMDM::Clear() {
    surfaces.clear();
    tags.clear();
    header.numSurfaces = 0;
    header.numTags = 0;
    lod = {};
}

bool TMDM::IsValid() const {
    return std::memcmp(header.ident, kMDMIdent, 4) == 0;
}

bool TMDM::HasLodData() const {
    for (const TMDMSurface& s : surfaces) {
        for (TMDMCollapseMap entry : s.collapseMap) {
            if (entry != 0) return true;
        }
    }
    return false;
}

void TMDM::SetSurfaceShader(int surface, std::string_view text) {
    if (!ValidSurface(surface)) return;
    SetNameField(text, surfaces[static_cast<std::size_t>(surface)].shader);
}

bool TMDM::RemoveSurface(int surface) {
    if (!ValidSurface(surface)) return false;
    surfaces.erase(surfaces.begin() + surface);
    --header.numSurfaces;
    if (static_cast<std::size_t>(surface) < lod.size()) {
        std::move(lod.begin() + surface + 1, lod.end(), lod.begin() + surface);
        lod.back() = {};
        // A 33rd surface moving up into the table gets the entry a load gives it.
        if (surfaces.size() >= lod.size()) {
            const auto verts = static_cast<std::int32_t>(surfaces[lod.size() - 1].numVerts);
            lod.back() = {verts, verts};
        }
    }
    return true;
}

void TMDM::ClearShaderIndexes() {
    for (TMDMSurface& s : surfaces)
        s.shaderIndex = -1;
}

void TMDM::ResetLodTable() {
    lod = {};
    for (std::size_t i = 0; i < surfaces.size() && i < lod.size(); ++i) {
        const auto verts = static_cast<std::int32_t>(surfaces[i].numVerts);
        lod[i] = {verts, verts};
    }
}

void TMDM::LodTableFromMinLod() {
    lod = {};
    for (std::size_t i = 0; i < surfaces.size() && i < lod.size(); ++i)
        lod[i] = {static_cast<std::int32_t>(surfaces[i].numVerts), surfaces[i].minLod};
}

std::int64_t TMDM::VerticesSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    std::int64_t size = 0;
    for (const TMDMVertex& v : surfaces[static_cast<std::size_t>(surface)].vertices) {
        size += std::int64_t{sizeof(TMDMVertexRecord)} +
                std::int64_t{sizeof(TMDMWeight)} * std::int64_t{v.numWeights};
    }
    return size;
}

std::int64_t TMDM::TrianglesSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return std::int64_t{sizeof(TMDMTriangle)} *
           surfaces[static_cast<std::size_t>(surface)].numTriangles;
}

std::int64_t TMDM::CollapseMapSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return std::int64_t{sizeof(TMDMCollapseMap)} *
           surfaces[static_cast<std::size_t>(surface)].numVerts;
}

std::int64_t TMDM::BoneReferencesSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return std::int64_t{sizeof(TMDMSurfaceBoneRefs)} *
           surfaces[static_cast<std::size_t>(surface)].numBoneReferences;
}

std::int64_t TMDM::SurfaceSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return SurfaceHeaderSize() + VerticesSize(surface) + TrianglesSize(surface) +
           CollapseMapSize(surface) + BoneReferencesSize(surface);
}

std::int64_t TMDM::TagsSize() const {
    std::int64_t size = 0;
    for (const TMDMTag& t : tags) {
        size += std::int64_t{sizeof(TMDMTagRecord)} +
                std::int64_t{sizeof(TMDMSurfaceBoneRefs)} * t.numBoneReferences;
    }
    return size;
}

std::string TMDM::CountMismatch() const {
    if (surfaces.size() != header.numSurfaces)
        return "the surface count disagrees with the surfaces";
    if (tags.size() != header.numTags) return "the tag count disagrees with the tags";
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const TMDMSurface& s = surfaces[i];
        const std::string what = "surface " + std::to_string(i);
        if (s.vertices.size() != s.numVerts || s.collapseMap.size() != s.numVerts) {
            return what + ": the vertex count disagrees with its arrays";
        }
        if (s.triangles.size() != s.numTriangles) {
            return what + ": the triangle count disagrees with the triangles";
        }
        if (s.boneReferences.size() != s.numBoneReferences) {
            return what + ": the bone reference count disagrees with the references";
        }
        for (const TMDMVertex& v : s.vertices) {
            if (v.numWeights < 0 || v.weights.size() != static_cast<std::size_t>(v.numWeights)) {
                return what + ": a weight count disagrees with its weights";
            }
        }
    }
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].boneReferences.size() != tags[i].numBoneReferences) {
            return "tag " + std::to_string(i) +
                   ": the bone reference count disagrees with the references";
        }
    }
    return "";
}
