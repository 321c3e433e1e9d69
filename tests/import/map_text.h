// Map text built in code for the map importer's tests: boxes and prisms as an editor
// writes them, with one texture per face.
#pragma once

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace map_text {

inline std::string Point(float x, float y, float z) {
    std::ostringstream out;
    out << "( " << x << ' ' << y << ' ' << z << " )";
    return out.str();
}

inline std::string Face(const std::string& a, const std::string& b, const std::string& c,
                        const std::string& texture, const std::string& texdef = "0 0 0 1 1") {
    return a + ' ' + b + ' ' + c + ' ' + texture + ' ' + texdef + " 0 0 0\n";
}

// Faces in the order -X, +Y, +X, -Y, +Z, -Z.
inline std::string Box(float x0, float y0, float z0, float x1, float y1, float z1,
                       const std::array<std::string, 6>& textures,
                       const std::string& texdef = "0 0 0 1 1") {
    return "{\n" +
           Face(Point(x0, y1, z1), Point(x0, y0, z1), Point(x0, y0, z0), textures[0], texdef) +
           Face(Point(x1, y1, z1), Point(x0, y1, z1), Point(x0, y1, z0), textures[1], texdef) +
           Face(Point(x1, y0, z1), Point(x1, y1, z1), Point(x1, y1, z0), textures[2], texdef) +
           Face(Point(x0, y0, z1), Point(x1, y0, z1), Point(x1, y0, z0), textures[3], texdef) +
           Face(Point(x0, y0, z1), Point(x0, y1, z1), Point(x1, y1, z1), textures[4], texdef) +
           Face(Point(x1, y1, z0), Point(x0, y1, z0), Point(x0, y0, z0), textures[5], texdef) +
           "}\n";
}

inline std::string Cube(float size, const std::string& texture) {
    return Box(0, 0, 0, size, size, size, {texture, texture, texture, texture, texture, texture});
}

// A 64-unit prism over the triangle (0,0) (64,0) (0,64): two triangles (top, bottom) and
// three quads.
inline std::string Prism(const std::string& top, const std::string& bottom,
                         const std::string& sides) {
    return "{\n" + Face(Point(0, 64, 64), Point(0, 0, 64), Point(0, 0, 0), sides) +
           Face(Point(0, 0, 64), Point(64, 0, 64), Point(64, 0, 0), sides) +
           Face(Point(64, 0, 64), Point(0, 64, 64), Point(0, 64, 0), sides) +
           Face(Point(0, 0, 64), Point(0, 64, 64), Point(64, 64, 64), top) +
           Face(Point(64, 64, 0), Point(0, 64, 0), Point(0, 0, 0), bottom) + "}\n";
}

inline std::string World(const std::vector<std::string>& brushes) {
    std::string text = "// entity 0\n{\n\"classname\" \"worldspawn\"\n";
    for (const std::string& b : brushes)
        text += "// brush\n" + b;
    return text + "}\n";
}

}  // namespace map_text
