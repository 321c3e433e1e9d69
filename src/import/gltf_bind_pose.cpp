#include "import/gltf_bind_pose.h"

#include <algorithm>
#include <cmath>

#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_poser.h"

namespace {

// The frames the start is chosen from, spread evenly over the animation.
constexpr std::uint32_t kStartCandidates = 64;
constexpr int kMaxRounds = 400;
constexpr int kRoundsPerMeasure = 8;
constexpr double kSettled = 1e-5;

struct TPoint {
    double x = 0, y = 0, z = 0;
};

TPoint Placed(const TGameFrame& f, TVector3 o) {
    const TVector3 p =
        VectorAdd(VectorAdd(VectorAdd(VectorScale(f.axis[0], o.x), VectorScale(f.axis[1], o.y)),
                            VectorScale(f.axis[2], o.z)),
                  f.origin);
    return {p.x, p.y, p.z};
}

double Distance(TPoint a, TPoint b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

bool UsableWeight(const TMDMWeight& w, std::size_t bones) {
    return w.boneIndex >= 0 && static_cast<std::size_t>(w.boneIndex) < bones && w.boneWeight > 0.0f;
}

// Each vertex's weighted mean of its placed offsets; with `gaps`, the largest and mean gaps.
void Means(const TMDM& mesh, const std::vector<TGameFrame>& bones,
           std::vector<std::vector<TPoint>>& means, double& largest, double& mean,
           bool gaps = true) {
    if (gaps) largest = 0.0;
    double sum = 0.0;
    std::size_t count = 0;
    means.resize(mesh.surfaces.size());
    for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
        const std::vector<TMDMVertex>& vertices = mesh.surfaces[s].vertices;
        means[s].assign(vertices.size(), TPoint{});
        for (std::size_t v = 0; v < vertices.size(); ++v) {
            TPoint m;
            double total = 0.0;
            for (const TMDMWeight& w : vertices[v].weights) {
                if (!UsableWeight(w, bones.size())) continue;
                const TPoint p = Placed(bones[static_cast<std::size_t>(w.boneIndex)], w.offset);
                m = {m.x + w.boneWeight * p.x, m.y + w.boneWeight * p.y, m.z + w.boneWeight * p.z};
                total += w.boneWeight;
            }
            if (total > 0.0) m = {m.x / total, m.y / total, m.z / total};
            means[s][v] = m;
            if (!gaps) continue;
            double gap = 0.0;
            for (const TMDMWeight& w : vertices[v].weights) {
                if (!UsableWeight(w, bones.size())) continue;
                gap = std::max(
                    gap,
                    Distance(Placed(bones[static_cast<std::size_t>(w.boneIndex)], w.offset), m));
            }
            largest = std::max(largest, gap);
            sum += gap;
            ++count;
        }
    }
    if (gaps) mean = count > 0 ? sum / static_cast<double>(count) : 0.0;
}

// The eigenvector of the largest eigenvalue of a symmetric 4x4 matrix (Jacobi rotations).
std::array<double, 4> LargestEigenvector(double (&a)[4][4]) {
    double v[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    for (int sweep = 0; sweep < 50; ++sweep) {
        double off = 0.0;
        for (int p = 0; p < 4; ++p)
            for (int q = p + 1; q < 4; ++q)
                off += a[p][q] * a[p][q];
        if (off < 1e-30) break;
        for (int p = 0; p < 4; ++p) {
            for (int q = p + 1; q < 4; ++q) {
                if (a[p][q] == 0.0) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1.0 / std::sqrt(t * t + 1), s = t * c;
                for (int k = 0; k < 4; ++k) {
                    const double kp = a[k][p], kq = a[k][q];
                    a[k][p] = c * kp - s * kq;
                    a[k][q] = s * kp + c * kq;
                }
                for (int k = 0; k < 4; ++k) {
                    const double pk = a[p][k], qk = a[q][k];
                    a[p][k] = c * pk - s * qk;
                    a[q][k] = s * pk + c * qk;
                }
                for (int k = 0; k < 4; ++k) {
                    const double kp = v[k][p], kq = v[k][q];
                    v[k][p] = c * kp - s * kq;
                    v[k][q] = s * kp + c * kq;
                }
            }
        }
    }
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (a[i][i] > a[best][best]) best = i;
    return {v[0][best], v[1][best], v[2][best], v[3][best]};
}

struct TPair {
    TPoint from;  // the offset in the bone's frame
    TPoint to;    // where the vertex is
    double weight = 0;
};

// The rigid placement that carries the offsets nearest onto the points (Horn's closed form
// with unit quaternions); nothing when the offsets lie on one line (or one point), which
// leaves a turn about that line free.
std::optional<TGameFrame> FitFrame(const std::vector<TPair>& pairs) {
    if (pairs.size() < 3) return std::nullopt;
    double total = 0;
    TPoint ca, cb;
    for (const TPair& p : pairs) {
        total += p.weight;
        ca = {ca.x + p.weight * p.from.x, ca.y + p.weight * p.from.y, ca.z + p.weight * p.from.z};
        cb = {cb.x + p.weight * p.to.x, cb.y + p.weight * p.to.y, cb.z + p.weight * p.to.z};
    }
    ca = {ca.x / total, ca.y / total, ca.z / total};
    cb = {cb.x / total, cb.y / total, cb.z / total};
    double s[3][3] = {};
    double c[3][3] = {};  // the offsets' spread
    for (const TPair& p : pairs) {
        const double a[3] = {p.from.x - ca.x, p.from.y - ca.y, p.from.z - ca.z};
        const double b[3] = {p.to.x - cb.x, p.to.y - cb.y, p.to.z - cb.z};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                s[i][j] += p.weight * a[i] * b[j];
                c[i][j] += p.weight * a[i] * a[j];
            }
        }
    }
    // Points off one line have two spread directions: the sum of the spread's 2x2 principal
    // minors (the sum of products of eigenvalue pairs) is then well above zero.
    const double trace = c[0][0] + c[1][1] + c[2][2];
    const double minors = c[0][0] * c[1][1] - c[0][1] * c[0][1] + c[0][0] * c[2][2] -
                          c[0][2] * c[0][2] + c[1][1] * c[2][2] - c[1][2] * c[1][2];
    if (!(minors > 1e-6 * trace * trace)) return std::nullopt;
    double n[4][4] = {
        {s[0][0] + s[1][1] + s[2][2], s[1][2] - s[2][1], s[2][0] - s[0][2], s[0][1] - s[1][0]},
        {s[1][2] - s[2][1], s[0][0] - s[1][1] - s[2][2], s[0][1] + s[1][0], s[2][0] + s[0][2]},
        {s[2][0] - s[0][2], s[0][1] + s[1][0], -s[0][0] + s[1][1] - s[2][2], s[1][2] + s[2][1]},
        {s[0][1] - s[1][0], s[2][0] + s[0][2], s[1][2] + s[2][1], -s[0][0] - s[1][1] + s[2][2]}};
    const auto [w, x, y, z] = LargestEigenvector(n);
    // Column-vector rotation; the frame's rows are its columns.
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
                            {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                            {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}};
    TGameFrame frame;
    for (int k = 0; k < 3; ++k) {
        frame.axis[k] = {static_cast<float>(r[0][k]), static_cast<float>(r[1][k]),
                         static_cast<float>(r[2][k])};
    }
    frame.origin = {static_cast<float>(cb.x - (r[0][0] * ca.x + r[0][1] * ca.y + r[0][2] * ca.z)),
                    static_cast<float>(cb.y - (r[1][0] * ca.x + r[1][1] * ca.y + r[1][2] * ca.z)),
                    static_cast<float>(cb.z - (r[2][0] * ca.x + r[2][1] * ca.y + r[2][2] * ca.z))};
    return frame;
}

