#include "import/map_patch.h"

#include <algorithm>
#include <cmath>

#include "import/map_face_line.h"

namespace {

// The compiler's largest patch, and the largest grid its subdivision builds.
constexpr int kMaxPatchSize = 32;
constexpr int kMaxExpandedAxis = 128;
// Its default "-subdivisions": facets per 16 units of curve length.
constexpr int kPatchSubdivisions = 8;

using TGrid = std::vector<std::vector<TMapVertex>>;  // [row][column]

bool ParseCount(std::string_view token, int& value) {
    const float number = MapNumber(token, -1.0f);
    if (number != std::floor(number) || number < 0.0f || number > 1e6f) return false;
    value = static_cast<int>(number);
    return true;
}

double Length(TVector3 v) {
    return std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z);
}

// Normalises in double as the compiler does; false, leaving the zero vector, for a vector of no
// length.
bool NormalizeInPlace(TVector3& v) {
    const double length = Length(v);
    if (length == 0.0) {
        v = kVectorZero;
        return false;
    }
    v = {static_cast<float>(v.x / length), static_cast<float>(v.y / length),
         static_cast<float>(v.z / length)};
    return true;
}

// The midpoint as the compiler takes it: in double, stored as float.
TMapVertex Lerp(const TMapVertex& a, const TMapVertex& b) {
    TMapVertex out;
    out.position = {static_cast<float>(0.5 * (double{a.position.x} + b.position.x)),
                    static_cast<float>(0.5 * (double{a.position.y} + b.position.y)),
                    static_cast<float>(0.5 * (double{a.position.z} + b.position.z))};
    out.s = static_cast<float>(0.5 * (double{a.s} + b.s));
    out.t = static_cast<float>(0.5 * (double{a.t} + b.t));
    // The normals are averaged too; where they cancel, the first one is kept.
    if (!NormalizeInPlace(out.normal = (a.normal + b.normal) * 0.5f)) out.normal = a.normal;
    return out;
}

// The length of the quadratic curve a-b-c measured over eight steps, or 0 for a curve that
// is short or straight.
float CurveLength(TVector3 a, TVector3 b, TVector3 c) {
    const TVector3 ab = b - a, bc = c - b, ac = c - a;
    if (Length(ab) < 0.125 || Length(bc) < 0.125 || Length(ac) < 0.125) return 0.0f;
    const TVector3 nab = VectorNormalize(ab), nbc = VectorNormalize(bc), nac = VectorNormalize(ac);
    if (VectorDot(nab, nbc) > 0.99f && VectorDot(nab, nac) > 0.99f) return 0.0f;
    float length = 0.0f;
    TVector3 last = a;
    float t = 0.0f;
    for (int i = 0; i < 8; ++i, t += 1.0f / 8.0f) {
        const TVector3 delta = ab * (1.0f - t) + bc * t;
        const TVector3 point = a + delta;
        length += static_cast<float>(Length(point - last));
        last = point;
    }
    return length;
}

int IterationsForCurve(float length) {
    int iterations = 0;
    for (; iterations < 3; ++iterations) {
        const double facets = kPatchSubdivisions * 16 * std::pow(2.0, iterations);
        if (facets >= length) break;
    }
    return iterations;
}

TGrid ControlGrid(const TPatchControls& patch) {
    TGrid grid(static_cast<std::size_t>(patch.height));
    for (int r = 0; r < patch.height; ++r)
        grid[static_cast<std::size_t>(r)].assign(patch.points.begin() + r * patch.width,
                                                 patch.points.begin() + (r + 1) * patch.width);
    return grid;
}

TGrid Transposed(const TGrid& grid) {
    TGrid out(grid.empty() ? 0 : grid[0].size(), std::vector<TMapVertex>(grid.size()));
    for (std::size_t r = 0; r < grid.size(); ++r)
        for (std::size_t c = 0; c < grid[r].size(); ++c)
            out[c][r] = grid[r][c];
    return out;
}

