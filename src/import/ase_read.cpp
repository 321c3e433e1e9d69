#include <algorithm>
#include <filesystem>
#include <string_view>

#include "import/ase.h"
#include "import/ase_values.h"
#include "import/text_decoding.h"
#include "io/file_bytes.h"

namespace {

constexpr std::int64_t kMaxASEBytes = std::int64_t{1} << 30;

// A trimmed line with the places of its '*'. Every keyword starts with one, so a keyword is in
// the line when it starts at one of them: a few comparisons instead of a search of the whole
// line for each of the twenty keywords.
class KeywordLine {
  public:
    explicit KeywordLine(std::string_view text) : text_(text) {
        for (std::size_t at = text.find('*'); at != std::string_view::npos;
             at = text.find('*', at + 1)) {
            if (count_ == kMaxStars) {
                overflow_ = true;
                break;
            }
            stars_[count_++] = at;
        }
    }
    operator std::string_view() const { return text_; }

    bool Has(std::string_view keyword) const {
        if (overflow_) return text_.find(keyword) != std::string_view::npos;
        for (int i = 0; i < count_; ++i)
            if (text_.substr(stars_[i]).starts_with(keyword)) return true;
        return false;
    }
    // The keyword followed by a space or a tab, so that "*MESH" does not match "*MESH_FACE".
    bool HasWord(std::string_view keyword) const {
        if (overflow_) {
            for (std::size_t at = text_.find(keyword); at != std::string_view::npos;
                 at = text_.find(keyword, at + 1))
                if (FollowedByBlank(at + keyword.size())) return true;
            return false;
        }
        for (int i = 0; i < count_; ++i)
            if (text_.substr(stars_[i]).starts_with(keyword) &&
                FollowedByBlank(stars_[i] + keyword.size()))
                return true;
        return false;
    }

  private:
    static constexpr int kMaxStars = 16;
    bool FollowedByBlank(std::size_t next) const {
        return next < text_.size() && (text_[next] == ' ' || text_[next] == '\t');
    }

    std::string_view text_;
    std::size_t stars_[kMaxStars] = {};
    int count_ = 0;
    bool overflow_ = false;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

enum class ListMode { None, Vertices, Faces, MappingVertices, MappingFaces };

// The reader's position in the file: which records new values go to and which list the
// current lines belong to.
class AseParser {
  public:
    explicit AseParser(TASE& ase) : ase_(ase) {}

    // False when the first non-empty line is not the export header.
    bool Line(std::string_view text) {
        const KeywordLine line(text);
        if (ListLine(line)) return true;
        if (expectHeader_) {
            if (!line.Has("*3DSMAX_ASCIIEXPORT")) return false;
            ase_.headerLine = line;
            expectHeader_ = false;
            return true;
        }
        Keyword(line);
        return true;
    }

  private:
    bool ListLine(const KeywordLine& line) {
        if (mode_ == ListMode::Vertices && line.HasWord("*MESH_VERTEX")) {
            face_ = {};  // the vertex reader shares the working record with the mapping faces
            if (mesh_) mesh_->vertices.push_back(AseReadVertex(line));
            return true;
        }
        if (mode_ == ListMode::Faces) {
            if (!line.HasWord("*MESH_FACE")) return false;
            AseReadFace(line, lastFace_);
            if (mesh_) mesh_->faces.push_back(lastFace_);
            return true;
        }
        if (mode_ == ListMode::MappingVertices && line.Has("*MESH_TVERT")) {
            AseReadMappingVertex(line, lastMappingVertex_);
            if (mesh_) mesh_->mappingVertices.push_back(lastMappingVertex_);
            return true;
        }
        if (mode_ == ListMode::MappingFaces && line.Has("*MESH_TFACE")) {
            AseReadMappingFace(line, face_);
            if (mesh_) mesh_->mappingFaces.push_back(face_);
            return true;
        }
        return false;
    }

    void ClearMaterialFlags() { inSubMaterial_ = reflection_ = diffuse_ = false; }

