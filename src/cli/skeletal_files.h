// Skeletal files for veldra-cli: MDM meshes and MDX animations loaded with the mesh limit
// questions answered Yes (each shown as a warning line, since nobody can be asked), pairs
// checked before they are posed, and the frame ranges that --frames and --anim-name name.
// The render command can take MDM meshes with the same helpers.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "skeletal/aninc.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// Each throws CliError ("Cannot load \"<file>\": <reason>") or FileError.
void LoadMDMOrThrow(TMDM& mesh, const std::string& path, std::ostream& warnings);
void LoadMDXOrThrow(TMDX& anim, const std::string& path);

// Throws CliError ("Cannot pose \"<mesh>\" with \"<anim>\": <reason>") when the mesh names
// bones the animation does not have.
void RequirePosable(const TMDM& mesh, const std::string& meshPath, const TMDX& anim,
                    const std::string& animPath);

// The mesh and the animation that poses it, each loaded and checked as above.
void LoadPosablePair(TMDM& mesh, const std::string& meshPath, TMDX& anim,
                     const std::string& animPath, std::ostream& warnings);

struct FrameRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

// Every frame of the animation; throws CliError when it has none.
FrameRange AllFrames(const TMDX& anim, const std::string& animPath);
// "A-B" or "A"; throws UsageError when malformed, CliError when outside the animation.
FrameRange ParseFrameRange(const std::string& text, const TMDX& anim, const std::string& animPath);
// The entry `name` of the .aninc beside the animation; throws CliError when the list or the
// entry is missing.
TANINCFrame ListedAnimation(const std::string& name, const std::string& animPath);
// The range of the entry `name` in the .aninc beside the animation; throws CliError when the
// list or the entry is missing or the range lies outside the animation.
FrameRange AnimationRange(const std::string& name, const TMDX& anim, const std::string& animPath);
