#include "quartzcore/CATransform3D.h"

#include <array>
#include <bit>
#include <optional>

namespace {

// The matrix as rows of columns, so that products and inverses read as index arithmetic.
// CATransform3D is sixteen CGFloats without padding, so bit_cast copies it element for
// element.
using Rows = std::array<std::array<CGFloat, 4>, 4>;
static_assert(sizeof(Rows) == sizeof(CATransform3D));

Rows rows(const CATransform3D &t)
{
    return std::bit_cast<Rows>(t);
}

CATransform3D fromRows(const Rows &m)
{
    return std::bit_cast<CATransform3D>(m);
}

// The public comparisons are exported and so reached through the symbol table even from
// here; the products below use these local copies, which the compiler can inline.
bool equal(const CATransform3D &a, const CATransform3D &b)
{
    return rows(a) == rows(b);
}

bool isIdentity(const CATransform3D &t)
{
    return equal(t, CATransform3DIdentity);
}

bool isPureTranslation(const CATransform3D &t)
{
    return t.m11 == 1 && t.m12 == 0 && t.m13 == 0 && t.m14 == 0 && t.m21 == 0 && t.m22 == 1 &&
           t.m23 == 0 && t.m24 == 0 && t.m31 == 0 && t.m32 == 0 && t.m33 == 1 && t.m34 == 0 &&
           t.m44 == 1;
}

// Cofactor expansion through the 2 × 2 minors of the top two and bottom two rows. Answers
// nothing when the determinant leaves no finite inverse (it is zero or so small that its
// reciprocal overflows).
std::optional<Rows> invertGeneral(const Rows &a)
{
    CGFloat s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    CGFloat s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    CGFloat s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    CGFloat s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    CGFloat s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    CGFloat s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    CGFloat c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    CGFloat c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    CGFloat c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    CGFloat c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    CGFloat c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    CGFloat c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];

    CGFloat determinant = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    CGFloat k = 1 / determinant;
    if (!std::isfinite(k))
        return std::nullopt;

    Rows b;
    b[0] = {(a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * k,
            (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * k,
            (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * k,
            (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * k};
    b[1] = {(-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * k,
            (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * k,
            (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * k,
            (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * k};
    b[2] = {(a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * k,
            (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * k,
            (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * k,
            (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * k};
    b[3] = {(-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * k,
            (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * k,
            (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * k,
            (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * k};
    return b;
}

} // namespace

CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz)
{
    CATransform3D t = CATransform3DIdentity;
    t.m41 = tx;
    t.m42 = ty;
    t.m43 = tz;
    return t;
}

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz)
{
    CATransform3D t = CATransform3DIdentity;
    t.m11 = sx;
    t.m22 = sy;
    t.m33 = sz;
    return t;
}

// The rotation by `angle` about the unit axis (x, y, z), written for row vectors: the
// transpose of the usual column-vector form, so that (1, 0, 0) about z goes to
// (cos, sin, 0).
CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z)
{
    CGFloat length = std::sqrt(x * x + y * y + z * z);
    if (length == 0 || !std::isfinite(length))
        return CATransform3DIdentity;
    x /= length;
    y /= length;
    z /= length;
    CGFloat s = std::sin(angle);
    CGFloat c = std::cos(angle);
    CGFloat v = 1 - c; // the part of the turn that moves points along the axis
    Rows m;
    m[0] = {x * x * v + c, x * y * v + z * s, x * z * v - y * s, 0};
    m[1] = {x * y * v - z * s, y * y * v + c, y * z * v + x * s, 0};
    m[2] = {x * z * v + y * s, y * z * v - x * s, z * z * v + c, 0};
    m[3] = {0, 0, 0, 1};
    return fromRows(m);
}

// Putting a translation before t leaves t's first three rows as they are and moves its
// bottom row by tx, ty and tz times those rows: no full product needed.
CATransform3D CATransform3DTranslate(CATransform3D t, CGFloat tx, CGFloat ty, CGFloat tz)
{
    Rows m = rows(t);
    for (int column = 0; column < 4; ++column)
        m[3][column] += tx * m[0][column] + ty * m[1][column] + tz * m[2][column];
    return fromRows(m);
}

// Likewise a scale before t scales t's first three rows.
CATransform3D CATransform3DScale(CATransform3D t, CGFloat sx, CGFloat sy, CGFloat sz)
{
    Rows m = rows(t);
    const CGFloat factors[3] = {sx, sy, sz};
    for (int row = 0; row < 3; ++row)
        for (CGFloat &element : m[row])
            element *= factors[row];
    return fromRows(m);
}

// Most layers carry the identity, so products with it skip the sixty-four multiplications.
CATransform3D CATransform3DConcat(CATransform3D a, CATransform3D b)
{
    if (isIdentity(a))
        return b;
    if (isIdentity(b))
        return a;
    Rows left = rows(a), right = rows(b), product;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            product[row][column] =
                left[row][0] * right[0][column] + left[row][1] * right[1][column] +
                left[row][2] * right[2][column] + left[row][3] * right[3][column];
    return fromRows(product);
}

CATransform3D CATransform3DRotate(CATransform3D t, CGFloat angle, CGFloat x, CGFloat y, CGFloat z)
{
    return CATransform3DConcat(CATransform3DMakeRotation(angle, x, y, z), t);
}

CATransform3D CATransform3DInvert(CATransform3D t)
{
    // The identity and plain offsets, which most layers carry, need no determinant.
    if (isPureTranslation(t))
        return CATransform3DMakeTranslation(-t.m41, -t.m42, -t.m43);
    std::optional<Rows> inverse = invertGeneral(rows(t));
    return inverse ? fromRows(*inverse) : t;
}

bool CATransform3DEqualToTransform(CATransform3D a, CATransform3D b)
{
    return equal(a, b);
}

bool CATransform3DIsIdentity(CATransform3D t)
{
    return isIdentity(t);
}

bool CATransform3DIsAffine(CATransform3D t)
{
    return t.m13 == 0 && t.m14 == 0 && t.m23 == 0 && t.m24 == 0 && t.m31 == 0 && t.m32 == 0 &&
           t.m33 == 1 && t.m34 == 0 && t.m43 == 0 && t.m44 == 1;
}

CATransform3D CATransform3DMakeAffineTransform(CGAffineTransform m)
{
    return {m.a, m.b, 0, 0, m.c, m.d, 0, 0, 0, 0, 1, 0, m.tx, m.ty, 0, 1};
}

CGAffineTransform CATransform3DGetAffineTransform(CATransform3D t)
{
    return {t.m11, t.m12, t.m21, t.m22, t.m41, t.m42};
}
