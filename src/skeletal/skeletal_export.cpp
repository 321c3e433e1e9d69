#include "skeletal/skeletal_export.h"

#include <array>
#include <cstring>
#include <limits>

#include "io/user_prompts.h"
#include "skeletal/parallel_frames.h"
#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_pair.h"
#include "skeletal/skeletal_pose.h"
#include "skeletal/skeletal_poser.h"

namespace {

// The file the MD3 writer would produce; offsets in an MD3 file are 32-bit.
bool FitsAnMD3File(const TMDM& mesh, std::int64_t frames) {
    std::int64_t size =
        sizeof(TMD3HeaderRecord) + frames * (std::int64_t{sizeof(TMD3Frame)} +
                                             std::int64_t{sizeof(TMD3Tag)} * mesh.header.numTags);
    for (const TMDMSurface& s : mesh.surfaces) {
        size += std::int64_t{sizeof(TMD3SurfaceRecord)} + std::int64_t{sizeof(TMD3Shader)} +
                std::int64_t{sizeof(TMD3Triangle)} * s.numTriangles +
                std::int64_t{sizeof(TMD3TexCoord)} * s.numVerts +
                std::int64_t{sizeof(TMD3Vertex)} * s.numVerts * frames;
        if (size > std::numeric_limits<std::int32_t>::max()) return false;
    }
    return size <= std::numeric_limits<std::int32_t>::max();
}

// Header, frames, and the parts of each surface that do not depend on the pose.
void LayOutModel(const TMDM& mesh, const TMDX& anim, std::uint32_t first, std::uint32_t count,
                 TMD3& md3) {
    md3.Clear();
    THeader& h = md3.header;
    std::memcpy(h.ident, kMD3Ident, 4);
    h.version = kMD3Version;
    std::memcpy(h.name, mesh.header.name, kMD3NameLength);
    h.flags = 0;
    h.numFrames = static_cast<std::int32_t>(count);
    h.numTags = static_cast<std::int32_t>(mesh.tags.size());
    h.numSurfaces = static_cast<std::int32_t>(mesh.surfaces.size());
    h.numSkins = 0;

    h.frames.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const TMDXFrame& source = anim.frames[first + i];
        TMD3Frame& frame = h.frames[i];
        frame.minBounds = source.minBounds;
        frame.maxBounds = source.maxBounds;
        frame.localOrigin = source.localOrigin;
        frame.radius = source.radius;
        SetNameField(kExportFrameLabel, frame.name);
    }
    h.tags.resize(std::size_t{count} * mesh.tags.size());
    for (std::size_t i = 0; i < h.tags.size(); ++i)
        std::memcpy(h.tags[i].name, mesh.tags[i % mesh.tags.size()].name, kMD3NameLength);

    h.surfaces.resize(mesh.surfaces.size());
    for (std::size_t j = 0; j < mesh.surfaces.size(); ++j) {
        const TMDMSurface& source = mesh.surfaces[j];
        TSurface& s = h.surfaces[j];
        std::memcpy(s.ident, kMD3Ident, 4);
        std::memcpy(s.name, source.name, kMD3NameLength);
        s.flags = 0;
        s.numFrames = static_cast<std::int32_t>(count);
        s.numShaders = 1;
        s.numVerts = static_cast<std::int32_t>(source.vertices.size());
        s.numTriangles = static_cast<std::int32_t>(source.triangles.size());
        s.shaders.resize(1);
        std::memcpy(s.shaders[0].name, source.shader, kMD3NameLength);
        s.shaders[0].shaderIndex = 0;
        s.triangles.resize(source.triangles.size());
        for (std::size_t t = 0; t < source.triangles.size(); ++t) {
            for (int c = 0; c < 3; ++c)
                s.triangles[t].indexes[c] = source.triangles[t].indexes[c];
        }
        s.texCoords.resize(source.vertices.size());
        for (std::size_t k = 0; k < source.vertices.size(); ++k) {
            // The model holds t flipped; the writer turns it back into the MDM's t.
            s.texCoords[k] = {source.vertices[k].texCoords[0],
                              1.0f - source.vertices[k].texCoords[1]};
        }
        s.vertices.resize(std::size_t{count} * source.vertices.size());
    }
}

