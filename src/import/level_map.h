// TLevelMap: a Radiant .map file read into face polygons and patch meshes (the brushes and
// patches of its worldspawn and of the entities the map compiler merges into it) and converted
// into a one-frame MD3 model, one surface per texture.
//
//   TLevelMap map;
//   map.SetTextureSizeLookup(...);       // optional: sizes of textures found in game data
//   if (map.LoadMap(path, status, progress) && map.ConvertToMD3(model, prompts)) ...
//   else if map.Cancelled(): the user stopped it, the model is as it was
//   else show map.LastError() (a limit message) when it is not empty
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "assets/status_text.h"
#include "import/import_report.h"
#include "import/map_brush.h"
#include "import/map_patch.h"
#include "import/map_records.h"
#include "io/progress.h"

class TMD3;
class UserPrompts;

// Width and height of the image behind a texture name, or nothing when none is found.
using TTextureSizeLookup = std::function<std::optional<std::pair<int, int>>(const std::string&)>;

// How long one brush may take to build before it is left out and reported: the corner search
// grows quickly with the face count, and no brush an editor writes comes near this.
inline constexpr double kBrushSecondsBudget = 10.0;

class TLevelMap {
  public:
    // Reads the file. False when it does not exist (or is no regular file), or when
    // `progress` cancels (reported once per brush or patch; Cancelled() is then true and
    // nothing stays loaded); a map without brushes loads. Throws FileError when it exists but
    // cannot be read.
    bool LoadMap(const std::string& path, const StatusFn& status = {},
                 TProgress* progress = nullptr);
    // The same from text already in memory; `baseName` names the converted model. False
    // only when cancelled.
    bool LoadMapText(std::string_view text, const std::string& baseName,
                     const StatusFn& status = {}, TProgress* progress = nullptr);

    // Fills the model. False when nothing was loaded, when the map gives no triangle
    // (LastError() says why), when a limit of the format is exceeded and splitting is
    // declined (LastError() holds the message) or when the map is larger than MD3 positions
    // reach and the question to scale it down is not answered Yes (LastError() says so); the
    // model is then left as it was. A scaled conversion leaves a note in Note().
    bool ConvertToMD3(TMD3& model, UserPrompts* prompts);

    void SetTextureSizeLookup(TTextureSizeLookup lookup) { sizeLookup_ = std::move(lookup); }

    // What was read and what could not be: for the status text.
    const std::vector<TMapPolygon>& Polygons() const { return geometry_.polygons; }
    const std::vector<TMapVertex>& Vertices() const { return geometry_.vertices; }
    const std::vector<TMapMesh>& Meshes() const { return meshes_; }
    const std::vector<TMapTexture>& Textures() const { return textures_; }
    int BrushCount() const { return brushCounter_; }
    int PatchCount() const { return patchCount_; }
    int SkippedBrushCount() const { return skippedBrushes_; }
    bool LimitExceeded() const { return limitExceeded_; }
    bool Loaded() const { return loaded_; }
    // The last load was stopped through its progress reporter.
    bool Cancelled() const { return cancelled_; }
    const std::string& BaseName() const { return baseName_; }
    const std::string& LastError() const { return lastError_; }
    const std::string& Note() const { return note_; }
    // What the last conversion multiplied positions by: 1, or less for a map scaled down.
    float ScaleFactor() const { return scaleFactor_; }
    // What the load and the last conversion left out, one note per reason, or empty.
    std::string SkippedText() const;

    // The lines of one brush or patch block, as the reader hands them on.
    struct TBlock;

  private:
    void Reset();
    void ProcessBrush(const TBlock& block, const StatusFn& status);
    void TessellatePatches();
    std::int32_t TextureEntry(const std::string& name);

    std::string path_;
    std::string baseName_;
    bool loaded_ = false;
    bool cancelled_ = false;
    int brushCounter_ = 0;
    int patchCount_ = 0;
    int skippedBrushes_ = 0;
    int slowBrushes_ = 0;
    int badPatches_ = 0;
    int doom3Blocks_ = 0;
    int otherBrushes_ = 0;
    bool cutShort_ = false;
    std::vector<std::string> otherClasses_;
    bool limitExceeded_ = false;
    TImportReport convertReport_;
    TMapGeometry geometry_;
    std::vector<TPatchControls> patches_;
    std::vector<TMapMesh> meshes_;
    std::vector<TMapTexture> textures_;
    // One entry per distinct name: the name decides the size, so faces share it.
    std::map<std::string, std::int32_t> entryByName_;
    TTextureSizeLookup sizeLookup_;
    std::string lastError_;
    std::string note_;
    float scaleFactor_ = 1.0f;
};