// One pass of the compiler's subdivision along the rows: every span of three columns gets
// two more, halving it.
void SubdivideColumns(TGrid& grid) {
    std::size_t width = grid[0].size();
    for (std::size_t j = 0; j + 2 < width; j += 4) {
        if (width + 2 >= static_cast<std::size_t>(kMaxExpandedAxis)) break;
        width += 2;
        for (std::vector<TMapVertex>& row : grid) {
            const TMapVertex prev = Lerp(row[j], row[j + 1]);
            const TMapVertex next = Lerp(row[j + 1], row[j + 2]);
            const TMapVertex mid = Lerp(prev, next);
            row.insert(row.begin() + static_cast<std::ptrdiff_t>(j) + 2, 2, TMapVertex{});
            row[j + 1] = prev;
            row[j + 2] = mid;
            row[j + 3] = next;
        }
    }
}

float Halfway(float self, float neighbour) {
    return static_cast<float>((double{self} + neighbour) * 0.5);
}

// Drops the approximating points of every row onto the curve they stand for.
void PutRowsOnCurve(TGrid& grid) {
    for (std::vector<TMapVertex>& row : grid) {
        for (std::size_t i = 1; i + 1 < row.size(); i += 2) {
            TMapVertex& v = row[i];
            const TMapVertex& a = row[i + 1];
            const TMapVertex& b = row[i - 1];
            auto onCurve = [](float& value, float after, float before) {
                const float prev = Halfway(value, after);
                const float next = Halfway(value, before);
                value = Halfway(prev, next);
            };
            onCurve(v.position.x, a.position.x, b.position.x);
            onCurve(v.position.y, a.position.y, b.position.y);
            onCurve(v.position.z, a.position.z, b.position.z);
            onCurve(v.s, a.s, b.s);
            onCurve(v.t, a.t, b.t);
        }
    }
}

// Removes the inner columns whose points all lie within 0.1 of the line through their
// neighbours.
void RemoveLinearColumns(TGrid& grid) {
    for (std::size_t j = 1; j + 1 < grid[0].size(); ++j) {
        double largest = 0.0;
        for (const std::vector<TMapVertex>& row : grid) {
            const TVector3 start = row[j - 1].position;
            const TVector3 direction = VectorNormalize(row[j + 1].position - start);
            const TVector3 offset = row[j].position - start;
            const TVector3 projected = start + direction * VectorDot(offset, direction);
            largest = std::max(largest, Length(row[j].position - projected));
        }
        if (largest < 0.1) {
            for (std::vector<TMapVertex>& row : grid)
                row.erase(row.begin() + static_cast<std::ptrdiff_t>(j));
            --j;
        }
    }
}

TVector3 Bezier(TVector3 a, TVector3 b, TVector3 c, float u) {
    return a * ((1.0f - u) * (1.0f - u)) + b * (2.0f * u * (1.0f - u)) + c * (u * u);
}

float Bezier(float a, float b, float c, float u) {
    return a * ((1.0f - u) * (1.0f - u)) + b * (2.0f * u * (1.0f - u)) + c * (u * u);
}

