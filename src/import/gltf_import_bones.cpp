#include "import/gltf_import_bones.h"

#include <cmath>
#include <numbers>

#include "skeletal/bone_offset_direction.h"

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
// The game's offset sine table has 1024 entries spread over one turn in 1023 steps, looked up
// by the top ten bits of the angle.
constexpr double kTableStep = 360.0 / 1023.0;
constexpr int kTableShift = 6;

std::int16_t AngleUnits(double degrees) {
    const long units = std::lround(degrees / kMDXAngleScale);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(units & 0xFFFF));
}

// The stored angle that looks up table entry `index` (any whole number, taken round the table).
std::int16_t TableAngle(long index) {
    const long wrapped = ((index % 1024) + 1024) % 1024;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(wrapped << kTableShift));
}

}  // namespace

void EncodeBoneRotation(const TGameRotation& rotation, TMDXBoneFrame& frame) {
    // The pose turns offsets by the transpose of the game's axis matrix for (pitch, yaw,
    // roll): Rz(yaw) * Ry(pitch) * Rx(roll). Its rows are the rotation's columns.
    const auto a = [&](int row, int col) -> double {
        const TVector3& c = rotation.column[row];
        return col == 0 ? c.x : col == 1 ? c.y : c.z;
    };
    const double horizontal = std::hypot(a(0, 0), a(1, 0));
    double pitch = std::atan2(-a(2, 0), horizontal), yaw = 0, roll = 0;
    if (horizontal > 1e-6) {
        yaw = std::atan2(a(1, 0), a(0, 0));
        roll = std::atan2(a(2, 1), a(2, 2));
    } else {
        // Straight up or down yaw and roll turn about the same axis: it is all roll.
        roll = std::atan2(-a(1, 2), a(1, 1));
    }
    frame.angles[0] = AngleUnits(pitch * kDegrees);
    frame.angles[1] = AngleUnits(yaw * kDegrees);
    frame.angles[2] = AngleUnits(roll * kDegrees);
    frame.angles[3] = 0;
}

void EncodeBoneDirection(TVector3 direction, TMDXBoneFrame& frame) {
    const double length = VectorLength(direction);
    if (!(length > 0)) {
        frame.ofsAngles[0] = frame.ofsAngles[1] = 0;
        return;
    }
    const double pitch = std::atan2(-direction.z, std::hypot(direction.x, direction.y)) * kDegrees;
    const double yaw = std::atan2(direction.y, direction.x) * kDegrees;
    const long pitchIndex = std::lround(pitch / kTableStep);
    const long yawIndex = std::lround(yaw / kTableStep);
    // The table's sines and cosines are not quite a circle: try the entries around the ideal
    // angles and keep the pair nearest the direction.
    const TVector3 unit = direction * static_cast<float>(1.0 / length);
    double best = 1e30;
    for (long dp = -2; dp <= 2; ++dp)
        for (long dy = -2; dy <= 2; ++dy) {
            const std::int16_t p = TableAngle(pitchIndex + dp), y = TableAngle(yawIndex + dy);
            const TVector3 d = BoneOffsetDirection(p, y) - unit;
            const double error = VectorDot(d, d);
            if (error < best) {
                best = error;
                frame.ofsAngles[0] = p;
                frame.ofsAngles[1] = y;
            }
        }
}

TVector3 IntoBoneFrame(const TGameRotation& r, TVector3 v) {
    return {VectorDot(r.column[0], v), VectorDot(r.column[1], v), VectorDot(r.column[2], v)};
}

TVector3 OutOfBoneFrame(const TGameRotation& r, TVector3 v) {
    return r.column[0] * v.x + r.column[1] * v.y + r.column[2] * v.z;
}
