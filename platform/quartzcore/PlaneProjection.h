#pragma once
// The projective map between a layer's plane and the screen. A layer lies in its own
// z = 0 plane, so of its 4 × 4 mapping only the rows of x, y and the translation, and
// the columns of X, Y and W, matter: the 3 × 3 matrix
//
//     | m11 m12 m14 |
//     | m21 m22 m24 |      (x, y, 1) × H = (X, Y, W), drawn at (X / W, Y / W)
//     | m41 m42 m44 |
//
// in the row-vector convention of CATransform3D.h. Lines map to lines, so a projected
// quad stays a (possibly clipped) convex polygon, and the inverse matrix maps a screen
// point back to the layer, which is how the rasterizer samples (QuadRasterizer.h)
// and how points convert between layers.

#include "quartzcore/CATransform3D.h"

#include <optional>

namespace sim {

struct PlaneProjection {
    // Row-major, rows as above.
    double h[3][3];

    static PlaneProjection of(const CATransform3D &t)
    {
        return {{{t.m11, t.m12, t.m14}, {t.m21, t.m22, t.m24}, {t.m41, t.m42, t.m44}}};
    }

    // (x, y, 1) × H: the homogeneous image of a point.
    void apply(double x, double y, double &X, double &Y, double &W) const
    {
        X = x * h[0][0] + y * h[1][0] + h[2][0];
        Y = x * h[0][1] + y * h[1][1] + h[2][1];
        W = x * h[0][2] + y * h[1][2] + h[2][2];
    }

    bool isFinite() const;
    // The inverse map, or nothing when the plane collapses to a line or a point (the layer
    // is seen edge-on or scaled to nothing) or the matrix is not finite.
    std::optional<PlaneProjection> inverse() const;
};

} // namespace sim
