// Writes the program's own sky box: six 24-bit uncompressed TGA images of a clear sky over a
// plain ground, named sky<Face>.tga, into the folder given as the only argument.
//
// Rows are stored bottom-up, as the texture loader hands a file's first row to texture row
// t = 0, the lower end of a side face.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 128;

struct Rgb {
    float r, g, b;
};

constexpr Rgb kZenith{62, 104, 186};
constexpr Rgb kSkyHorizon{196, 218, 242};
constexpr Rgb kGroundHorizon{150, 142, 124};
constexpr Rgb kNadir{84, 76, 62};

Rgb Mix(Rgb a, Rgb b, float u) {
    return {a.r + (b.r - a.r) * u, a.g + (b.g - a.g) * u, a.b + (b.b - a.b) * u};
}

// The colour at height t of a side face: ground below 0.5, sky above, the sky paling
// quickly towards the horizon.
Rgb SideColour(float t) {
    if (t >= 0.5f) return Mix(kSkyHorizon, kZenith, std::pow((t - 0.5f) / 0.5f, 0.6f));
    return Mix(kGroundHorizon, kNadir, (0.5f - t) / 0.5f);
}

std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

bool WriteTga(const std::filesystem::path& path, const std::vector<Rgb>& rows) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = kSize & 0xFF;
    bytes[13] = kSize >> 8;
    bytes[14] = kSize & 0xFF;
    bytes[15] = kSize >> 8;
    bytes[16] = 24;
    for (const Rgb& row : rows)
        for (int x = 0; x < kSize; ++x) {
            bytes.push_back(Byte(row.b));
            bytes.push_back(Byte(row.g));
            bytes.push_back(Byte(row.r));
        }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    std::vector<Rgb> side(kSize);
    for (int y = 0; y < kSize; ++y)
        side[static_cast<std::size_t>(y)] = SideColour((y + 0.5f) / kSize);
    const std::vector<Rgb> top(kSize, kZenith);
    const std::vector<Rgb> bottom(kSize, kNadir);

    bool ok = true;
    for (const char* face : {"Left", "Right", "Front", "Back"})
        ok = WriteTga(folder / (std::string("sky") + face + ".tga"), side) && ok;
    ok = WriteTga(folder / "skyTop.tga", top) && ok;
    ok = WriteTga(folder / "skyBottom.tga", bottom) && ok;
    if (!ok) {
        std::fprintf(stderr, "cannot write the sky images into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
