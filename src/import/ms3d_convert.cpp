#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "import/import_bounds.h"
#include "import/ms3d.h"
#include "import/shader_names.h"
#include "import/surface_limits.h"
#include "md3/md3.h"

namespace {

constexpr const char* kModelName = "K_Converted_From_MS3D";
constexpr const char* kFrameName = "K MS3D Convert";
constexpr float kRightAngleTolerance = 0.001f;

std::string GroupName(const TMS3DGroup& g) {
    std::size_t n = 0;
    while (n < sizeof(g.name) && g.name[n] != '\0')
        ++n;
    return std::string(g.name, n);
}

bool IsTagGroup(const TMS3DGroup& g) {
    return std::string_view(g.name, sizeof(g.name)).starts_with("tag_");
}

// MilkShape keeps every triangle in exactly one group. Groups that name triangles more often
// than the file holds them would turn a few bytes into any number of corners (a 64 KB file
// into 100,000 vertices), so such a file is refused, saying why; empty when it is not.
std::string OverNamedTriangles(const TMS3D& ms3d) {
    std::size_t named = 0;
    for (const TMS3DGroup& g : ms3d.groups) {
        if (IsTagGroup(g)) continue;
        for (std::uint16_t index : g.triangleIndices)
            if (index < ms3d.triangles.size()) ++named;
    }
    if (named <= ms3d.triangles.size()) return {};
    return "the groups name " + std::to_string(named) + " triangles, but the file holds " +
           std::to_string(ms3d.triangles.size()) + " and each belongs to one group";
}

// The tag a right-angled triangle stands for: the corner at the right angle is the origin,
// the longer leg points along axis 2, and axis 0 runs along the other leg towards the
// corner. The first corner that qualifies wins, so an equal-legged triangle is still read
// one fixed way.
bool TagFromTriangle(const TVector3 (&c)[3], TMD3Tag& tag) {
    // For each corner: its two neighbours, the one taken when both legs are equally long
    // first.
    static constexpr int kLegs[3][2] = {{2, 1}, {2, 0}, {1, 0}};
    for (int corner = 0; corner < 3; ++corner) {
        const TVector3 preferred = c[corner] - c[kLegs[corner][0]];
        const TVector3 other = c[corner] - c[kLegs[corner][1]];
        if (std::fabs(VectorDot(preferred, other)) >= kRightAngleTolerance) continue;
        const bool preferredLonger = VectorLength(preferred) >= VectorLength(other);
        const TVector3 longLeg = preferredLonger ? preferred : other;
        const TVector3 shortLeg = preferredLonger ? other : preferred;
        tag.origin = c[corner];
        tag.axis[2] = VectorNormalize(VectorNegate(longLeg));
        tag.axis[0] = VectorNormalize(shortLeg);
        tag.axis[1] = VectorNormalize(VectorCross(tag.axis[2], tag.axis[0]));
        return true;
    }
    return false;
}

std::string LimitText(const TSurface& s, TSurfaceLimit limit) {
    const std::string name = NameFieldText(s.name);
    if (limit == TSurfaceLimit::Vertices)
        return "MAX_VERTS limit exceeded: " + std::to_string(s.numVerts) + " > " +
               std::to_string(kMD3MaxVerts) +
               "\r\nToo many vertices used in the same group..\r\nGroup: " + name;
    return "MAX_TRIANGLES limit exceeded: " + std::to_string(s.numTriangles) + " > " +
           std::to_string(kMD3MaxTriangles) +
           "\r\nToo many triangles used in the same group..\r\nGroup: " + name;
}

}  // namespace

