// Writing an MDM file in the canonical order with all offsets recomputed.
#include <limits>

#include "io/atomic_file_writer.h"
#include "skeletal/mdm.h"

namespace {

constexpr std::int64_t kMaxOffset = std::numeric_limits<std::int32_t>::max();

template <typename T>
void WriteArray(ByteSink& out, const std::vector<T>& array) {
    out.Write(array.data(), array.size() * sizeof(T));
}

}  // namespace

bool TMDM::SaveToFile(const std::string& fileName) {
    lastError_.clear();
    // Checked before the writer exists, so that a model that cannot be written leaves no
    // trace on disk.
    if (!PlaceBlocks()) return false;
    AtomicFileWriter out(fileName);
    if (!WriteTo(out)) return false;
    if (!out.Commit()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}

bool TMDM::PlaceBlocks() {
    const std::string mismatch = CountMismatch();
    if (!mismatch.empty()) {
        lastError_ = "the model's arrays do not match its counts: " + mismatch;
        return false;
    }
    std::int64_t surfacesSize = 0;
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        surfacesSize += SurfaceSize(static_cast<int>(i));
    const std::int64_t ofsTags = HeaderSize() + surfacesSize;
    const std::int64_t ofsEnd = ofsTags + TagsSize();
    if (ofsEnd > kMaxOffset) {
        lastError_ = "the model is too large for an MDM file";
        return false;
    }

    header.ofsSurfaces = static_cast<std::int32_t>(HeaderSize());
    header.ofsTags = static_cast<std::int32_t>(ofsTags);
    header.ofsEnd = static_cast<std::int32_t>(ofsEnd);
    std::int64_t before = HeaderSize();
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        TMDMSurface& s = surfaces[i];
        const int index = static_cast<int>(i);
        s.ofsHeader = static_cast<std::int32_t>(-before);
        s.ofsVerts = static_cast<std::int32_t>(SurfaceHeaderSize());
        s.ofsTriangles = static_cast<std::int32_t>(s.ofsVerts + VerticesSize(index));
        s.ofsCollapseMap = static_cast<std::int32_t>(s.ofsTriangles + TrianglesSize(index));
        s.ofsBoneReferences = static_cast<std::int32_t>(s.ofsCollapseMap + CollapseMapSize(index));
        s.ofsEnd = static_cast<std::int32_t>(s.ofsBoneReferences + BoneReferencesSize(index));
        before += s.ofsEnd;
    }
    return true;
}

bool TMDM::WriteTo(ByteSink& out) {
    lastError_.clear();
    if (!PlaceBlocks()) return false;
    out.Write(&header, sizeof header);
    for (const TMDMSurface& s : surfaces) {
        out.Write(static_cast<const TMDMSurfaceHeader*>(&s), sizeof(TMDMSurfaceHeader));
        for (const TMDMVertex& v : s.vertices) {
            out.Write(static_cast<const TMDMVertexRecord*>(&v), sizeof(TMDMVertexRecord));
            WriteArray(out, v.weights);
        }
        WriteArray(out, s.triangles);
        WriteArray(out, s.collapseMap);
        WriteArray(out, s.boneReferences);
    }
    for (const TMDMTag& t : tags) {
        out.Write(static_cast<const TMDMTagRecord*>(&t), sizeof(TMDMTagRecord));
        WriteArray(out, t.boneReferences);
    }
    if (!out.Finish()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}
