#pragma once
// Scan conversion of projected layer quads. A layer's bounds rectangle, mapped through a
// plane projection (PlaneProjection.h), is first cut by the plane W = kNearW in the
// layer's own coordinates, where W is linear, so that nothing at or behind the viewer
// is projected; what is left projects to a convex polygon on screen.
//
// The polygon is drawn row by row over the pixels whose centres lie within half a pixel
// of it. Each such pixel gets a coverage, 255 × clamp(0.5 + d, 0, 1), where d is the
// signed distance in pixels from the pixel centre to the nearest edge (positive inside):
// exact along edges, which is what anti-aliasing needs, and a slight overestimate right
// at corners. Within each row the pixels farther than half a pixel from every edge form
// one run of full coverage, found per row by solving the edge equations, so only the two
// ends of a row evaluate distances. The coverage is then multiplied by the clip mask, if
// any, and the row is handed to a shader: an inlined functor that maps pixels back to the
// layer and blends (LayerShaders.h).

#include "quartzcore/PlaneProjection.h"
#include "quartzcore/Renderer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace sim {

// A rectangle of pixels, half-open: x0 ≤ x < x1, y0 ≤ y < y1.
struct IntRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool isEmpty() const { return x0 >= x1 || y0 >= y1; }
    IntRect intersected(const IntRect &o) const
    {
        return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
    IntRect united(const IntRect &o) const
    {
        if (isEmpty())
            return o;
        if (o.isEmpty())
            return *this;
        return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
    IntRect outset(int margin) const
    {
        return {x0 - margin, y0 - margin, x1 + margin, y1 + margin};
    }
};

// Where drawing may land: a rectangle, and optionally a coverage mask of frame size
// (one byte per pixel, rows of the frame's width) that multiplies every coverage.
struct Clip {
    IntRect bounds;
    const std::uint8_t *mask = nullptr;
    int maskStride = 0;
};

// Points at which W falls below this are cut away before projecting.
inline constexpr double kNearW = 1e-5;

// A projected quad: up to eight vertices (four corners, each cut may add one), in
// screen pixels, counter-clockwise or clockwise.
struct ScreenPolygon {
    std::array<CGPoint, 8> points;
    int count = 0;
};

// The quad of `rect` (layer coordinates) through `layerToScreen`, cut at W = kNearW.
// Empty (count < 3) when the quad lies wholly behind the viewer.
ScreenPolygon projectQuad(const CATransform3D &layerToScreen, CGRect rect);

// Coverage of a convex polygon, row by row.
class CoverageRows {
public:
    // False when the polygon has no area or misses `clip`.
    bool setUp(const ScreenPolygon &polygon, const Clip &clip);

    // The rows to walk and the pixels they may touch.
    const IntRect &bounds() const { return m_bounds; }

    // Coverage of the pixels of row y: answers the run [x0, x1) that holds every touched
    // pixel, writing its coverages to `coverage` (indexed from x0); false when the row
    // touches nothing.
    bool row(int y, int &x0, int &x1, std::uint8_t *coverage) const;

private:
    struct Edge {
        double nx, ny, c; // nx·x + ny·y + c: signed distance, positive inside
    };

    double minimumDistance(double x, double y) const;

    std::array<Edge, 8> m_edges;
    int m_edgeCount = 0;
    IntRect m_bounds;
    Clip m_clip;
};

// Draws a polygon with a shader whose `shadeRow(y, x0, x1, coverage, pixels)` blends the
// run [x0, x1) of row y into `pixels` (the target row from x0 on); answers the pixels it
// may have changed. `scratch` holds one row of coverage between calls.
template <class Shader>
IntRect rasterize(const ScreenPolygon &polygon, const Clip &clip, PixelBuffer &target,
                  std::vector<std::uint8_t> &scratch, Shader &shader)
{
    CoverageRows rows;
    if (!rows.setUp(polygon, clip))
        return {};
    const IntRect &bounds = rows.bounds();
    scratch.resize(std::size_t(target.width) + 1);
    std::uint8_t *coverage = scratch.data();
    for (int y = bounds.y0; y < bounds.y1; ++y) {
        int x0, x1;
        if (rows.row(y, x0, x1, coverage))
            shader.shadeRow(y, x0, x1, coverage, target.row(y) + std::size_t(x0) * 4);
    }
    return bounds;
}

} // namespace sim
