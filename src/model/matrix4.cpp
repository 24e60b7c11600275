#include "model/matrix4.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace cubrik {

void setIdentity(double (&m)[16]) {
    std::fill(std::begin(m), std::end(m), 0.0);
    m[0] = m[5] = m[10] = m[15] = 1.0;
}

void multiply(const double* a, const double* b, double* out) {
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a[row + 4 * k] * b[k + 4 * column];
            out[row + 4 * column] = sum;
        }
}

Vector4 transform(const Matrix4& m, const Vector4& v) {
    Vector4 out{};
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * v[0] + m[row + 4] * v[1] + m[row + 8] * v[2] + m[row + 12] * v[3];
    return out;
}

bool invert(const Matrix4& m, Matrix4& inverse) {
    // Gauss-Jordan elimination with partial pivoting on [m | I].
    double a[4][8];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            a[row][column] = m[row + 4 * column];
            a[row][column + 4] = row == column ? 1.0 : 0.0;
        }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
            if (std::abs(a[row][column]) > std::abs(a[pivot][column])) pivot = row;
        if (a[pivot][column] == 0.0) return false;
        std::swap(a[pivot], a[column]);
        const double scale = 1.0 / a[column][column];
        for (double& value : a[column]) value *= scale;
        for (int row = 0; row < 4; ++row) {
            if (row == column) continue;
            const double factor = a[row][column];
            for (int k = 0; k < 8; ++k) a[row][k] -= factor * a[column][k];
        }
    }
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) inverse[row + 4 * column] = a[row][column + 4];
    return true;
}

}  // namespace cubrik
