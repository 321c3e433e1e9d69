#include "skeletal/bone_offset_direction.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int kTableSize = 1024;
constexpr int kTableMask = kTableSize - 1;
constexpr int kIndexShift = 16 - 10;  // 16-bit angles onto 1024 entries

std::array<float, kTableSize> MakeTable() {
    std::array<float, kTableSize> table{};
    for (int i = 0; i < kTableSize; ++i) {
        // The game's own expression, float angle then double sine, so the entries are its bits.
        const float degrees = static_cast<float>(i) * 360.0f / static_cast<float>(kTableSize - 1);
        table[static_cast<std::size_t>(i)] =
            static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0f));
    }
    return table;
}

struct TSineCosine {
    float sin;
    float cos;
};

TSineCosine LookUp(const std::array<float, kTableSize>& table, std::int16_t angle) {
    const int index = (static_cast<int>(angle) & 0xFFFF) >> kIndexShift;
    return {table[static_cast<std::size_t>(index)],
            table[static_cast<std::size_t>((index + kTableSize / 4) & kTableMask)]};
}

}  // namespace

TVector3 BoneOffsetDirection(std::int16_t pitch, std::int16_t yaw) {
    static const std::array<float, kTableSize> table = MakeTable();
    const TSineCosine p = LookUp(table, pitch);
    const TSineCosine y = LookUp(table, yaw);
    return {p.cos * y.cos, p.cos * y.sin, -p.sin};
}
