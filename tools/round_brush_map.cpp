#include "round_brush_map.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "math/vector.h"

namespace {

// Face normals spread evenly over a sphere (a Fibonacci spiral): every corner is where three
// faces meet, as in the domes editors make, and no two faces are parallel.
TVector3 SpiralNormal(int i, int count) {
    const float golden = 2.39996323f;
    const float z = 1.0f - 2.0f * (static_cast<float>(i) + 0.5f) / static_cast<float>(count);
    const float r = std::sqrt(std::max(0.0f, 1.0f - z * z));
    const float a = golden * static_cast<float>(i);
    return {r * std::cos(a), r * std::sin(a), z};
}

void WritePoint(std::ostringstream& out, TVector3 p) {
    out << "( " << p.x << ' ' << p.y << ' ' << p.z << " ) ";
}

// Three points of the plane through centre + normal * radius, in the order that makes the
// normal point out of the brush.
void WriteFace(std::ostringstream& out, TVector3 centre, TVector3 normal, float radius) {
    const TVector3 helper = std::fabs(normal.z) < 0.9f ? TVector3{0, 0, 1} : TVector3{1, 0, 0};
    const TVector3 u = VectorNormalize(VectorCross(normal, helper));
    const TVector3 v = VectorCross(normal, u);
    const TVector3 p = VectorAdd(centre, VectorScale(normal, radius));
    WritePoint(out, VectorAdd(p, VectorScale(u, 32.0f)));
    WritePoint(out, p);
    WritePoint(out, VectorAdd(p, VectorScale(v, 32.0f)));
    out << "round 0 0 0 1 1 0 0 0\n";
}

}  // namespace

std::string RoundBrushMap(int brushes, int faces) {
    std::ostringstream out;
    out.precision(9);
    out << "// entity 0\n{\n\"classname\" \"worldspawn\"\n";
    const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(brushes))));
    const float spacing = std::min(96.0f, 900.0f / static_cast<float>(columns));
    const float start = -0.5f * spacing * static_cast<float>(columns - 1);
    for (int b = 0; b < brushes; ++b) {
        const TVector3 centre{start + spacing * static_cast<float>(b % columns),
                              start + spacing * static_cast<float>(b / columns), 0.0f};
        out << "// brush " << b << "\n{\n";
        for (int f = 0; f < faces; ++f)
            WriteFace(out, centre, SpiralNormal(f, faces), 0.4f * spacing);
        out << "}\n";
    }
    out << "}\n";
    return out.str();
}
