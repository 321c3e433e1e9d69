#include "app/model_document.h"

#include <utility>

int TModelDocument::FrameCount() const {
    return IsSkeletalFamily(kind) ? static_cast<int>(mdx.frames.size()) : md3.header.numFrames;
}

TModelSnapshot TModelDocument::Capture() const {
    TModelSnapshot snapshot;
    if (IsMD3Family(kind)) {
        snapshot.md3 = md3;
    } else if (IsSkeletalFamily(kind)) {
        snapshot.mdm = mdm;
        // The pose buffers are the view's scratch space, rebuilt by every draw.
        snapshot.mdm->pose = {};
        snapshot.mdx = mdx;
    }
    return snapshot;
}

bool TModelDocument::Matches(const TModelSnapshot& s) const {
    if (IsMD3Family(kind)) return s.md3 && SameModel(*s.md3, md3);
    if (IsSkeletalFamily(kind))
        return s.mdm && s.mdx && SameModel(*s.mdm, mdm) && SameModel(*s.mdx, mdx);
    return !s.md3 && !s.mdm && !s.mdx;
}

bool TModelDocument::RecordIfChanged(const std::string& stepName, TModelSnapshot before) {
    if (Matches(before)) return false;
    if (IsMD3Family(kind) != before.md3.has_value()) {
        history_.Clear();
    } else {
        const std::size_t bytes = SnapshotBytes(before);
        history_.Record(stepName, std::move(before), bytes);
    }
    return true;
}

std::optional<std::string> TModelDocument::Step(bool redo) {
    if (redo ? !history_.CanRedo() : !history_.CanUndo()) return std::nullopt;
    std::string stepName = redo ? history_.RedoName() : history_.UndoName();
    TModelSnapshot current = Capture();
    const std::size_t bytes = SnapshotBytes(current);
    TModelSnapshot state =
        redo ? history_.Redo(std::move(current), bytes) : history_.Undo(std::move(current), bytes);
    if (state.md3) md3 = std::move(*state.md3);
    if (state.mdm) {
        TSkeletalPoseBuffers pose = std::move(mdm.pose);
        mdm = std::move(*state.mdm);
        mdm.pose = std::move(pose);
    }
    if (state.mdx) mdx = std::move(*state.mdx);
    // The frames may be another file's of the character's group now.
    if (characterGroup) characterGroup->loaded.reset();
    return stepName;
}
