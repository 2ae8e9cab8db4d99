#include "quartzcore/PlaneProjection.h"

#include <cmath>

namespace sim {

bool PlaneProjection::isFinite() const
{
    for (const auto &row : h)
        for (double value : row)
            if (!std::isfinite(value))
                return false;
    return true;
}

// The adjugate divided by the determinant. A nearly collapsed plane keeps its (huge)
// inverse: its projected quad has next to no area, so nothing much is sampled through it.
std::optional<PlaneProjection> PlaneProjection::inverse() const
{
    if (!isFinite())
        return std::nullopt;
    const auto &m = h;
    double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    double c01 = m[0][2] * m[2][1] - m[0][1] * m[2][2];
    double c02 = m[0][1] * m[1][2] - m[0][2] * m[1][1];
    double det = m[0][0] * c00 + m[1][0] * c01 + m[2][0] * c02;
    if (det == 0 || !std::isfinite(det))
        return std::nullopt;
    PlaneProjection inv;
    inv.h[0][0] = c00;
    inv.h[0][1] = c01;
    inv.h[0][2] = c02;
    inv.h[1][0] = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    inv.h[1][1] = m[0][0] * m[2][2] - m[0][2] * m[2][0];
    inv.h[1][2] = m[0][2] * m[1][0] - m[0][0] * m[1][2];
    inv.h[2][0] = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    inv.h[2][1] = m[0][1] * m[2][0] - m[0][0] * m[2][1];
    inv.h[2][2] = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    for (auto &row : inv.h)
        for (double &value : row)
            value /= det;
    if (!inv.isFinite())
        return std::nullopt;
    return inv;
}

} // namespace sim
