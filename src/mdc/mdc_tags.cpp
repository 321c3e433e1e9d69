#include "mdc/mdc_tags.h"

#include <cmath>
#include <numbers>

#include "md3/md3.h"

namespace {

constexpr double kDegreesToRadians = std::numbers::pi * 2.0 / 360.0;

struct TSinCosF {
    float sin;
    float cos;
};

// As the game: the angle in degrees as a float, turned to radians as a float, its sine and
// cosine kept as floats.
TSinCosF GameSinCos(float degrees) {
    const float radians = static_cast<float>(degrees * kDegreesToRadians);
    return {static_cast<float>(std::sin(radians)), static_cast<float>(std::cos(radians))};
}

std::int16_t StoredAngle(double radians) {
    // |radians| <= pi, so the stored value stays within +-16350.
    return static_cast<std::int16_t>(std::lround(radians / kDegreesToRadians / kMDCTagAngleScale));
}

}  // namespace

TMD3Tag DecodeMDCTag(const TMDCTagRecord& record) {
    TMD3Tag tag;
    tag.origin = {static_cast<float>(record.xyz[0] * (1.0 / 64)),
                  static_cast<float>(record.xyz[1] * (1.0 / 64)),
                  static_cast<float>(record.xyz[2] * (1.0 / 64))};
    const TSinCosF p = GameSinCos(static_cast<float>(record.angles[0] * kMDCTagAngleScale));
    const TSinCosF y = GameSinCos(static_cast<float>(record.angles[1] * kMDCTagAngleScale));
    const TSinCosF r = GameSinCos(static_cast<float>(record.angles[2] * kMDCTagAngleScale));
    // Forward, left (the negated "right" of the game's angle vectors) and up.
    tag.axis[0] = {p.cos * y.cos, p.cos * y.sin, -p.sin};
    tag.axis[1] = {r.sin * p.sin * y.cos - r.cos * y.sin, r.sin * p.sin * y.sin + r.cos * y.cos,
                   r.sin * p.cos};
    tag.axis[2] = {r.cos * p.sin * y.cos + r.sin * y.sin, r.cos * p.sin * y.sin - r.sin * y.cos,
                   r.cos * p.cos};
    return tag;
}

TMDCTagRecord EncodeMDCTag(const TMD3Tag& tag, int& clamped) {
    TMDCTagRecord record;
    record.xyz[0] = StoredCoordinate(tag.origin.x, clamped);
    record.xyz[1] = StoredCoordinate(tag.origin.y, clamped);
    record.xyz[2] = StoredCoordinate(tag.origin.z, clamped);
    // Yaw and pitch from the forward axis; roll from where the left axis lies between the
    // left and up axes that yaw and pitch alone give. That holds at straight up and down too,
    // where the forward axis tells no yaw and yaw 0 is taken.
    const TVector3 f = tag.axis[0];
    const TVector3 l = tag.axis[1];
    const double yaw = std::atan2(double{f.y}, double{f.x});
    const double pitch = std::atan2(-double{f.z}, std::hypot(double{f.x}, double{f.y}));
    const double sy = std::sin(yaw), cy = std::cos(yaw);
    const double sp = std::sin(pitch), cp = std::cos(pitch);
    const double alongLeft = -sy * l.x + cy * l.y;
    const double alongUp = sp * cy * l.x + sp * sy * l.y + cp * l.z;
    const double roll = std::atan2(alongUp, alongLeft);
    record.angles[0] = StoredAngle(pitch);
    record.angles[1] = StoredAngle(yaw);
    record.angles[2] = StoredAngle(roll);
    return record;
}
