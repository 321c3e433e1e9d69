// `veldra-cli render x.char`: the character's mesh, posed by the first animation file of its
// group (or by the file holding the --anim-name), with its skin, its head and its
// accessories. Files found in the game's PAKs are extracted for the time of the drawing.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "assets/character_attachments.h"

#include "cli/render_arguments.h"

class TCharacterSources;
class TModelSource;

class TRenderCharacter {
  public:
    // When options.model names a .char, rewrites `options` to draw what it names (an
    // --anim-name is looked up in every file of the character's group, in order). Throws CliError
    // listing what is missing for the drawing; what it can go without (the skin) goes to
    // `warnings`. Other models are left alone.
    TRenderCharacter(TRenderOptions& options, std::ostream& warnings);
    ~TRenderCharacter();
    TRenderCharacter(const TRenderCharacter&) = delete;
    TRenderCharacter& operator=(const TRenderCharacter&) = delete;

    // The head and accessories found for the character; none for other models.
    const std::vector<TCharacterAttachment>& Attachments() const { return attachments_; }

  private:
    std::unique_ptr<TModelSource> source_;  // a definition read from an archive
    std::unique_ptr<TCharacterSources> sources_;
    std::vector<TCharacterAttachment> attachments_;
};