void StoreTags(const std::vector<TVector3>& origins,
               const std::vector<std::array<TVector3, 3>>& axes, std::uint32_t frameIndex,
               TMD3& md3) {
    const std::size_t tagCount = origins.size();
    for (std::size_t t = 0; t < tagCount; ++t) {
        TMD3Tag& tag = md3.header.tags[frameIndex * tagCount + t];
        tag.origin = GameFromPose(origins[t]);
        for (int k = 0; k < 3; ++k)
            tag.axis[k] = GameFromPose(axes[t][k]);
    }
}

void StoreVertices(const std::vector<TVector3>& positions, const std::vector<TVector3>& normals,
                   std::size_t surface, std::uint32_t frameIndex, TMD3& md3, int& clamped) {
    TSurface& s = md3.header.surfaces[surface];
    const std::size_t verts = positions.size();
    TMD3Vertex* out = s.vertices.data() + std::size_t{frameIndex} * verts;
    for (std::size_t k = 0; k < verts; ++k) {
        const TVector3 p = GameFromPose(positions[k]);
        out[k].x = StoredCoordinate(p.x, clamped);
        out[k].y = StoredCoordinate(p.y, clamped);
        out[k].z = StoredCoordinate(p.z, clamped);
        out[k].normal = EncodeNormal(GameFromPose(normals[k]));
    }
}

// One thread's share of a bake: its own poser and buffers, so that threads share only the
// read-only mesh and animation and write disjoint frames of the model.
struct TBakeWorker {
    TSkeletalPoser poser;
    std::vector<TVector3> positions, normals, tagOrigins;
    std::vector<std::array<TVector3, 3>> tagAxes;
};

// The bake with the shared bones: every frame is independent, so the frames are spread over
// the cores. Returns false when progress cancelled.
bool BakeSharedBones(const TMDM& mesh, const TMDX& anim, std::uint32_t first, std::uint32_t count,
                     TMD3& baked, std::vector<int>& clampedInFrame, TProgress* progress) {
    const unsigned workers = FrameWorkers();
    std::vector<TBakeWorker> pool(workers);
    return ForEachFrameInParallel(count, workers, progress, [&](unsigned w, std::uint32_t i) {
        TBakeWorker& worker = pool[w];
        worker.poser.PoseBones(anim, first + i);
        worker.poser.PoseTagsInto(mesh, worker.tagOrigins, worker.tagAxes);
        StoreTags(worker.tagOrigins, worker.tagAxes, i, baked);
        for (std::uint32_t j = 0; j < mesh.surfaces.size(); ++j) {
            worker.poser.PoseSurfaceInto(mesh, j, worker.positions, worker.normals);
            StoreVertices(worker.positions, worker.normals, j, i, baked, clampedInFrame[i]);
        }
    });
}

// The reference: a full SkeletalPose for the tags and every surface of every frame.
bool BakePerSurface(TMDM& mesh, const TMDX& anim, std::uint32_t first, std::uint32_t count,
                    TMD3& baked, std::vector<int>& clampedInFrame, TProgress* progress) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!ReportProgress(progress, i, count)) return false;
        const std::uint32_t frame = first + i;
        SkeletalPose(mesh, anim, frame, 0);
        StoreTags(mesh.pose.tagOrigins, mesh.pose.tagAxes, i, baked);
        for (std::uint32_t j = 0; j < mesh.surfaces.size(); ++j) {
            SkeletalPose(mesh, anim, frame, j);
            StoreVertices(mesh.pose.vertexPositions, mesh.pose.vertexNormals, j, i, baked,
                          clampedInFrame[i]);
        }
    }
    ReportProgress(progress, count, count);
    return true;
}

}  // namespace

