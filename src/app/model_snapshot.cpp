#include "app/model_snapshot.h"

#include <cstring>
#include <type_traits>
#include <vector>

namespace {

template <class T>
std::size_t ArrayBytes(const std::vector<T>& v) {
    return v.capacity() * sizeof(T);
}

// The records are the files' own layouts (their sizes are asserted), so their bytes are
// their whole content.
template <class T>
bool SameBytes(const T& a, const T& b) {
    static_assert(std::is_trivially_copyable_v<T>);
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <class T>
bool SameArray(const std::vector<T>& a, const std::vector<T>& b) {
    static_assert(std::is_trivially_copyable_v<T>);
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

template <class T, class Same>
bool SameEach(const std::vector<T>& a, const std::vector<T>& b, Same same) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i])) return false;
    return true;
}

std::size_t Bytes(const TMD3& md3) {
    const THeader& h = md3.header;
    std::size_t bytes = sizeof(TMD3) + ArrayBytes(h.frames) + ArrayBytes(h.tags) +
                        h.surfaces.capacity() * sizeof(TSurface);
    for (const TSurface& s : h.surfaces)
        bytes += ArrayBytes(s.shaders) + ArrayBytes(s.triangles) + ArrayBytes(s.texCoords) +
                 ArrayBytes(s.vertices) + ArrayBytes(s.texCoordTAsRead);
    return bytes;
}

std::size_t Bytes(const TMDM& mdm) {
    std::size_t bytes = sizeof(TMDM) + mdm.surfaces.capacity() * sizeof(TMDMSurface) +
                        mdm.tags.capacity() * sizeof(TMDMTag);
    for (const TMDMSurface& s : mdm.surfaces) {
        bytes += s.vertices.capacity() * sizeof(TMDMVertex) + ArrayBytes(s.triangles) +
                 ArrayBytes(s.collapseMap) + ArrayBytes(s.boneReferences);
        for (const TMDMVertex& v : s.vertices)
            bytes += ArrayBytes(v.weights);
    }
    for (const TMDMTag& t : mdm.tags)
        bytes += ArrayBytes(t.boneReferences);
    return bytes;
}

std::size_t Bytes(const TMDX& mdx) {
    std::size_t bytes =
        sizeof(TMDX) + mdx.frames.capacity() * sizeof(TMDXFrame) + ArrayBytes(mdx.bones);
    for (const TMDXFrame& f : mdx.frames)
        bytes += ArrayBytes(f.boneFrames);
    return bytes;
}

}  // namespace

std::size_t SnapshotBytes(const TModelSnapshot& snapshot) {
    return (snapshot.md3 ? Bytes(*snapshot.md3) : 0) + (snapshot.mdm ? Bytes(*snapshot.mdm) : 0) +
           (snapshot.mdx ? Bytes(*snapshot.mdx) : 0);
}

bool SameModel(const TMD3& a, const TMD3& b) {
    const THeader& ha = a.header;
    const THeader& hb = b.header;
    return SameBytes<TMD3HeaderRecord>(ha, hb) && SameArray(ha.frames, hb.frames) &&
           SameArray(ha.tags, hb.tags) &&
           SameEach(ha.surfaces, hb.surfaces, [](const TSurface& sa, const TSurface& sb) {
               return SameBytes<TMD3SurfaceRecord>(sa, sb) && SameArray(sa.shaders, sb.shaders) &&
                      SameArray(sa.triangles, sb.triangles) &&
                      SameArray(sa.texCoords, sb.texCoords) &&
                      SameArray(sa.vertices, sb.vertices) &&
                      SameArray(sa.texCoordTAsRead, sb.texCoordTAsRead);
           });
}

bool SameModel(const TMDM& a, const TMDM& b) {
    const auto sameSurface = [](const TMDMSurface& sa, const TMDMSurface& sb) {
        return SameBytes<TMDMSurfaceHeader>(sa, sb) &&
               SameEach(sa.vertices, sb.vertices,
                        [](const TMDMVertex& va, const TMDMVertex& vb) {
                            return SameBytes<TMDMVertexRecord>(va, vb) &&
                                   SameArray(va.weights, vb.weights);
                        }) &&
               SameArray(sa.triangles, sb.triangles) && SameArray(sa.collapseMap, sb.collapseMap) &&
               SameArray(sa.boneReferences, sb.boneReferences);
    };
    const auto sameTag = [](const TMDMTag& ta, const TMDMTag& tb) {
        return SameBytes<TMDMTagRecord>(ta, tb) && SameArray(ta.boneReferences, tb.boneReferences);
    };
    return SameBytes(a.header, b.header) && SameBytes(a.lod, b.lod) &&
           SameEach(a.surfaces, b.surfaces, sameSurface) && SameEach(a.tags, b.tags, sameTag);
}

bool SameModel(const TMDX& a, const TMDX& b) {
    return SameBytes(a.header, b.header) && SameArray(a.bones, b.bones) &&
           SameEach(a.frames, b.frames, [](const TMDXFrame& fa, const TMDXFrame& fb) {
               return SameBytes<TMDXFrameRecord>(fa, fb) && SameArray(fa.boneFrames, fb.boneFrames);
           });
}

bool SameSnapshot(const TModelSnapshot& a, const TModelSnapshot& b) {
    const auto same = [](const auto& x, const auto& y) {
        return x.has_value() == y.has_value() && (!x || SameModel(*x, *y));
    };
    return same(a.md3, b.md3) && same(a.mdm, b.mdm) && same(a.mdx, b.mdx);
}
