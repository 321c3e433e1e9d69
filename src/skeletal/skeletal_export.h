// Baking a frame range of an MDM/MDX pair into a vertex-animated MD3 model, and the
// "Export Frames-range To MD3" command around it.
#pragma once

#include <cstdint>
#include <string>

#include "io/progress.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

class UserPrompts;

// The 16-byte name every baked frame gets.
inline constexpr const char* kExportFrameLabel = "K MDMMDX Export";

// How the bake poses. Both give identical bytes; PerSurface is the reference (a full
// SkeletalPose for the tags and for every surface of every frame), kept to check the shared
// one against.
enum class TBakePose { SharedBones, PerSurface };

struct TBakeResult {
    bool baked = false;
    // Stored coordinates that fell outside the 16-bit range and were clamped to it (NaN
    // counts too and is stored as 0).
    int clamped = 0;
    bool cancelled = false;  // the progress reporter asked to stop; md3 is untouched
    std::string error;       // why nothing was baked
};

// Clears `md3` and fills it with frames first ... last of the pair: one MD3 frame per frame
// (bounds, origin and radius copied from the MDX frame, named kExportFrameLabel), the posed
// tags frame-major, and one surface per MDM surface with the MDM's triangles, texture
// coordinates, posed vertices (x 64, rounded to nearest with ties to even) and packed posed
// normals. A frame with clamped coordinates gets bounds and a radius that fit its stored
// vertices, as after the MD3 edits. Positions, normals and tags are turned into game coordinates
// (see skeletal_orientation.h), so the model stands in the game as the player does. Nothing is
// baked (md3 untouched) when the range is empty or outside the animation, the pair cannot be
// posed, the result would not fit an MD3 file, or `progress` cancels (reported once per frame).
TBakeResult BakeFramesToMD3(TMDM& mesh, const TMDX& anim, std::uint32_t first, std::uint32_t last,
                            TMD3& md3, TBakePose pose = TBakePose::SharedBones,
                            TProgress* progress = nullptr);

// The confirmation question of the export command.
inline constexpr const char* kExportCaption = "Confirmation";
std::string ExportQuestionText(int start, int end);
// "Frames:<start> to <end> exported to file: <file>"
std::string ExportedStatusText(int start, int end, const std::string& fileName);

struct TExportOutcome {
    enum class Result {
        Nothing,    // an empty range (end before start): nothing was asked
        Declined,   // the question was not answered Yes
        Cancelled,  // the bake was cancelled through its progress; md3 is untouched
        Failed,     // baking or writing failed; `error` says why
        Unsaved,    // the save dialog was cancelled; nothing was baked
        Saved,      // baked and written to `fileName`; `status` is the status-bar text
    };
    Result result = Result::Nothing;
    std::string fileName;
    std::string status;
    std::string error;
    int clamped = 0;
};

// "Export Frames-range To MD3": asks the Yes/No/Cancel question and the file to write, then
// bakes start ... end into `md3` (the only use of `progress`) and writes it. Throws FileError when
// the chosen file cannot be created. The caller refreshes the view in every case and shows `status`
// (with the clamped count) after a save.
TExportOutcome ExportFramesRangeToMD3(TMDM& mesh, const TMDX& anim, int start, int end, TMD3& md3,
                                      UserPrompts& prompts, TProgress* progress = nullptr);