std::vector<TGameFrame> PosedBones(TMDM& mesh, const TMDX& anim, TSkeletalPoser& poser,
                                   std::uint32_t frame) {
    std::vector<TGameFrame> bones(anim.bones.size());
    if (!poser.PoseFrame(mesh, anim, frame)) return bones;
    for (std::size_t b = 0; b < bones.size(); ++b)
        bones[b] = GameBoneFrame(mesh.pose, b);
    return bones;
}

}  // namespace

TGameFrame GameBoneFrame(const TSkeletalPoseBuffers& pose, std::size_t b) {
    // The pose works mirrored in y (pose_steps.h): the game's rotation is the pose's with
    // the y row and column negated, and its position the pose position turned back.
    const TMatrix4& m = pose.inverseBoneMatrices[b];
    const float sign[3] = {1.0f, -1.0f, 1.0f};
    TGameFrame frame;
    for (int r = 0; r < 3; ++r) {
        frame.axis[r] = {m.at(r, 0) * sign[r], m.at(r, 1) * sign[r] * -1.0f, m.at(r, 2) * sign[r]};
    }
    frame.origin = GameFromPose(pose.bonePositions[b]);
    return frame;
}

std::optional<TBindPose> FitBindPose(TMDM& mesh, const TMDX& anim) {
    const auto frames = static_cast<std::uint32_t>(anim.frames.size());
    if (frames == 0 || anim.header.numFrames == 0) return std::nullopt;
    TSkeletalPoser poser;
    std::vector<std::vector<TPoint>> means;
    double largest = 0, mean = 0, bestMean = INFINITY;
    std::vector<TGameFrame> bones;
    const std::uint32_t step = std::max<std::uint32_t>(1, frames / kStartCandidates);
    for (std::uint32_t f = 0; f < frames; f += step) {
        std::vector<TGameFrame> candidate = PosedBones(mesh, anim, poser, f);
        Means(mesh, candidate, means, largest, mean);
        if (mean < bestMean) {
            bestMean = mean;
            bones = std::move(candidate);
        }
    }
    // Which offsets each bone carries, so that every round only fits.
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> users(bones.size());
    std::vector<std::vector<std::size_t>> weightOf(bones.size());
    for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
        for (std::size_t v = 0; v < mesh.surfaces[s].vertices.size(); ++v) {
            const std::vector<TMDMWeight>& weights = mesh.surfaces[s].vertices[v].weights;
            for (std::size_t w = 0; w < weights.size(); ++w) {
                if (!UsableWeight(weights[w], bones.size())) continue;
                const auto b = static_cast<std::size_t>(weights[w].boneIndex);
                users[b].emplace_back(s, v);
                weightOf[b].push_back(w);
            }
        }
    }
    Means(mesh, bones, means, largest, mean);
    std::vector<TPair> pairs;
    for (int round = 0; round < kMaxRounds; ++round) {
        for (std::size_t b = 0; b < bones.size(); ++b) {
            pairs.clear();
            for (std::size_t i = 0; i < users[b].size(); ++i) {
                const auto [s, v] = users[b][i];
                const TMDMWeight& w = mesh.surfaces[s].vertices[v].weights[weightOf[b][i]];
                pairs.push_back({{w.offset.x, w.offset.y, w.offset.z}, means[s][v], w.boneWeight});
            }
            if (const std::optional<TGameFrame> fitted = FitFrame(pairs)) bones[b] = *fitted;
        }
        // The gaps shrink slowly: they are measured only now and then.
        const bool measure = round % kRoundsPerMeasure == kRoundsPerMeasure - 1;
        const double previous = mean;
        Means(mesh, bones, means, largest, mean, measure);
        // Far below what a stored position (1/64 unit) could show.
        if (measure && previous - mean < kSettled) break;
    }
    Means(mesh, bones, means, largest, mean);

    TBindPose pose;
    pose.bones = std::move(bones);
    pose.largestGap = largest;
    pose.meanGap = mean;
    pose.positions.resize(mesh.surfaces.size());
    pose.normals.resize(mesh.surfaces.size());
    for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
        const std::vector<TMDMVertex>& vertices = mesh.surfaces[s].vertices;
        for (std::size_t v = 0; v < vertices.size(); ++v) {
            const TPoint m = means[s][v];
            pose.positions[s].push_back(
                {static_cast<float>(m.x), static_cast<float>(m.y), static_cast<float>(m.z)});
            // The game turns a vertex's one normal by each of its bones, weighted.
            TVector3 n = kVectorZero;
            for (const TMDMWeight& w : vertices[v].weights) {
                if (!UsableWeight(w, pose.bones.size())) continue;
                const TGameFrame& f = pose.bones[static_cast<std::size_t>(w.boneIndex)];
                const TVector3 turned =
                    VectorAdd(VectorAdd(VectorScale(f.axis[0], vertices[v].normal.x),
                                        VectorScale(f.axis[1], vertices[v].normal.y)),
                              VectorScale(f.axis[2], vertices[v].normal.z));
                n = VectorAdd(n, VectorScale(turned, w.boneWeight));
            }
            const float length = VectorLength(n);
            pose.normals[s].push_back(length > 1e-6f ? VectorScale(n, 1.0f / length) : kVectorPosZ);
        }
    }
    return pose;
}
