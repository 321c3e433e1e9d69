// 4x4 matrices in OpenGL memory order: rows 0-2 are the images of the axes, row 3 the
// translation, and points are transformed as row vectors.
#pragma once

#include "math/scalar.h"
#include "math/vector.h"

struct TMatrix4 {
    float e[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& at(int row, int col) { return e[row * 4 + col]; }
    float at(int row, int col) const { return e[row * 4 + col]; }
};
static_assert(sizeof(TMatrix4) == 64);

TMatrix4 MatrixIdentity();
TMatrix4 MatrixSet(float e0, float e1, float e2, float e3, float e4, float e5, float e6, float e7,
                   float e8, float e9, float e10, float e11, float e12, float e13, float e14,
                   float e15);

// C[r][c] = sum_k A[r][k] * B[k][c]; returned by value so the result may replace an input.
TMatrix4 MatrixMultiply(const TMatrix4& a, const TMatrix4& b);

// p.x*row0 + p.y*row1 + p.z*row2 + row3, no division by w. Inline: it is the inner loop of
// the skeletal pose.
inline TVector3 MatrixTransformPoint(TVector3 p, const TMatrix4& m) {
    return {p.x * m.e[0] + p.y * m.e[4] + p.z * m.e[8] + m.e[12],
            p.x * m.e[1] + p.y * m.e[5] + p.z * m.e[9] + m.e[13],
            p.x * m.e[2] + p.y * m.e[6] + p.z * m.e[10] + m.e[14]};
}

// Each turns points by -deg about its axis (right-handed) under the row-vector transform;
// the rotate commands and the view rely on these exact element positions.
TMatrix4 MatrixRotationX(double degrees);
TMatrix4 MatrixRotationY(double degrees);
TMatrix4 MatrixRotationZ(double degrees);
// The same from the sine and cosine of the angle, for callers that already hold them.
TMatrix4 MatrixRotationX(TSinCos sc);
TMatrix4 MatrixRotationY(TSinCos sc);
TMatrix4 MatrixRotationZ(TSinCos sc);

void MatrixScale(TMatrix4& m, float factor);

double Determinant3(double a1, double a2, double a3, double b1, double b2, double b3, double c1,
                    double c2, double c3);
double MatrixDeterminant(const TMatrix4& m);
void MatrixAdjugate(TMatrix4& m);

// A near-singular matrix (|det| < 0.0001) becomes the identity; no error is reported.
void MatrixInvert(TMatrix4& m);

// Rotates p about the pivot by X, then Y, then Z degrees; the result stays relative to
// the pivot (the pivot is not added back).
TVector3 RotateAroundPivot(TVector3 p, TVector3 pivot, TVector3 anglesDeg);
