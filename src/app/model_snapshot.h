// A copy of the loaded model for the undo history: the MD3, or the MDM with its MDX, as a
// command found them. Qt-free and GL-free.
#pragma once

#include <cstddef>
#include <optional>

#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

struct TModelSnapshot {
    std::optional<TMD3> md3;
    std::optional<TMDM> mdm;
    std::optional<TMDX> mdx;
};

// What the snapshot's arrays hold, in bytes: the figure the history's budget counts.
std::size_t SnapshotBytes(const TModelSnapshot& snapshot);

// Whether the models hold the same bytes in every field a file would keep (the pose buffers
// of the mesh are the view's, not the model's).
bool SameModel(const TMD3& a, const TMD3& b);
bool SameModel(const TMDM& a, const TMDM& b);
bool SameModel(const TMDX& a, const TMDX& b);
bool SameSnapshot(const TModelSnapshot& a, const TModelSnapshot& b);
