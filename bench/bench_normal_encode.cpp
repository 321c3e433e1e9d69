// Encoding the normals a bake encodes: the engineer's body posed at 200 frames spread over the
// whole body animation (about 220,000 normals), by EncodeNormal against the full search it must
// agree with. The benchmark refuses to time them when a single word differs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/user_prompts.h"
#include "math/normal.h"
#include "math/normal_grid.h"
#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_poser.h"

namespace {

struct BakedNormals {
    std::vector<TVector3> normals;
    std::string problem;  // why the benchmark cannot run, empty when it can
};

const BakedNormals& Normals() {
    static const BakedNormals baked = [] {
        BakedNormals b;
        const std::filesystem::path data(VELDRA_TESTDATA_DIR);
        TMDM mesh;
        TMDX anim;
        AnswerYesPrompts yes;
        try {
            if (!mesh.LoadFromFile((data / "mdm/allied_engineer_body.mdm").string(), yes) ||
                !anim.LoadFromFile((data / "mdx/body.mdx").string()) || anim.frames.size() < 200) {
                b.problem = "the sample pair does not load";
                return b;
            }
        } catch (const std::exception& e) {
            b.problem = std::string("samples not found: ") + e.what();
            return b;
        }
        TSkeletalPoser poser;
        std::vector<TVector3> positions, normals;
        const std::size_t step = anim.frames.size() / 200;
        for (std::size_t f = 0; f < 200; ++f) {
            if (!poser.PoseBones(anim, static_cast<std::uint32_t>(f * step))) continue;
            for (std::uint32_t s = 0; s < mesh.surfaces.size(); ++s) {
                poser.PoseSurfaceInto(mesh, s, positions, normals);
                for (const TVector3& n : normals)
                    b.normals.push_back(GameFromPose(n));
            }
        }
        for (const TVector3& n : b.normals) {
            if (EncodeNormal(n) != normal_grid::EncodeNormalBySearch(n)) {
                b.problem = "EncodeNormal and the search give different words";
                break;
            }
        }
        return b;
    }();
    return baked;
}

template <std::uint16_t (*Encode)(TVector3)>
void Encoding(benchmark::State& state) {
    const BakedNormals& baked = Normals();
    if (!baked.problem.empty()) {
        state.SkipWithError(baked.problem.c_str());
        return;
    }
    for (auto _ : state) {
        unsigned sum = 0;
        for (const TVector3& n : baked.normals)
            sum += Encode(n);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * baked.normals.size()));
}

// The reference: the full search over both spellings' candidates.
void BM_EncodeBySearch(benchmark::State& state) {
    Encoding<normal_grid::EncodeNormalBySearch>(state);
}
BENCHMARK(BM_EncodeBySearch)->Unit(benchmark::kMillisecond);

void BM_EncodeNormal(benchmark::State& state) {
    Encoding<EncodeNormal>(state);
}
BENCHMARK(BM_EncodeNormal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
