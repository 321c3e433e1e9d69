// Writing an MDX file: header, frames, bones, with the offsets recomputed.
#include <limits>

#include "io/atomic_file_writer.h"
#include "skeletal/mdx.h"

bool TMDX::SaveToFile(const std::string& fileName) {
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

bool TMDX::PlaceBlocks() {
    const std::string mismatch = CountMismatch();
    if (!mismatch.empty()) {
        lastError_ = "the model's arrays do not match its counts: " + mismatch;
        return false;
    }
    const std::int64_t ofsBones =
        std::int64_t{sizeof(TMDXHeader)} + FrameSize() * std::int64_t{header.numFrames};
    const std::int64_t ofsEnd = ofsBones + std::int64_t{sizeof(TMDXBoneInfo)} * header.numBones;
    if (ofsEnd > std::numeric_limits<std::int32_t>::max()) {
        lastError_ = "the model is too large for an MDX file";
        return false;
    }
    header.ofsFrames = static_cast<std::int32_t>(sizeof(TMDXHeader));
    header.ofsBones = static_cast<std::int32_t>(ofsBones);
    header.ofsEnd = static_cast<std::int32_t>(ofsEnd);
    return true;
}

bool TMDX::WriteTo(ByteSink& out) {
    lastError_.clear();
    if (!PlaceBlocks()) return false;
    out.Write(&header, sizeof header);
    for (const TMDXFrame& frame : frames) {
        out.Write(static_cast<const TMDXFrameRecord*>(&frame), sizeof(TMDXFrameRecord));
        out.Write(frame.boneFrames.data(), frame.boneFrames.size() * sizeof(TMDXBoneFrame));
    }
    out.Write(bones.data(), bones.size() * sizeof(TMDXBoneInfo));
    if (!out.Finish()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}