// patchDef3: every span evaluated at its given number of even steps.
TGrid FixedSteps(const TPatchControls& patch) {
    const int spansX = (patch.width - 1) / 2, spansY = (patch.height - 1) / 2;
    // No more rows or columns than the compiler's own subdivision reaches.
    const int stepsX = std::max(1, std::min(patch.fixedStepsX, (kMaxExpandedAxis - 1) / spansX));
    const int stepsY = std::max(1, std::min(patch.fixedStepsY, (kMaxExpandedAxis - 1) / spansY));
    const int columns = spansX * stepsX + 1, rows = spansY * stepsY + 1;
    auto at = [&patch](int r, int c) -> const TMapVertex& {
        return patch.points[static_cast<std::size_t>(r * patch.width + c)];
    };
    TGrid grid(static_cast<std::size_t>(rows), std::vector<TMapVertex>(columns));
    for (int r = 0; r < rows; ++r) {
        const int spanY = std::min(r / stepsY, spansY - 1);
        const float v = static_cast<float>(r - spanY * stepsY) / static_cast<float>(stepsY);
        for (int c = 0; c < columns; ++c) {
            const int spanX = std::min(c / stepsX, spansX - 1);
            const float u = static_cast<float>(c - spanX * stepsX) / static_cast<float>(stepsX);
            TMapVertex across[3];
            for (int k = 0; k < 3; ++k) {
                const TMapVertex& p0 = at(2 * spanY + k, 2 * spanX);
                const TMapVertex& p1 = at(2 * spanY + k, 2 * spanX + 1);
                const TMapVertex& p2 = at(2 * spanY + k, 2 * spanX + 2);
                across[k].position = Bezier(p0.position, p1.position, p2.position, u);
                across[k].s = Bezier(p0.s, p1.s, p2.s, u);
                across[k].t = Bezier(p0.t, p1.t, p2.t, u);
                across[k].normal = Bezier(p0.normal, p1.normal, p2.normal, u);
            }
            TMapVertex& out = grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            out.position = Bezier(across[0].position, across[1].position, across[2].position, v);
            out.s = Bezier(across[0].s, across[1].s, across[2].s, v);
            out.t = Bezier(across[0].t, across[1].t, across[2].t, v);
            out.normal = Bezier(across[0].normal, across[1].normal, across[2].normal, v);
            if (!NormalizeInPlace(out.normal)) out.normal = across[0].normal;
        }
    }
    return grid;
}

// Columns first, then rows, as the compiler does.
void PutGridOnCurve(TGrid& grid) {
    grid = Transposed(grid);
    PutRowsOnCurve(grid);
    grid = Transposed(grid);
    PutRowsOnCurve(grid);
}

