#include "quartzcore/QuadRasterizer.h"

#include <cmath>
#include <limits>

namespace sim {

namespace {

double perspectiveDivisor(const CATransform3D &t, CGPoint p)
{
    return p.x * t.m14 + p.y * t.m24 + t.m44;
}

// One step of Sutherland–Hodgman against W ≥ kNearW, in layer coordinates where W is
// linear, so the cut points are exact.
int cutBehindViewer(const CATransform3D &t, const CGPoint *in, int count, CGPoint *out)
{
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        CGPoint a = in[i], b = in[(i + 1) % count];
        double wa = perspectiveDivisor(t, a), wb = perspectiveDivisor(t, b);
        if (wa >= kNearW)
            out[kept++] = a;
        if ((wa >= kNearW) != (wb >= kNearW)) {
            double s = (kNearW - wa) / (wb - wa);
            out[kept++] = {a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s};
        }
    }
    return kept;
}

// Pixel centres x + 0.5 strictly inside (low, high), as a half-open run of pixels.
void touchedRun(double low, double high, int &x0, int &x1)
{
    x0 = int(std::floor(low - 0.5)) + 1;
    x1 = int(std::ceil(high - 0.5));
}

// Pixel centres within [low, high], as a half-open run.
void fullRun(double low, double high, int &x0, int &x1)
{
    x0 = int(std::ceil(low - 0.5));
    x1 = int(std::floor(high - 0.5)) + 1;
}

std::uint8_t coverageByte(double distance)
{
    return std::uint8_t(std::clamp(0.5 + distance, 0.0, 1.0) * 255 + 0.5);
}

} // namespace

ScreenPolygon projectQuad(const CATransform3D &layerToScreen, CGRect rect)
{
    rect = CGRectStandardize(rect);
    CGPoint corners[4] = {{CGRectGetMinX(rect), CGRectGetMinY(rect)},
                          {CGRectGetMaxX(rect), CGRectGetMinY(rect)},
                          {CGRectGetMaxX(rect), CGRectGetMaxY(rect)},
                          {CGRectGetMinX(rect), CGRectGetMaxY(rect)}};
    CGPoint kept[8];
    int count = cutBehindViewer(layerToScreen, corners, 4, kept);
    ScreenPolygon polygon;
    for (int i = 0; i < count; ++i) {
        ProjectedPoint p = projectPoint(layerToScreen, kept[i]);
        if (!p.inFront || !std::isfinite(p.point.x) || !std::isfinite(p.point.y))
            return {};
        polygon.points[polygon.count++] = p.point;
    }
    return polygon;
}

bool CoverageRows::setUp(const ScreenPolygon &polygon, const Clip &clip)
{
    if (polygon.count < 3)
        return false;
    double area = 0;
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < polygon.count; ++i) {
        CGPoint a = polygon.points[i], b = polygon.points[(i + 1) % polygon.count];
        area += a.x * b.y - b.x * a.y;
        minX = std::min(minX, a.x), maxX = std::max(maxX, a.x);
        minY = std::min(minY, a.y), maxY = std::max(maxY, a.y);
    }
    if (!(std::fabs(area) > 1e-9))
        return false;
    double inward = area > 0 ? 1 : -1;
    m_edgeCount = 0;
    for (int i = 0; i < polygon.count; ++i) {
        CGPoint a = polygon.points[i], b = polygon.points[(i + 1) % polygon.count];
        double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
        if (!(length > 1e-9))
            continue;
        double nx = -dy / length * inward, ny = dx / length * inward;
        m_edges[m_edgeCount++] = {nx, ny, -(nx * a.x + ny * a.y)};
    }
    // Clamped in floating point first: a quad close to the viewer may reach far outside.
    const IntRect &c = clip.bounds;
    auto clampX = [&](double x) { return std::clamp(x, double(c.x0) - 1, double(c.x1) + 1); };
    auto clampY = [&](double y) { return std::clamp(y, double(c.y0) - 1, double(c.y1) + 1); };
    IntRect box{int(std::floor(clampX(minX - 0.5))), int(std::floor(clampY(minY - 0.5))),
                int(std::ceil(clampX(maxX + 0.5))), int(std::ceil(clampY(maxY + 0.5)))};
    m_bounds = box.intersected(c);
    m_clip = clip;
    return !m_bounds.isEmpty();
}

double CoverageRows::minimumDistance(double x, double y) const
{
    double distance = INFINITY;
    for (int i = 0; i < m_edgeCount; ++i)
        distance = std::min(distance, m_edges[i].nx * x + m_edges[i].ny * y + m_edges[i].c);
    return distance;
}

bool CoverageRows::row(int y, int &x0, int &x1, std::uint8_t *coverage) const
{
    double centreY = y + 0.5;
    double touchLow = m_bounds.x0 - 1.0, touchHigh = m_bounds.x1 + 1.0;
    double fullLow = touchLow, fullHigh = touchHigh;
    for (int i = 0; i < m_edgeCount; ++i) {
        const Edge &e = m_edges[i];
        double offset = e.ny * centreY + e.c; // the edge's distance is nx·x + offset
        if (std::fabs(e.nx) < 1e-12) {
            if (offset <= -0.5)
                return false;
            if (offset < 0.5)
                fullLow = INFINITY;
            continue;
        }
        double touchAt = (-0.5 - offset) / e.nx, fullAt = (0.5 - offset) / e.nx;
        if (e.nx > 0) {
            touchLow = std::max(touchLow, touchAt);
            fullLow = std::max(fullLow, fullAt);
        } else {
            touchHigh = std::min(touchHigh, touchAt);
            fullHigh = std::min(fullHigh, fullAt);
        }
    }
    if (!(touchLow < touchHigh))
        return false;
    touchedRun(touchLow, touchHigh, x0, x1);
    x0 = std::max(x0, m_bounds.x0), x1 = std::min(x1, m_bounds.x1);
    if (x0 >= x1)
        return false;
    int full0 = x1, full1 = x1;
    if (fullLow < fullHigh) {
        fullRun(fullLow, fullHigh, full0, full1);
        full0 = std::clamp(full0, x0, x1), full1 = std::clamp(full1, full0, x1);
    }
    for (int x = x0; x < full0; ++x)
        coverage[x - x0] = coverageByte(minimumDistance(x + 0.5, centreY));
    std::fill(coverage + (full0 - x0), coverage + (full1 - x0), std::uint8_t(255));
    for (int x = full1; x < x1; ++x)
        coverage[x - x0] = coverageByte(minimumDistance(x + 0.5, centreY));
    if (m_clip.mask) {
        const std::uint8_t *mask = m_clip.mask + std::size_t(y) * m_clip.maskStride;
        for (int x = x0; x < x1; ++x)
            coverage[x - x0] = std::uint8_t((coverage[x - x0] * mask[x] + 127) / 255);
    }
    return true;
}

} // namespace sim
