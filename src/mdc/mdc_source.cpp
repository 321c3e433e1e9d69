#include <algorithm>
#include <cctype>
#include <cstring>

#include "mdc/mdc.h"

namespace {

template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

template <std::size_t N>
bool SameField(const char (&a)[N], const char (&b)[N]) {
    return std::memcmp(a, b, N) == 0;
}

bool SameShaderNames(const std::vector<TMD3Shader>& a, const std::vector<TMD3Shader>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const TMD3Shader& x, const TMD3Shader& y) { return SameField(x.name, y.name); });
}

bool SameSurface(const TSurface& a, const TSurface& b) {
    return SameField(a.name, b.name) && a.flags == b.flags && a.numShaders == b.numShaders &&
           a.numVerts == b.numVerts && a.numTriangles == b.numTriangles &&
           SameShaderNames(a.shaders, b.shaders) && SameBytes(a.triangles, b.triangles) &&
           SameBytes(a.texCoords, b.texCoords) && SameBytes(a.vertices, b.vertices);
}

}  // namespace

bool IsMDCFileName(std::string_view fileName) {
    constexpr std::string_view kExtension = ".mdc";
    if (fileName.size() < kExtension.size()) return false;
    const std::string_view tail = fileName.substr(fileName.size() - kExtension.size());
    return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char c, char e) {
        return std::tolower(static_cast<unsigned char>(c)) == e;
    });
}

bool SameMDCModel(const THeader& a, const THeader& b) {
    return SameField(a.name, b.name) && a.flags == b.flags && a.numFrames == b.numFrames &&
           a.numTags == b.numTags && a.numSurfaces == b.numSurfaces && a.numSkins == b.numSkins &&
           SameBytes(a.frames, b.frames) && SameBytes(a.tags, b.tags) &&
           std::equal(a.surfaces.begin(), a.surfaces.end(), b.surfaces.begin(), b.surfaces.end(),
                      SameSurface);
}

bool SameMDCGeometry(const THeader& a, const THeader& b) {
    return a.numFrames == b.numFrames &&
           std::equal(a.surfaces.begin(), a.surfaces.end(), b.surfaces.begin(), b.surfaces.end(),
                      [](const TSurface& x, const TSurface& y) {
                          return x.numVerts == y.numVerts && SameBytes(x.vertices, y.vertices);
                      });
}

bool SameMDCTagPlaces(const THeader& a, const THeader& b) {
    if (a.numFrames != b.numFrames || a.numTags != b.numTags || a.tags.size() != b.tags.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.tags.size(); ++i) {
        const TMD3Tag& x = a.tags[i];
        const TMD3Tag& y = b.tags[i];
        if (std::memcmp(&x.origin, &y.origin, sizeof x.origin) != 0 ||
            std::memcmp(x.axis, y.axis, sizeof x.axis) != 0) {
            return false;
        }
    }
    return true;
}