    void Keyword(const KeywordLine& line) {
        if (line.Has("*COMMENT")) {
            ase_.comment = line;
        } else if (line.Has("*MATERIAL_LIST")) {
            ClearMaterialFlags();
        } else if (line.HasWord("*MATERIAL")) {
            ase_.materials.emplace_back();
            material_ = &ase_.materials.back();
            subMaterial_ = nullptr;
            ClearMaterialFlags();
        } else if (line.Has("*MATERIAL_NAME")) {
            const std::string name(AseQuotedText(line));
            if (inSubMaterial_ && subMaterial_) subMaterial_->name = name;
            if (!inSubMaterial_ && material_) material_->name = name;
        } else if (line.Has("*MATERIAL_TRANSPARENCY")) {
            const float value = AseNumberAfterKeyword(line);
            if (inSubMaterial_ && subMaterial_) subMaterial_->transparency = value;
            if (!inSubMaterial_ && material_) material_->transparency = value;
        } else if (line.Has("*SUBMATERIAL")) {
            subMaterial_ = nullptr;
            if (material_) {
                material_->subMaterials.emplace_back();
                subMaterial_ = &material_->subMaterials.back();
            }
            inSubMaterial_ = true;
            reflection_ = diffuse_ = false;
        } else if (line.Has("*MAP_REFLECT")) {
            reflection_ = true;
            diffuse_ = false;
        } else if (line.Has("*MAP_DIFFUSE")) {
            diffuse_ = true;
            reflection_ = false;
        } else if (line.HasWord("*BITMAP")) {
            Bitmap(std::string(AseQuotedText(line)));
        } else if (line.Has("*GEOMOBJECT")) {
            ase_.geomObjects.emplace_back();
            object_ = &ase_.geomObjects.back();
            mesh_ = nullptr;
            mode_ = ListMode::None;
            reflection_ = diffuse_ = false;
        } else if (line.Has("*NODE_NAME")) {
            if (object_) object_->nodeName = AseQuotedText(line);
        } else if (line.HasWord("*MESH")) {
            if (object_) {
                object_->meshes.emplace_back();
                mesh_ = &object_->meshes.back();
            }
        } else if (line.Has("*TIMEVALUE")) {
            if (mesh_) mesh_->timeValue = AseIntegerAfterKeyword(line);
        } else if (line.Has("*MESH_VERTEX_LIST")) {
            mode_ = ListMode::Vertices;
        } else if (line.Has("*MESH_FACE_LIST")) {
            mode_ = ListMode::Faces;
        } else if (line.Has("*MESH_TVERTLIST")) {
            mode_ = ListMode::MappingVertices;
        } else if (line.Has("*MESH_TFACELIST")) {
            mode_ = ListMode::MappingFaces;
        } else if (line.Has("*MATERIAL_REF")) {
            const std::int32_t id = AseIntegerAfterKeyword(line);
            if (mesh_)
                for (TASEFace& f : mesh_->faces)
                    f.materialId = id;
        }
    }

    void Bitmap(std::string path) {
        if (!inSubMaterial_) {
            if (material_) material_->bitmap = std::move(path);
            return;
        }
        if (!subMaterial_ || !(reflection_ || diffuse_)) return;
        subMaterial_->bitmap = std::move(path);
        subMaterial_->reflection = reflection_;
    }

    TASE& ase_;
    bool expectHeader_ = true;
    // Pointers into the arrays stay valid: an array only grows when its pointer is replaced.
    TASEMaterial* material_ = nullptr;
    TASESubMaterial* subMaterial_ = nullptr;
    TASEGeomObject* object_ = nullptr;
    TASEMesh* mesh_ = nullptr;
    bool inSubMaterial_ = false;
    bool reflection_ = false;
    bool diffuse_ = false;
    ListMode mode_ = ListMode::None;
    TASEFace lastFace_;
    TASEMappingVertex lastMappingVertex_;
    TASEMappingFace face_;
};

}  // namespace

void TASE::Clear() {
    fileName.clear();
    headerLine.clear();
    comment.clear();
    materials.clear();
    geomObjects.clear();
    limitExceeded_ = false;
    skippedText_.clear();
}

bool TASE::LoadASE(const std::string& path, std::string& message) {
    Clear();
    message.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        message = "File does not exist: " + path;
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path, kMaxASEBytes, bytes, error)) {
        message = error;
        return false;
    }
    return LoadASEBytes(bytes, path, message);
}

bool TASE::LoadASEBytes(std::span<const std::uint8_t> bytes, const std::string& path,
                        std::string& message) {
    Clear();
    message.clear();
    fileName = std::filesystem::path(path).filename().string();
    const std::string text = DecodeTextBytes(bytes);
    AseParser parser(*this);
    // Line ends are found with the library's block search for each of the two characters;
    // the next CR is kept until passed, so a file without any is not searched to its end
    // for every line.
    std::size_t nextCR = text.find('\r');
    std::size_t start = 0;
    while (start < text.size()) {
        if (nextCR < start) nextCR = text.find('\r', start);
        const std::size_t end = std::min({text.find('\n', start), nextCR, text.size()});
        const std::string_view line = Trim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
        if (line.empty()) continue;
        if (!parser.Line(line)) {
            Clear();
            message = "File is no valid ASE: " + path;
            return false;
        }
    }
    // A file without any line would otherwise count as an empty model.
    if (headerLine.empty()) {
        Clear();
        message = "File is no valid ASE: " + path;
        return false;
    }
    return true;
}
