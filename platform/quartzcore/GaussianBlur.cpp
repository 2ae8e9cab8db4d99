#include "quartzcore/GaussianBlur.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

namespace sim {

namespace {

using Vec4 = float __attribute__((vector_size(16)));
using Complex = std::complex<double>;

// Zero samples kept before and after each signal, so the filters read their neighbours
// without tests.
constexpr int kPad = 2;
// Signals filtered side by side: rows in the first pass, columns in the second.
constexpr int kRowLanes = 4;
constexpr int kColumnLanes = 8;
constexpr int kMaxLanes = std::max(kRowLanes, kColumnLanes);

// Deriche's fourth-order fit of exp(−t²/2): a cos(ωt) + b sin(ωt), times e^(−λt).
struct DampedPair {
    double a, b, omega, lambda;
};
constexpr DampedPair kPairs[2] = {{1.680, 3.735, 0.6318, 1.783}, {-0.6803, -0.2598, 1.997, 1.723}};

Vec4 splat(float v)
{
    return Vec4{v, v, v, v};
}

Vec4 loadPixel(const std::uint8_t *p)
{
    return Vec4{float(p[0]), float(p[1]), float(p[2]), float(p[3])};
}

// Rounds and clamps; a colour component is kept at or below alpha, which rounding of
// equal sums could otherwise break by one.
void storePixel(std::uint8_t *p, Vec4 v)
{
    float c[4];
    std::memcpy(c, &v, sizeof c);
    auto byte = [](float x) { return std::uint8_t(std::clamp(x + 0.5f, 0.0f, 255.0f)); };
    std::uint8_t alpha = byte(c[3]);
    p[0] = std::min(byte(c[0]), alpha);
    p[1] = std::min(byte(c[1]), alpha);
    p[2] = std::min(byte(c[2]), alpha);
    p[3] = alpha;
}

// Runs both directions over `length` samples of `lanes` signals stored side by side
// (sample k of lane l at (k + kPad) · lanes + l, with kPad zero samples around), and
// hands each result to store(k, lane, value).
template <class Store>
void filterLanes(const GaussianBlur::Coefficients &c, const Vec4 *signal, Vec4 *causal, int length,
                 int lanes, Store store)
{
    const GaussianBlur::Section &p = c.sections[0], &q = c.sections[1];
    const Vec4 pb0 = splat(p.b0), pb1 = splat(p.b1), pc1 = splat(p.c1), pc2 = splat(p.c2);
    const Vec4 pa1 = splat(p.a1), pa2 = splat(p.a2);
    const Vec4 qb0 = splat(q.b0), qb1 = splat(q.b1), qc1 = splat(q.c1), qc2 = splat(q.c2);
    const Vec4 qa1 = splat(q.a1), qa2 = splat(q.a2);
    const int L = lanes;
    // Each lane's last two outputs of each section: p1 p2 q1 q2.
    Vec4 state[kMaxLanes][4] = {};
    for (int k = 0; k < length; ++k) {
        const Vec4 *x = signal + (k + kPad) * L;
        Vec4 *y = causal + (k + kPad) * L;
        for (int l = 0; l < L; ++l) {
            Vec4 *s = state[l];
            Vec4 yp = pb0 * x[l] + pb1 * x[l - L] - (pa1 * s[0] + pa2 * s[1]);
            Vec4 yq = qb0 * x[l] + qb1 * x[l - L] - (qa1 * s[2] + qa2 * s[3]);
            s[1] = s[0], s[0] = yp, s[3] = s[2], s[2] = yq;
            y[l] = yp + yq;
        }
    }
    for (int l = 0; l < L; ++l)
        std::fill(state[l], state[l] + 4, Vec4{});
    for (int k = length - 1; k >= 0; --k) {
        const Vec4 *x = signal + (k + kPad) * L;
        const Vec4 *y = causal + (k + kPad) * L;
        for (int l = 0; l < L; ++l) {
            Vec4 *s = state[l];
            Vec4 yp = pc1 * x[l + L] + pc2 * x[l + 2 * L] - (pa1 * s[0] + pa2 * s[1]);
            Vec4 yq = qc1 * x[l + L] + qc2 * x[l + 2 * L] - (qa1 * s[2] + qa2 * s[3]);
            s[1] = s[0], s[0] = yp, s[3] = s[2], s[2] = yq;
            store(k, l, y[l] + yp + yq);
        }
    }
}

} // namespace

// A pair of poles z, z̄ with residues r, r̄ sums to
//     forwards   (2 Re r − 2 Re(r z̄) q) / (1 − 2 Re z · q + |z|² q²),
//     backwards  (2 Re(r z) q − 2 |z|² Re r · q²) / (the same),
// with q the delay (forwards) or advance (backwards) by one sample.
GaussianBlur::Coefficients GaussianBlur::coefficientsFor(double sigma)
{
    double b0[2], b1[2], c1[2], c2[2], a1[2], a2[2], sum = 0;
    for (int i = 0; i < 2; ++i) {
        const DampedPair &pair = kPairs[i];
        Complex z = std::exp(Complex(-pair.lambda, pair.omega) / sigma);
        Complex r = Complex(pair.a, -pair.b) / 2.0;
        b0[i] = 2 * r.real();
        b1[i] = -2 * (r * std::conj(z)).real();
        c1[i] = 2 * (r * z).real();
        c2[i] = -2 * std::norm(z) * r.real();
        a1[i] = -2 * z.real();
        a2[i] = std::norm(z);
        sum += (b0[i] + b1[i] + c1[i] + c2[i]) / (1 + a1[i] + a2[i]);
    }
    Coefficients c;
    for (int i = 0; i < 2; ++i)
        c.sections[i] = {float(b0[i] / sum), float(b1[i] / sum), float(c1[i] / sum),
                         float(c2[i] / sum), float(a1[i]),       float(a2[i])};
    return c;
}

void GaussianBlur::apply(const PixelRegion &region, double sigma)
{
    if (!(sigma >= 0.5) || !std::isfinite(sigma) || region.width <= 0 || region.height <= 0)
        return;
    if (sigma != m_sigma) {
        m_coefficients = coefficientsFor(sigma);
        m_sigma = sigma;
    }
    std::size_t longest = std::size_t(std::max(region.width, region.height)) + 2 * kPad;
    std::size_t floats = longest * kMaxLanes * 4;
    if (m_signal.size() < floats) {
        m_signal.assign(floats, 0);
        m_causal.assign(floats, 0);
    }
    filterRows(region);
    filterColumns(region);
}

void GaussianBlur::filterRows(const PixelRegion &region)
{
    auto *signal = reinterpret_cast<Vec4 *>(m_signal.data());
    auto *causal = reinterpret_cast<Vec4 *>(m_causal.data());
    const int width = region.width;
    for (int top = 0; top < region.height; top += kRowLanes) {
        const int lanes = std::min(kRowLanes, region.height - top);
        auto rowOf = [&](int l) { return region.pixels + (top + l) * region.bytesPerRow; };
        std::fill(signal, signal + (width + 2 * kPad) * lanes, Vec4{});
        for (int x = 0; x < width; ++x)
            for (int l = 0; l < lanes; ++l)
                signal[(x + kPad) * lanes + l] = loadPixel(rowOf(l) + 4 * x);
        filterLanes(m_coefficients, signal, causal, width, lanes,
                    [&](int x, int l, Vec4 value) { storePixel(rowOf(l) + 4 * x, value); });
    }
}

void GaussianBlur::filterColumns(const PixelRegion &region)
{
    auto *signal = reinterpret_cast<Vec4 *>(m_signal.data());
    auto *causal = reinterpret_cast<Vec4 *>(m_causal.data());
    const int height = region.height;
    for (int left = 0; left < region.width; left += kColumnLanes) {
        const int lanes = std::min(kColumnLanes, region.width - left);
        auto pixelAt = [&](int y, int l) {
            return region.pixels + y * region.bytesPerRow + 4 * (left + l);
        };
        std::fill(signal, signal + (height + 2 * kPad) * lanes, Vec4{});
        for (int y = 0; y < height; ++y)
            for (int l = 0; l < lanes; ++l)
                signal[(y + kPad) * lanes + l] = loadPixel(pixelAt(y, l));
        filterLanes(m_coefficients, signal, causal, height, lanes,
                    [&](int y, int l, Vec4 value) { storePixel(pixelAt(y, l), value); });
    }
}

} // namespace sim
