#include "math/matrix.h"

#include <cmath>

#include "math/scalar.h"

TMatrix4 MatrixIdentity() {
    return TMatrix4{};
}

TMatrix4 MatrixSet(float e0, float e1, float e2, float e3, float e4, float e5, float e6, float e7,
                   float e8, float e9, float e10, float e11, float e12, float e13, float e14,
                   float e15) {
    return TMatrix4{{e0, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, e12, e13, e14, e15}};
}

TMatrix4 MatrixMultiply(const TMatrix4& a, const TMatrix4& b) {
    TMatrix4 c;
    for (int r = 0; r < 4; ++r) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.at(r, k) * b.at(k, col);
            c.at(r, col) = sum;
        }
    }
    return c;
}

TMatrix4 MatrixRotationX(double degrees) {
    return MatrixRotationX(SinCosDeg(degrees));
}

TMatrix4 MatrixRotationY(double degrees) {
    return MatrixRotationY(SinCosDeg(degrees));
}

TMatrix4 MatrixRotationZ(double degrees) {
    return MatrixRotationZ(SinCosDeg(degrees));
}

TMatrix4 MatrixRotationX(TSinCos sc) {
    const auto [s, c] = sc;
    return MatrixSet(1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1);
}

TMatrix4 MatrixRotationY(TSinCos sc) {
    const auto [s, c] = sc;
    return MatrixSet(c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1);
}

TMatrix4 MatrixRotationZ(TSinCos sc) {
    const auto [s, c] = sc;
    return MatrixSet(c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

void MatrixScale(TMatrix4& m, float factor) {
    for (float& v : m.e)
        v *= factor;
}

double Determinant3(double a1, double a2, double a3, double b1, double b2, double b3, double c1,
                    double c2, double c3) {
    return a1 * (b2 * c3 - b3 * c2) - b1 * (a2 * c3 - a3 * c2) + c1 * (a2 * b3 - a3 * b2);
}

namespace {

// The rows (or columns) left, in order, when one is removed.
constexpr int kKept[4][3] = {{1, 2, 3}, {0, 2, 3}, {0, 1, 3}, {0, 1, 2}};

// Determinant of the 3x3 minor that remains after removing row `row` and column `col`.
double Minor(const TMatrix4& m, int row, int col) {
    const int* r = kKept[row];
    const int* c = kKept[col];
    return Determinant3(m.at(r[0], c[0]), m.at(r[0], c[1]), m.at(r[0], c[2]),  //
                        m.at(r[1], c[0]), m.at(r[1], c[1]), m.at(r[1], c[2]),  //
                        m.at(r[2], c[0]), m.at(r[2], c[1]), m.at(r[2], c[2]));
}

double Cofactor(const TMatrix4& m, int row, int col) {
    const double minor = Minor(m, row, col);
    return ((row + col) % 2 == 0) ? minor : -minor;
}

}  // namespace

double MatrixDeterminant(const TMatrix4& m) {
    double det = 0.0;
    for (int c = 0; c < 4; ++c)
        det += m.at(0, c) * Cofactor(m, 0, c);
    return det;
}

void MatrixAdjugate(TMatrix4& m) {
    TMatrix4 adj;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            adj.at(c, r) = static_cast<float>(Cofactor(m, r, c));
    }
    m = adj;
}

void MatrixInvert(TMatrix4& m) {
    // Every cofactor once: the determinant takes those of row 0, summed as MatrixDeterminant
    // sums them, and the adjugate all sixteen. Posing inverts a matrix per bone and frame.
    double cofactor[4][4];
    double sum = 0.0;
    for (int c = 0; c < 4; ++c) {
        cofactor[0][c] = Cofactor(m, 0, c);
        sum += m.at(0, c) * cofactor[0][c];
    }
    const float det = static_cast<float>(sum);
    if (std::fabs(det) < 0.0001f) {
        m = MatrixIdentity();
        return;
    }
    for (int r = 1; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            cofactor[r][c] = Cofactor(m, r, c);
    }
    TMatrix4 adjugate;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            adjugate.at(c, r) = static_cast<float>(cofactor[r][c]);
    }
    MatrixScale(adjugate, 1.0f / det);
    m = adjugate;
}

TVector3 RotateAroundPivot(TVector3 p, TVector3 pivot, TVector3 anglesDeg) {
    TMatrix4 r = MatrixMultiply(MatrixRotationX(anglesDeg.x), MatrixRotationY(anglesDeg.y));
    r = MatrixMultiply(r, MatrixRotationZ(anglesDeg.z));
    return MatrixTransformPoint(VectorSubtract(p, pivot), r);
}