bool TMS3D::ConvertMS3DToMD3(TMD3& model, UserPrompts& prompts, std::string& message) {
    message.clear();
    skippedText_.clear();
    limitExceeded_ = false;
    model.Clear();

    // A triangle that names a vertex past the vertex array is never drawn from.
    const auto validTriangle = [this](std::uint16_t index) {
        if (index >= triangles.size()) return false;
        for (std::uint16_t v : triangles[index].vertexIndices)
            if (v >= vertices.size()) return false;
        return true;
    };
    std::int64_t badGroupIndices = 0;
    std::int64_t badTriangles = 0;
    std::int64_t badMaterials = 0;
    TImportBounds range;
    for (const TMS3DGroup& g : groups) {
        if (IsTagGroup(g)) continue;
        if (g.materialIndex != kMS3DNoMaterial && g.materialIndex >= materials.size())
            ++badMaterials;
        for (std::uint16_t index : g.triangleIndices) {
            if (index >= triangles.size()) {
                ++badGroupIndices;
            } else if (!validTriangle(index)) {
                ++badTriangles;
            } else {
                for (std::uint16_t v : triangles[index].vertexIndices)
                    if (IsFinite(vertices[v].position))
                        range.Add(settings.Place(vertices[v].position));
            }
        }
    }
    const std::string overNamed = OverNamedTriangles(*this);
    if (!overNamed.empty()) {
        message = overNamed;
        return false;
    }
    float k = 1.0f;
    if (!AskScaleToFit(range, prompts, k)) {
        model.Clear();
        message = kMS3DOutOfBoundsText;
        return false;
    }
    if (k != 1.0f) message = kMS3DScaledText;

    TImportBounds bounds;
    TTriangleSkips faults;
    // Groups may name one triangle many times over; its corner normals are encoded once.
    std::vector<std::array<std::uint16_t, 3>> cornerNormals(triangles.size());
    std::vector<bool> encoded(triangles.size(), false);
    std::vector<TSurface> surfaces;
    for (const TMS3DGroup& g : groups) {
        if (IsTagGroup(g)) {
            TMD3Tag tag;
            SetName64(GroupName(g), tag.name);
            if (g.triangleIndices.size() == 1 && validTriangle(g.triangleIndices[0])) {
                const TMS3DTriangle& tri = triangles[g.triangleIndices[0]];
                TVector3 corners[3];
                for (int j = 0; j < 3; ++j)
                    corners[j] = settings.Place(vertices[tri.vertexIndices[j]].position) * k;
                TagFromTriangle(corners, tag);
            }
            model.header.tags.push_back(tag);
            continue;
        }
        std::string shader;
        if (g.materialIndex < materials.size())
            shader = MaterialShaderName(NameFieldText(materials[g.materialIndex].name),
                                        NameFieldText(materials[g.materialIndex].texture),
                                        settings.shaderPrefix);
        TSurface s = NewConvertedSurface(GroupName(g), shader);
        for (std::uint16_t index : g.triangleIndices) {
            if (!validTriangle(index)) continue;
            const TMS3DTriangle& tri = triangles[index];
            TVector3 corners[3];
            for (int j = 0; j < 3; ++j)
                corners[j] = settings.Place(vertices[tri.vertexIndices[j]].position) * k;
            if (!faults.Keep(corners)) continue;
            if (!encoded[index]) {
                for (int j = 0; j < 3; ++j)
                    cornerNormals[index][j] =
                        TMD3::EncodeNormal(settings.Turn(tri.vertexNormals[j]));
                encoded[index] = true;
            }
            const std::int32_t q = static_cast<std::int32_t>(s.texCoords.size());
            for (int j = 0; j < 3; ++j)
                AddConvertedCorner(s, corners[j], cornerNormals[index][j], tri.s[j], tri.t[j],
                                   bounds);
            s.triangles.push_back({{q, q + 1, q + 2}});
        }
        CloseConvertedSurface(s);
        surfaces.push_back(std::move(s));
    }

    TImportReport report;
    report.Count(badTriangles, "triangle", "triangles",
                 "with a vertex index past the vertex count skipped");
    report.Count(badGroupIndices, "group triangle index", "group triangle indices",
                 "past the triangle count skipped");
    report.Count(badMaterials, "material index", "material indices",
                 "past the material count ignored");
    faults.Report(report);
    if (cutShort_) report.Note("the file is cut short");
    // The vertices are stored in the pose the joints were bound in: that pose is the model.
    if (numJoints > 0)
        report.Note(std::to_string(numJoints) + (numJoints == 1 ? " joint" : " joints") +
                    " ignored: the mesh is converted in its bind pose, without animation");
    skippedText_ = report.Text();

    const bool anyTriangle = std::any_of(surfaces.begin(), surfaces.end(),
                                         [](const TSurface& s) { return s.numTriangles > 0; });
    if (!anyTriangle && model.header.tags.empty()) {
        model.Clear();
        message = "no triangles to convert" +
                  (skippedText_.empty() ? std::string() : " (" + skippedText_ + ")");
        return false;
    }
    const TLimitTexts texts{LimitText, "Too many groups used.."};
    if (!FitSurfaceLimits(surfaces, kMD3MaxVerts, texts, &prompts, message)) {
        model.Clear();
        limitExceeded_ = true;
        return false;
    }
    model.header.surfaces = std::move(surfaces);
    FinishConvertedModel(model, kModelName, bounds, kFrameName);
    model.ReverseWinding();
    return true;
}
