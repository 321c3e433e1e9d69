#include "import/ase.h"
#include "import/import_bounds.h"
#include "md3/md3.h"

namespace {

constexpr const char* kModelNamePrefix = "K_Converted_From_ASE_";
constexpr const char* kFrameName = "K ASE Convert";
constexpr const char* kCrLf = "\r\n";

std::string ShaderOf(const TASEMaterial& m) {
    if (!m.bitmap.empty()) return m.bitmap;
    std::string shader;
    for (const TASESubMaterial& sub : m.subMaterials)
        if (!sub.bitmap.empty() && !sub.reflection) shader = sub.bitmap;
    return shader;
}

bool InList(std::int32_t index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

// What a conversion left out or filled in, for the status text.
struct SkipCounts {
    int faces = 0;           // a vertex index outside the mesh's vertices
    int textureCorners = 0;  // a mapping face or vertex index outside its list

    std::string Text() const {
        std::string text;
        if (faces > 0)
            text = std::to_string(faces) + (faces == 1 ? " face" : " faces") +
                   " with a vertex index out of range skipped";
        if (textureCorners > 0)
            text += (text.empty() ? "" : ", ") + std::to_string(textureCorners) +
                    (textureCorners == 1 ? " corner" : " corners") +
                    " with a mapping index out of range left at (0, 0)";
        return text;
    }
};

// The texture coordinate of one corner as the MD3 file stores it, (0, 0) when the mesh has no
// mapping or its indices lead nowhere. ASE v runs up the image from its bottom row, MD3 t down
// from its top row.
void CornerTexCoord(const TASEMesh& mesh, std::size_t face, int corner, float& s, float& t,
                    SkipCounts& skipped) {
    s = t = 0.0f;
    if (mesh.mappingFaces.empty()) return;
    if (face >= mesh.mappingFaces.size()) {
        ++skipped.textureCorners;
        return;
    }
    const std::int32_t index = mesh.mappingFaces[face].index[corner];
    if (!InList(index, mesh.mappingVertices.size())) {
        ++skipped.textureCorners;
        return;
    }
    s = mesh.mappingVertices[static_cast<std::size_t>(index)].u;
    t = 1.0f - mesh.mappingVertices[static_cast<std::size_t>(index)].v;
}

}  // namespace

bool IsExcludedTexture(const std::string& path) {
    for (const char* tool : {"common/", "common\\", "noshader", "NULL"})
        if (path.find(tool) != std::string::npos) return true;
    return false;
}

bool TASE::ConvertASEToMD3(TMD3& model, UserPrompts& prompts, std::string& message) {
    message.clear();
    limitExceeded_ = false;
    skippedText_.clear();
    model.Clear();

    // Indices into `materials` of the materials that become surfaces. A file without any
    // material still has faces to show: they share one surface without a shader.
    std::vector<int> usable;
    for (std::size_t m = 0; m < materials.size(); ++m)
        if (!IsExcludedTexture(materials[m].bitmap)) usable.push_back(static_cast<int>(m));
    const bool noMaterials = materials.empty();
    if (static_cast<int>(usable.size()) > kMD3MaxSurfaces) {
        message = "MAX_SURFACES limit exceeded: " + std::to_string(usable.size()) + " > " +
                  std::to_string(kMD3MaxSurfaces) + kCrLf +
                  "Too many materials/shaders/textures used..";
        limitExceeded_ = true;
        return false;
    }

    TImportBounds range;
    for (const TASEGeomObject& object : geomObjects)
        for (const TASEMesh& mesh : object.meshes)
            for (const TVector3& v : mesh.vertices)
                range.Add(v);
    float k = 1.0f;
    if (!AskScaleToFit(range, prompts, k)) {
        model.Clear();
        message = kASEOutOfBoundsText;
        return false;
    }
    if (k != 1.0f) message = kASEScaledText;

    if (noMaterials) usable.push_back(-1);
    TImportBounds bounds;
    SkipCounts skipped;
    for (int m : usable) {
        const std::string name = m >= 0 ? materials[static_cast<std::size_t>(m)].name : "";
        TSurface s = NewConvertedSurface(
            name, m >= 0 ? ShaderOf(materials[static_cast<std::size_t>(m)]) : std::string());
        for (const TASEGeomObject& object : geomObjects) {
            for (const TASEMesh& mesh : object.meshes) {
                for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
                    const TASEFace& face = mesh.faces[f];
                    if (m >= 0 && face.materialId != m) continue;
                    const std::int32_t corners[3] = {face.a, face.b, face.c};
                    if (!InList(face.a, mesh.vertices.size()) ||
                        !InList(face.b, mesh.vertices.size()) ||
                        !InList(face.c, mesh.vertices.size())) {
                        ++skipped.faces;
                        continue;
                    }
                    TVector3 p[3];
                    for (int j = 0; j < 3; ++j)
                        p[j] = mesh.vertices[static_cast<std::size_t>(corners[j])] * k;
                    const std::uint16_t normal =
                        TMD3::EncodeNormal(TriangleNormal(p[0], p[1], p[2]));
                    const std::int32_t q = static_cast<std::int32_t>(s.texCoords.size());
                    for (int j = 0; j < 3; ++j) {
                        float u = 0.0f;
                        float v = 0.0f;
                        CornerTexCoord(mesh, f, j, u, v, skipped);
                        AddConvertedCorner(s, p[j], normal, u, v, bounds);
                    }
                    s.triangles.push_back({{q, q + 1, q + 2}});
                }
            }
        }
        CloseConvertedSurface(s);
        if (s.numVerts >= kMD3MaxVerts) {
            message = "MAX_VERTS limit exceeded: " + std::to_string(s.numVerts) + " > " +
                      std::to_string(kMD3MaxVerts) + kCrLf +
                      "Too many vetices used with the same material/shader/texture.." + kCrLf +
                      "Material: " + name;
        } else if (s.numTriangles > kMD3MaxTriangles) {
            message = "MAX_TRIANGLES limit exceeded: " + std::to_string(s.numTriangles) + " > " +
                      std::to_string(kMD3MaxTriangles) + kCrLf +
                      "Too many faces used with the same material/shader/texture.." + kCrLf +
                      "Material: " + name;
        }
        if (s.numVerts >= kMD3MaxVerts || s.numTriangles > kMD3MaxTriangles) {
            limitExceeded_ = true;
            model.Clear();
            return false;
        }
        model.header.surfaces.push_back(std::move(s));
    }
    FinishConvertedModel(model, kModelNamePrefix + fileName, bounds, kFrameName);
    model.ReverseWinding();
    skippedText_ = skipped.Text();
    if (message.empty()) message = kASEConvertedText;
    return true;
}
