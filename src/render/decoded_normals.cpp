#include "render/decoded_normals.h"

#include <vector>

#include "math/normal.h"

const TVector3& DecodedNormal(std::uint16_t word) {
    static const std::vector<TVector3> table = [] {
        std::vector<TVector3> t(65536);
        for (std::uint32_t w = 0; w < t.size(); ++w)
            t[w] = DecodeNormal(static_cast<std::uint16_t>(w));
        return t;
    }();
    return table[word];
}
