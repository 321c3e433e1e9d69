#include <algorithm>
#include <array>

#include "import/ase.h"
#include "import/import_bounds.h"
#include "import/shader_names.h"
#include "import/surface_limits.h"
#include "md3/md3.h"

namespace {

constexpr const char* kModelNamePrefix = "K_Converted_From_ASE_";
constexpr const char* kFrameName = "K ASE Convert";
constexpr const char* kCrLf = "\r\n";

std::string ShaderOf(const TASEMaterial& m, const std::string& prefix) {
    std::string bitmap = m.bitmap;
    if (bitmap.empty()) {
        for (const TASESubMaterial& sub : m.subMaterials)
            if (!sub.bitmap.empty() && !sub.reflection) bitmap = sub.bitmap;
    }
    return MaterialShaderName(m.name, bitmap, prefix);
}

// The normal of each corner of each face of a mesh: the face's own for a face in no smoothing
// group, else the sum of the normals of the faces around that vertex that share a group with
// it, as the exporter meant them to be shaded.
std::vector<std::array<TVector3, 3>> CornerNormals(const TASEMesh& mesh,
                                                   const std::vector<TVector3>& positions) {
    const std::size_t count = mesh.faces.size();
    std::vector<TVector3> faceNormals(count, kVectorZero);
    std::vector<std::vector<std::size_t>> facesAt(positions.size());
    const auto valid = [&positions](std::int32_t i) {
        return i >= 0 && static_cast<std::size_t>(i) < positions.size();
    };
    for (std::size_t f = 0; f < count; ++f) {
        const TASEFace& face = mesh.faces[f];
        if (!valid(face.a) || !valid(face.b) || !valid(face.c)) continue;
        faceNormals[f] = TriangleNormal(positions[static_cast<std::size_t>(face.a)],
                                        positions[static_cast<std::size_t>(face.b)],
                                        positions[static_cast<std::size_t>(face.c)]);
        if (face.smoothingGroups == 0) continue;
        for (std::int32_t v : {face.a, face.b, face.c})
            facesAt[static_cast<std::size_t>(v)].push_back(f);
    }
    std::vector<std::array<TVector3, 3>> normals(count);
    for (std::size_t f = 0; f < count; ++f) {
        const TASEFace& face = mesh.faces[f];
        normals[f] = {faceNormals[f], faceNormals[f], faceNormals[f]};
        if (face.smoothingGroups == 0 || !valid(face.a) || !valid(face.b) || !valid(face.c))
            continue;
        const std::int32_t corners[3] = {face.a, face.b, face.c};
        for (int j = 0; j < 3; ++j) {
            TVector3 sum = kVectorZero;
            for (std::size_t g : facesAt[static_cast<std::size_t>(corners[j])])
                if ((mesh.faces[g].smoothingGroups & face.smoothingGroups) != 0)
                    sum = sum + faceNormals[g];
            normals[f][static_cast<std::size_t>(j)] = VectorNormalize(sum);
        }
    }
    return normals;
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

// The limit texts name the material, which the surface is named after.
std::string LimitText(const TSurface& s, TSurfaceLimit limit) {
    const std::string name = NameFieldText(s.name);
    if (limit == TSurfaceLimit::Vertices)
        return "MAX_VERTS limit exceeded: " + std::to_string(s.numVerts) + " > " +
               std::to_string(kMD3MaxVerts) + kCrLf +
               "Too many vetices used with the same material/shader/texture.." + kCrLf +
               "Material: " + name;
    return "MAX_TRIANGLES limit exceeded: " + std::to_string(s.numTriangles) + " > " +
           std::to_string(kMD3MaxTriangles) + kCrLf +
           "Too many faces used with the same material/shader/texture.." + kCrLf +
           "Material: " + name;
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

    // The surface each material's faces go to: -1 for tool materials and materials no face
    // uses, which make no surface. A file without any material still has faces to show:
    // they share one surface without a shader.
    const bool noMaterials = materials.empty();
    std::vector<int> surfaceOf(materials.size(), -1);
    std::vector<int> surfaceMaterials;  // per surface its material, -1 for "no material"
    std::int64_t unknownIds = 0;
    std::int64_t toolFaces = 0;
    if (noMaterials) surfaceMaterials.push_back(-1);
    for (const TASEGeomObject& object : geomObjects) {
        for (const TASEMesh& mesh : object.meshes) {
            for (const TASEFace& face : mesh.faces) {
                if (noMaterials) continue;
                if (!InList(face.materialId, materials.size())) {
                    ++unknownIds;
                } else if (IsExcludedTexture(
                               materials[static_cast<std::size_t>(face.materialId)].bitmap)) {
                    ++toolFaces;
                } else if (surfaceOf[static_cast<std::size_t>(face.materialId)] < 0) {
                    surfaceOf[static_cast<std::size_t>(face.materialId)] = 0;
                }
            }
        }
    }
    // Surfaces in material order.
    for (std::size_t m = 0; m < materials.size(); ++m) {
        if (surfaceOf[m] < 0) continue;
        surfaceOf[m] = static_cast<int>(surfaceMaterials.size());
        surfaceMaterials.push_back(static_cast<int>(m));
    }
    if (static_cast<int>(surfaceMaterials.size()) > kMD3MaxSurfaces) {
        message = "MAX_SURFACES limit exceeded: " + std::to_string(surfaceMaterials.size()) +
                  " > " + std::to_string(kMD3MaxSurfaces) + kCrLf +
                  "Too many materials/shaders/textures used..";
        limitExceeded_ = true;
        return false;
    }

    TImportBounds range;
    for (const TASEGeomObject& object : geomObjects)
        for (const TASEMesh& mesh : object.meshes)
            for (const TVector3& v : mesh.vertices)
                if (IsFinite(v)) range.Add(settings.Place(v));
    float k = 1.0f;
    if (!AskScaleToFit(range, prompts, k)) {
        model.Clear();
        message = kASEOutOfBoundsText;
        return false;
    }
    if (k != 1.0f) message = kASEScaledText;

    std::vector<TSurface> surfaces;
    for (int m : surfaceMaterials) {
        const std::string name = m >= 0 ? materials[static_cast<std::size_t>(m)].name : "";
        surfaces.push_back(NewConvertedSurface(
            name, m >= 0 ? ShaderOf(materials[static_cast<std::size_t>(m)], settings.shaderPrefix)
                         : std::string()));
    }
    TImportBounds bounds;
    SkipCounts skipped;
    TTriangleSkips faults;
    for (const TASEGeomObject& object : geomObjects) {
        for (const TASEMesh& mesh : object.meshes) {
            std::vector<TVector3> positions;
            positions.reserve(mesh.vertices.size());
            for (const TVector3& v : mesh.vertices)
                positions.push_back(settings.Place(v) * k);
            const std::vector<std::array<TVector3, 3>> normals = CornerNormals(mesh, positions);
            for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
                const TASEFace& face = mesh.faces[f];
                int target = 0;
                if (!noMaterials) {
                    if (!InList(face.materialId, materials.size())) continue;
                    target = surfaceOf[static_cast<std::size_t>(face.materialId)];
                    if (target < 0) continue;
                }
                TSurface& s = surfaces[static_cast<std::size_t>(target)];
                const std::int32_t corners[3] = {face.a, face.b, face.c};
                if (!InList(face.a, mesh.vertices.size()) ||
                    !InList(face.b, mesh.vertices.size()) ||
                    !InList(face.c, mesh.vertices.size())) {
                    ++skipped.faces;
                    continue;
                }
                TVector3 p[3];
                for (int j = 0; j < 3; ++j)
                    p[j] = positions[static_cast<std::size_t>(corners[j])];
                if (!faults.Keep(p)) continue;
                const std::int32_t q = static_cast<std::int32_t>(s.texCoords.size());
                for (int j = 0; j < 3; ++j) {
                    float u = 0.0f;
                    float v = 0.0f;
                    CornerTexCoord(mesh, f, j, u, v, skipped);
                    AddConvertedCorner(s, p[j],
                                       TMD3::EncodeNormal(normals[f][static_cast<std::size_t>(j)]),
                                       u, v, bounds);
                }
                s.triangles.push_back({{q, q + 1, q + 2}});
            }
        }
    }
    for (TSurface& s : surfaces)
        CloseConvertedSurface(s);

    TImportReport report;
    report.Note(skipped.Text());
    report.Count(unknownIds, "face", "faces", "with a material id past the material list left out");
    report.Count(toolFaces, "face", "faces",
                 "of tool materials (common/, noshader, NULL) left out");
    faults.Report(report);
    skippedText_ = report.Text();

    const bool anyTriangle = std::any_of(surfaces.begin(), surfaces.end(),
                                         [](const TSurface& s) { return s.numTriangles > 0; });
    if (!anyTriangle) {
        model.Clear();
        message = "no triangles to convert" +
                  (skippedText_.empty() ? std::string() : " (" + skippedText_ + ")");
        return false;
    }
    const TLimitTexts texts{LimitText, "Too many materials/shaders/textures used.."};
    if (!FitSurfaceLimits(surfaces, kMD3MaxVerts - 1, texts, &prompts, message)) {
        limitExceeded_ = true;
        model.Clear();
        return false;
    }
    model.header.surfaces = std::move(surfaces);
    FinishConvertedModel(model, kModelNamePrefix + fileName, bounds, kFrameName);
    model.ReverseWinding();
    if (message.empty()) message = kASEConvertedText;
    return true;
}