TBakeResult BakeFramesToMD3(TMDM& mesh, const TMDX& anim, std::uint32_t first, std::uint32_t last,
                            TMD3& md3, TBakePose pose, TProgress* progress) {
    TBakeResult result;
    if (last < first) {
        result.error = "the frame range " + std::to_string(first) + " to " + std::to_string(last) +
                       " is empty";
        return result;
    }
    if (last >= anim.frames.size()) {
        result.error = "frame " + std::to_string(last) + " is outside the animation's " +
                       std::to_string(anim.frames.size()) + " frames";
        return result;
    }
    const std::string meshProblem = mesh.CountMismatch();
    const std::string problem = meshProblem.empty() ? SkeletalPairProblem(mesh, anim)
                                                    : "the mesh is inconsistent: " + meshProblem;
    if (!problem.empty()) {
        result.error = problem;
        return result;
    }
    const std::uint32_t count = last - first + 1;
    if (!FitsAnMD3File(mesh, count)) {
        result.error = "the " + std::to_string(count) + " frames are too many for an MD3 file";
        return result;
    }

    // Baked aside so that a cancelled bake leaves the caller's model as it was.
    TMD3 baked;
    static_cast<TMD3HeaderRecord&>(baked.header) = md3.header;
    LayOutModel(mesh, anim, first, count, baked);
    std::vector<int> clampedInFrame(count, 0);
    const bool done =
        pose == TBakePose::SharedBones
            ? BakeSharedBones(mesh, anim, first, count, baked, clampedInFrame, progress)
            : BakePerSurface(mesh, anim, first, count, baked, clampedInFrame, progress);
    if (!done) {
        result.cancelled = true;
        result.error = "cancelled";
        return result;
    }
    // As after the MD3 edits: a frame's bounds and radius follow its clamped vertices.
    for (std::uint32_t i = 0; i < count; ++i) {
        if (clampedInFrame[i] > 0) baked.FitFrameToStoredRange(static_cast<int>(i));
        result.clamped += clampedInFrame[i];
    }
    md3.header = std::move(baked.header);
    result.baked = true;
    return result;
}

std::string ExportQuestionText(int start, int end) {
    return "Are You sure You want to export the selected frames-range to MD3?.. Frames:" +
           std::to_string(start) + " to " + std::to_string(end);
}

std::string ExportedStatusText(int start, int end, const std::string& fileName) {
    return "Frames:" + std::to_string(start) + " to " + std::to_string(end) +
           " exported to file: " + fileName;
}

TExportOutcome ExportFramesRangeToMD3(TMDM& mesh, const TMDX& anim, int start, int end, TMD3& md3,
                                      UserPrompts& prompts, TProgress* progress) {
    using Result = TExportOutcome::Result;
    TExportOutcome outcome;
    if (end < start) return outcome;
    if (prompts.Ask(kExportCaption, ExportQuestionText(start, end), PromptButtons::YesNoCancel) !=
        PromptAnswer::Yes) {
        outcome.result = Result::Declined;
        return outcome;
    }
    // The file is asked before the bake, so that both questions come before the bake's
    // progress and a cancel costs no baking.
    const std::optional<std::string> file = prompts.ChooseFile(
        {FileChoice::Mode::Save, "Save a model", "Quake 3 model (.MD3)|*.MD3", ".MD3"});
    if (!file || file->empty()) {
        outcome.result = Result::Unsaved;
        return outcome;
    }
    outcome.fileName = *file;
    const TBakeResult baked =
        start < 0
            ? TBakeResult{false, 0, false, "frame " + std::to_string(start) + " does not exist"}
            : BakeFramesToMD3(mesh, anim, static_cast<std::uint32_t>(start),
                              static_cast<std::uint32_t>(end), md3, TBakePose::SharedBones,
                              progress);
    outcome.clamped = baked.clamped;
    if (baked.cancelled) {
        outcome.result = Result::Cancelled;
        return outcome;
    }
    if (!baked.baked) {
        outcome.result = Result::Failed;
        outcome.error = baked.error;
        return outcome;
    }
    if (!md3.SaveToFile(*file)) {
        outcome.result = Result::Failed;
        outcome.error = md3.LastError();
        return outcome;
    }
    outcome.result = Result::Saved;
    outcome.status = ExportedStatusText(start, end, *file);
    return outcome;
}
