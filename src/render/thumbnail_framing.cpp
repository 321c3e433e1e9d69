#include "render/thumbnail_framing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "math/scalar.h"

namespace {

// The share of the half-picture the model may take on its tighter axis is 1 / kMargin.
constexpr double kMargin = 1.05;
// The tightest fit of a long model seen end-on puts the camera at its near end, which then
// fills the picture while the rest shrinks to a dot: keep the farthest vertex within this
// many times the nearest one's distance.
constexpr double kMaxDepthRatio = 5.0;

struct TAxisFit {
    double offset = 0.0;    // shift in the view plane that centres the picture on this axis
    double distance = 0.0;  // least camera distance that keeps every point inside
};

// One screen axis whose half-extent grows by `slope` per unit of depth: a turned point with
// screen coordinate s and depth z stays inside when |s + offset| <= slope * (distance - z).
// The two extremes max(z + s / slope) and max(z - s / slope) meet at the tightest fit.
TAxisFit FitAxis(const std::vector<TVector3>& turned, double slope, float TVector3::*axis) {
    double plus = -std::numeric_limits<double>::infinity();
    double minus = plus;
    for (const TVector3& q : turned) {
        const double s = q.*axis;
        plus = std::max(plus, q.z + s / slope);
        minus = std::max(minus, q.z - s / slope);
    }
    return {slope * (minus - plus) * 0.5, (plus + minus) * 0.5};
}

// As glRotatef turns a point about the X and the Z axis.
TVector3 TurnAboutX(TVector3 p, double degrees) {
    const double a = degrees * static_cast<double>(kDegToRad);
    const double c = std::cos(a), s = std::sin(a);
    return {p.x, static_cast<float>(p.y * c - p.z * s), static_cast<float>(p.y * s + p.z * c)};
}

TVector3 TurnAboutZ(TVector3 p, double degrees) {
    const double a = degrees * static_cast<double>(kDegToRad);
    const double c = std::cos(a), s = std::sin(a);
    return {static_cast<float>(p.x * c - p.y * s), static_cast<float>(p.x * s + p.y * c), p.z};
}

}  // namespace

std::vector<TVector3> FrameVertexPositions(const TMD3& model, int frame) {
    const THeader& h = model.header;
    std::vector<TVector3> points;
    if (frame < 0 || frame >= h.numFrames) return points;
    for (const TSurface& s : h.surfaces) {
        const std::size_t verts = static_cast<std::size_t>(std::max(s.numVerts, 0));
        const std::size_t first = verts * static_cast<std::size_t>(frame);
        if (first + verts > s.vertices.size()) continue;
        for (std::size_t i = 0; i < verts; ++i) {
            const TMD3Vertex& v = s.vertices[first + i];
            points.push_back({v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale});
        }
    }
    return points;
}

TThumbnailPose FitThumbnail(const std::vector<TVector3>& points, float yawDeg, float pitchDeg,
                            const TThumbnailLens& lens) {
    TThumbnailPose pose;
    // Z up and the front (+X) towards the viewer, then the yaw and the look down.
    pose.rotationAngles = {pitchDeg - 90.0f, 0.0f, yawDeg - 90.0f};
    if (points.empty()) {
        pose.cameraDistance = static_cast<float>(lens.nearClip * 1.5);
        return pose;
    }

    TVector3 lo = points.front(), hi = points.front();
    for (const TVector3& p : points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    pose.pivot = -((lo + hi) * 0.5f);

    std::vector<TVector3> turned;
    turned.reserve(points.size());
    double nearest = -std::numeric_limits<double>::infinity();
    double farthest = std::numeric_limits<double>::infinity();
    for (const TVector3& p : points) {
        const TVector3 q =
            TurnAboutX(TurnAboutZ(p + pose.pivot, pose.rotationAngles.z), pose.rotationAngles.x);
        turned.push_back(q);
        nearest = std::max(nearest, static_cast<double>(q.z));
        farthest = std::min(farthest, static_cast<double>(q.z));
    }

    const double vertical =
        std::tan(lens.fieldOfViewDeg * 0.5 * static_cast<double>(kDegToRad)) / kMargin;
    const double horizontal = vertical * std::max(lens.aspect, 1e-3);
    const TAxisFit x = FitAxis(turned, horizontal, &TVector3::x);
    const TAxisFit y = FitAxis(turned, vertical, &TVector3::y);
    pose.pan = {static_cast<float>(x.offset), static_cast<float>(y.offset), 0.0f};
    // A tiny model would otherwise reach through the near plane.
    const double clearance =
        std::max(lens.nearClip * 1.5, (nearest - farthest) / (kMaxDepthRatio - 1.0));
    pose.cameraDistance =
        static_cast<float>(std::max({x.distance, y.distance, nearest + clearance}));
    return pose;
}
