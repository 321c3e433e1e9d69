#include "render/thumbnail_framing.h"

#include <algorithm>
#include <cmath>

#include "math/scalar.h"

std::optional<TBoundingSphere> FrameBoundingSphere(const TMD3& model, int frame) {
    const THeader& h = model.header;
    if (frame < 0 || frame >= h.numFrames || static_cast<std::size_t>(frame) >= h.frames.size()) {
        return std::nullopt;
    }
    TVector3 lo{3.4e38f, 3.4e38f, 3.4e38f}, hi{-3.4e38f, -3.4e38f, -3.4e38f};
    bool any = false;
    for (const TSurface& s : h.surfaces) {
        const std::size_t verts = static_cast<std::size_t>(std::max(s.numVerts, 0));
        const std::size_t first = verts * static_cast<std::size_t>(frame);
        if (first + verts > s.vertices.size()) continue;
        for (std::size_t i = 0; i < verts; ++i) {
            const TMD3Vertex& v = s.vertices[first + i];
            const TVector3 p{v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale};
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
            any = true;
        }
    }
    if (!any) {
        lo = h.frames[frame].minBounds;
        hi = h.frames[frame].maxBounds;
    }
    const TVector3 centre = (lo + hi) * 0.5f;
    return TBoundingSphere{centre, VectorLength(hi - centre)};
}

float FittingCameraDistance(const TBoundingSphere& sphere, double fieldOfViewDeg, double aspect,
                            double nearClip) {
    constexpr double kMargin = 1.08;
    const double halfVertical = fieldOfViewDeg * 0.5 * static_cast<double>(kDegToRad);
    const double halfHorizontal = std::atan(std::tan(halfVertical) * std::max(aspect, 1e-3));
    const double half = std::min(halfVertical, halfHorizontal);
    const double radius = std::isfinite(sphere.radius) ? std::max(0.0f, sphere.radius) : 0.0;
    const double fit = radius / std::sin(half) * kMargin;
    // A tiny model would otherwise reach through the near plane.
    return static_cast<float>(std::max(fit, radius + nearClip * 1.5));
}
