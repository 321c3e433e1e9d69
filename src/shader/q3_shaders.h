// The shader store: every shader and plain texture the loaded model's surfaces use, each
// with its drawing stages. A surface names its shader by the entry's index here (-1 for
// none). Entries are only ever appended; the whole store is emptied when the model is
// textured again, so an index stays valid until then.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "shader/shader_flags.h"
#include "shader/shader_stage.h"
#include "shader/texture_deleter.h"

struct TShaderObj {
    std::uint32_t flags = 0;             // where the shader or image was found (kShader... bits)
    std::vector<TShaderTexture> stages;  // may be empty: such a shader is not drawn
};

class TShaders {
  public:
    // Stage textures are handed to `deleter` when stages are cleared; without one they are
    // only forgotten (no texture store exists yet, or the textures were never made).
    explicit TShaders(TextureDeleter* deleter = nullptr) : deleter_(deleter) {}
    TShaders(const TShaders&) = delete;
    TShaders& operator=(const TShaders&) = delete;

    std::vector<TShaderObj> shaders;

    void SetTextureDeleter(TextureDeleter* deleter) { deleter_ = deleter; }

    int Count() const { return static_cast<int>(shaders.size()); }
    bool ValidIndex(int index) const { return index >= 0 && index < Count(); }

    // The index of an entry whose first stage carries `name` or `altName`; otherwise a new
    // entry with `flags`, filled from the script (it stays without stages when the script
    // does not define the shader, and such an entry is not found again by a later call).
    // Names are compared in lower case. Throws FileError when the script cannot be read,
    // leaving the store unchanged.
    int LoadShader(const std::string& scriptFile, const std::string& name, std::uint32_t flags,
                   const std::string& altName);
    // The same with the script at hand as its lower-cased prepared lines (PrepareShaderLines).
    int LoadShader(const std::vector<std::string>& scriptLines, const std::string& name,
                   std::uint32_t flags, const std::string& altName);

    // A new entry with one stage that draws the image alone: back faces culled, the image
    // modulating what lies beneath.
    int AddTextureShader(const std::string& textureName, const std::string& texturePath,
                         std::uint32_t flags);

    // Deletes the stages' textures and empties the entry, keeping its index. Ignores an index
    // outside the store.
    void ClearShaderStages(int index);

    // Deletes every stage texture and empties the store.
    void ClearShaders();

  private:
    int FindLoaded(const std::string& name, const std::string& altName) const;
    // A new entry for the lower-case names, parsed from the script's lines.
    int AddParsed(const std::vector<std::string>& lines, const std::string& lowerName,
                  const std::string& lowerAlt, std::uint32_t flags);
    // The script's prepared lines, read again only when its time or size changed: a model's
    // surfaces mostly name shaders of one or two scripts, each of which would otherwise be
    // read and split once per surface.
    const std::vector<std::string>& ScriptLines(const std::string& scriptFile);

    struct TScriptLines {
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        std::vector<std::string> lines;
    };

    TextureDeleter* deleter_;
    std::map<std::string, TScriptLines> scripts_;  // by path; emptied with the store
    std::vector<std::string> uncachedLines_;
};