// The compiler's normals of a grid: at each point, the first distinct neighbour (up to three
// steps away) in each of eight directions, and the normalised sum of the normals of the
// triangles that neighbouring directions span. Rows or columns whose ends meet wrap around.
void MakeGridNormals(TGrid& grid) {
    constexpr int kAround[8][2] = {{0, 1},  {1, 1},   {1, 0},  {1, -1},
                                   {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
    const int width = static_cast<int>(grid[0].size());
    const int height = static_cast<int>(grid.size());
    auto at = [&grid](int x, int y) -> TMapVertex& {
        return grid[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    };
    bool wrapWidth = true;
    for (int y = 0; y < height && wrapWidth; ++y)
        wrapWidth = Length(at(0, y).position - at(width - 1, y).position) <= 1.0;
    bool wrapHeight = true;
    for (int x = 0; x < width && wrapHeight; ++x)
        wrapHeight = Length(at(x, 0).position - at(x, height - 1).position) <= 1.0;

    std::vector<TVector3> normals(static_cast<std::size_t>(width * height));
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j) {
            const TVector3 base = at(i, j).position;
            TVector3 around[8];
            bool good[8] = {};
            for (int k = 0; k < 8; ++k) {
                for (int dist = 1; dist <= 3; ++dist) {
                    int x = i + kAround[k][0] * dist;
                    int y = j + kAround[k][1] * dist;
                    if (wrapWidth) {
                        if (x < 0)
                            x = width - 1 + x;
                        else if (x >= width)
                            x = 1 + x - width;
                    }
                    if (wrapHeight) {
                        if (y < 0)
                            y = height - 1 + y;
                        else if (y >= height)
                            y = 1 + y - height;
                    }
                    if (x < 0 || x >= width || y < 0 || y >= height) break;
                    TVector3 edge = at(x, y).position - base;
                    if (!NormalizeInPlace(edge)) continue;
                    good[k] = true;
                    around[k] = edge;
                    break;
                }
            }
            TVector3 sum = kVectorZero;
            for (int k = 0; k < 8; ++k) {
                if (!good[k] || !good[(k + 1) & 7]) continue;
                TVector3 normal = VectorCross(around[(k + 1) & 7], around[k]);
                if (NormalizeInPlace(normal)) sum = sum + normal;
            }
            NormalizeInPlace(sum);
            normals[static_cast<std::size_t>(j * width + i)] = sum;
        }
    }
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            at(i, j).normal = normals[static_cast<std::size_t>(j * width + i)];
}

// The normals the compiler gives a patch's control points before it subdivides: those of the
// control grid, replaced where the grid put onto its curve turns them by more than about 41
// degrees (degenerate or folded edges); a flat patch takes its plane's normal everywhere.
void SetControlNormals(TPatchControls& patch) {
    TGrid grid = ControlGrid(patch);
    MakeGridNormals(grid);
    TGrid onCurve = grid;
    PutGridOnCurve(onCurve);
    MakeGridNormals(onCurve);
    for (std::size_t r = 0; r < grid.size(); ++r)
        for (std::size_t c = 0; c < grid[r].size(); ++c)
            if (VectorDot(onCurve[r][c].normal, grid[r][c].normal) < 0.75f)
                grid[r][c].normal = onCurve[r][c].normal;
    for (int r = 0; r < patch.height; ++r)
        for (int c = 0; c < patch.width; ++c)
            patch.points[static_cast<std::size_t>(r * patch.width + c)].normal =
                grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)].normal;

    constexpr float kEqual = 0.001f;
    const TVector3 normal = patch.points[0].normal;
    const float distance = VectorDot(patch.points[0].position, normal);
    for (const TMapVertex& p : patch.points)
        if (!VectorEqualEps(p.normal, normal, kEqual) ||
            std::fabs(VectorDot(p.position, normal) - distance) > kEqual)
            return;
    for (TMapVertex& p : patch.points)
        p.normal = normal;
}

// The compiler's test: every control point lies on one line through the first.
bool Degenerate(const TPatchControls& patch) {
    constexpr float kEqual = 0.001f;
    const TVector3 origin = patch.points[0].position;
    std::size_t i = 1;
    TVector3 direction;
    for (; i < patch.points.size(); ++i) {
        const TVector3 delta = origin - patch.points[i].position;
        if (Length(delta) != 0.0) {
            direction = VectorNormalize(delta);
            break;
        }
    }
    if (i == patch.points.size()) return true;
    for (std::size_t k = 1; k < patch.points.size(); ++k) {
        const TVector3 delta = origin - patch.points[k].position;
        if (Length(delta) == 0.0) continue;
        const TVector3 d = VectorNormalize(delta);
        if (!VectorEqualEps(d, direction, kEqual) && !VectorEqualEps(d, -direction, kEqual))
            return false;
    }
    return true;
}

}  // namespace

