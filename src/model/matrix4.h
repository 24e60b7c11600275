#pragma once
// 4 x 4 matrices in double precision, column-major as OpenGL keeps them: the
// camera composes the view with them and the tools map between cells and
// window pixels with them, without OpenGL.

#include <array>

namespace cubrik {

using Matrix4 = std::array<double, 16>;
using Vector4 = std::array<double, 4>;

void setIdentity(double (&m)[16]);

// out = a * b; `out` may not alias either input.
void multiply(const double* a, const double* b, double* out);

Vector4 transform(const Matrix4& m, const Vector4& v);

// The inverse of m; false, with `inverse` unspecified, when m is singular.
bool invert(const Matrix4& m, Matrix4& inverse);

}  // namespace cubrik
