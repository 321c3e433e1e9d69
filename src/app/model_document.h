// The loaded model as one document: the MD3 or the MDM/MDX pair with the character parts that
// came with it, where it came from, the skin chosen for it, its name, and its undo history
// with the saved state. A load reads into a fresh document and the window takes the whole of
// it only when the read succeeded, so a failure leaves the loaded one untouched, and Clear,
// closing and saving act on the document as a whole. Qt-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/model_snapshot.h"
#include "app/undo_history.h"
#include "assets/character_files.h"
#include "md3/md3.h"
#include "render/attached_models.h"
#include "render/scene_settings.h"
#include "skeletal/aninc.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// Where the loaded model came from.
inline constexpr int kModelSourceNone = 0;
inline constexpr int kModelSourceGame = 1;
inline constexpr int kModelSourcePk3 = 2;
inline constexpr int kModelSourceFile = 3;

// A character's animation group, so that any of its files can pose the mesh. `loaded` is the
// file the document's MDX came from, unknown after an undo or redo (so the next choice reads
// its file again).
struct TCharacterGroup {
    TCharacterFiles files;
    std::vector<std::string> localFiles;  // empty until looked up
    std::optional<std::size_t> loaded;
};

class TModelDocument {
  public:
    TMD3 md3;
    TMDM mdm;
    TMDX mdx;
    // The names of the MDX's frames, when a list came with them.
    TANINC aninc;
    // A character's head and accessories, drawn on its body.
    TAttachedModels attachments;
    std::optional<TCharacterGroup> characterGroup;
    int kind = kModelKindNone;
    int source = kModelSourceNone;
    // The model's folder with a trailing separator; empty for a model out of an archive,
    // whose extracted copy's folder is not its own.
    std::string folder;
    // The file name the caption shows: the file loaded or last saved.
    std::string name;
    // The file Save writes: the one the model was read from or last saved to; empty for a
    // model out of an archive that was never saved.
    std::string file;
    // The animation file Save writes beside a skeletal `file`; empty when it has none.
    std::string animationFile;
    // The skin file chosen for the model; empty for none.
    std::string skinFile;

    bool Empty() const { return kind == kModelKindNone; }
    int FrameCount() const;

    // --- history ----------------------------------------------------------------------
    // A copy of the model as the history keeps it.
    TModelSnapshot Capture() const;
    // Whether the model is still the one `snapshot` holds.
    bool Matches(const TModelSnapshot& snapshot) const;
    // A command named `name` ran from the state `before`; a change of the model becomes a
    // step that can be undone (or, when the command replaced the model's family, there is
    // nothing left this history could give back). False when nothing changed.
    bool RecordIfChanged(const std::string& name, TModelSnapshot before);
    // Takes back the last step (or runs the last one undone again) and gives its name;
    // nothing when there is no such step.
    std::optional<std::string> Step(bool redo);
    const TUndoHistory<TModelSnapshot>& History() const { return history_; }
    // The model differs from the state it was loaded or last saved in.
    bool Modified() const { return !Empty() && !history_.AtSavedState(); }
    void MarkSaved() { history_.MarkSaved(); }
    // What the caption shows: the name, with "*" while modified.
    std::string Caption() const { return Modified() ? name + '*' : name; }

  private:
    TUndoHistory<TModelSnapshot> history_;
};