bool ReadPatch(const std::vector<std::string_view>& lines, TPatchControls& patch) {
    patch = {};
    if (lines.empty()) return false;
    const bool fixed = lines[0].starts_with("patchDef3");
    std::vector<std::string_view> numbers;
    bool haveTexture = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        for (std::string_view token : SplitMapTokens(lines[i])) {
            if (token == "{" || token == "}" || token == "(" || token == ")") continue;
            if (!haveTexture) {
                if (token.size() >= 2 && token.front() == '"' && token.back() == '"')
                    token = token.substr(1, token.size() - 2);
                patch.textureName = std::string(token);
                haveTexture = true;
            } else {
                numbers.push_back(token);
            }
        }
    }
    const std::size_t infoCount = fixed ? 7 : 5;
    if (numbers.size() < infoCount || !ParseCount(numbers[0], patch.width) ||
        !ParseCount(numbers[1], patch.height))
        return false;
    if (fixed &&
        (!ParseCount(numbers[2], patch.fixedStepsX) || !ParseCount(numbers[3], patch.fixedStepsY)))
        return false;
    for (int size : {patch.width, patch.height})
        if (size < 3 || size > kMaxPatchSize || size % 2 == 0) return false;
    const std::size_t count = static_cast<std::size_t>(patch.width * patch.height);
    if (numbers.size() < infoCount + count * 5) return false;
    patch.points.resize(count);
    // The file lists the grid column by column.
    std::size_t n = infoCount;
    for (int column = 0; column < patch.width; ++column) {
        for (int row = 0; row < patch.height; ++row) {
            TMapVertex& v = patch.points[static_cast<std::size_t>(row * patch.width + column)];
            v.position = {MapNumber(numbers[n], 0.0f), MapNumber(numbers[n + 1], 0.0f),
                          MapNumber(numbers[n + 2], 0.0f)};
            v.s = MapNumber(numbers[n + 3], 0.0f);
            v.t = MapNumber(numbers[n + 4], 0.0f);
            n += 5;
        }
    }
    return true;
}

float LongestPatchCurve(const TPatchControls& patch) {
    float longest = 0.0f;
    auto at = [&patch](int r, int c) {
        return patch.points[static_cast<std::size_t>(r * patch.width + c)].position;
    };
    for (int c = 0; c + 2 < patch.width; c += 2) {
        for (int r = 0; r + 2 < patch.height; r += 2) {
            longest = std::max(longest, CurveLength(at(r, c), at(r, c + 1), at(r, c + 2)));
            longest = std::max(longest, CurveLength(at(r, c), at(r + 1, c), at(r + 2, c)));
        }
    }
    return longest;
}

bool PatchesTouch(const TPatchControls& a, const TPatchControls& b) {
    for (const TMapVertex& p : a.points) {
        for (const TMapVertex& q : b.points) {
            if (std::fabs(p.position.x - q.position.x) < 1.0f &&
                std::fabs(p.position.y - q.position.y) < 1.0f &&
                std::fabs(p.position.z - q.position.z) < 1.0f)
                return true;
        }
    }
    return false;
}

bool TessellatePatch(const TPatchControls& patch, float longestCurve, TMapMesh& mesh) {
    mesh = {};
    mesh.textureName = patch.textureName;
    if (Degenerate(patch)) return false;
    TPatchControls withNormals = patch;
    SetControlNormals(withNormals);
    TGrid grid;
    if (patch.fixedStepsX > 0 && patch.fixedStepsY > 0) {
        grid = FixedSteps(withNormals);
    } else {
        grid = ControlGrid(withNormals);
        for (int i = IterationsForCurve(longestCurve); i > 0; --i) {
            SubdivideColumns(grid);
            grid = Transposed(grid);
            SubdivideColumns(grid);
            grid = Transposed(grid);
        }
        PutGridOnCurve(grid);
        RemoveLinearColumns(grid);
        grid = Transposed(grid);
        RemoveLinearColumns(grid);
        grid = Transposed(grid);
    }
    const auto width = static_cast<std::int32_t>(grid[0].size());
    const auto height = static_cast<std::int32_t>(grid.size());
    for (const std::vector<TMapVertex>& row : grid)
        mesh.vertices.insert(mesh.vertices.end(), row.begin(), row.end());
    for (std::int32_t y = 0; y + 1 < height; ++y) {
        for (std::int32_t x = 0; x + 1 < width; ++x) {
            const std::int32_t pw[5] = {x + y * width, x + (y + 1) * width, x + 1 + (y + 1) * width,
                                        x + 1 + y * width, x + y * width};
            const int r = (x + y) & 1;
            mesh.triangles.push_back({pw[r], pw[r + 1], pw[r + 2]});
            mesh.triangles.push_back({pw[r], pw[r + 2], pw[r + 3]});
        }
    }
    return true;
}
