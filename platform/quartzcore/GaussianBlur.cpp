#include "quartzcore/GaussianBlur.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace sim {

namespace {

using Vec4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));
using Complex = std::complex<double>;

// Zero samples kept before and after each signal, so the filters read their neighbours
// without tests.
constexpr int kPad = 2;
// Signals filtered side by side: rows in the first pass, columns in the second.
constexpr int kRowLanes = 4;
constexpr int kColumnLanes = 8;
constexpr int kMaxLanes = std::max(kRowLanes, kColumnLanes);

// From this σ on the blur runs on a copy shrunk k = σ / kSigmaPerShrink times (at most
// kMaxShrink) in each direction, and the result is stretched back.
constexpr double kShrinkFromSigma = 12;
constexpr double kSigmaPerShrink = 6;
constexpr int kMaxShrink = 8;

// Deriche's fourth-order fit of exp(−t²/2): a cos(ωt) + b sin(ωt), times e^(−λt).
struct DampedPair {
    double a, b, omega, lambda;
};
constexpr DampedPair kPairs[2] = {{1.680, 3.735, 0.6318, 1.783}, {-0.6803, -0.2598, 1.997, 1.723}};

Vec4 splat(float v)
{
    return Vec4{v, v, v, v};
}

// Bytes to and from floats go through the integer unpack and pack instructions where the
// processor has them; the compiler's own conversion moves them one at a time.
[[gnu::always_inline]] inline Vec4 loadPixel(const std::uint8_t *p)
{
#ifdef __SSE2__
    int word;
    std::memcpy(&word, p, 4);
    __m128i zero = _mm_setzero_si128();
    __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(word), zero), zero);
    return Vec4(_mm_cvtepi32_ps(lanes));
#else
    return Vec4{float(p[0]), float(p[1]), float(p[2]), float(p[3])};
#endif
}

// Rounded and clamped levels, with each colour component kept at or below alpha, which
// rounding of equal sums could otherwise break by one.
[[gnu::always_inline]] inline Int4 levelsOf(Vec4 v)
{
    v += splat(0.5f);
    v = v < splat(0.0f) ? splat(0.0f) : v;
    v = v > splat(255.0f) ? splat(255.0f) : v;
    Int4 levels = __builtin_convertvector(v, Int4);
    Int4 alpha = __builtin_shufflevector(levels, levels, 3, 3, 3, 3);
    return levels < alpha ? levels : alpha;
}

[[gnu::always_inline]] inline void storePixel(std::uint8_t *p, Vec4 v)
{
    Int4 levels = levelsOf(v);
#ifdef __SSE2__
    __m128i words = _mm_packs_epi32(__m128i(levels), __m128i(levels));
    int word = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(p, &word, 4);
#else
    for (int c = 0; c < 4; ++c)
        p[c] = std::uint8_t(levels[c]);
#endif
}

// Four pixels side by side, as storePixel stores each: the packs saturate, which clamps,
// and the colour is held at alpha byte by byte.
[[gnu::always_inline]] inline void storeFourPixels(std::uint8_t *p, Vec4 a, Vec4 b, Vec4 c, Vec4 d)
{
#ifdef __SSE2__
    auto levels = [](Vec4 v) { return _mm_cvttps_epi32(__m128(v + splat(0.5f))); };
    __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(levels(a), levels(b)),
                                     _mm_packs_epi32(levels(c), levels(d)));
    __m128i alpha = _mm_srli_epi32(bytes, 24);
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 8));
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), _mm_min_epu8(bytes, alpha));
#else
    storePixel(p, a), storePixel(p + 4, b), storePixel(p + 8, c), storePixel(p + 12, d);
#endif
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

int GaussianBlur::shrinkFactorFor(double sigma)
{
    if (!(sigma >= kShrinkFromSigma))
        return 1;
    return std::clamp(int(sigma / kSigmaPerShrink), 2, kMaxShrink);
}

// Shrinking by box averages of k × k pixels adds the variance (k² − 1) / 12 and the
// linear stretch back about k² / 6 (a tent of half-width k), in full-size pixels; the
// shrunk blur supplies the rest, in shrunk pixels.
double GaussianBlur::shrunkSigma(double sigma, int k)
{
    double added = (k * k - 1) / 12.0 + k * k / 6.0;
    return std::sqrt(std::max(sigma * sigma - added, 1.0)) / k;
}

void GaussianBlur::apply(const PixelRegion &region, double sigma)
{
    if (!(sigma >= 0.5) || !std::isfinite(sigma) || region.width <= 0 || region.height <= 0)
        return;
    int k = shrinkFactorFor(sigma);
    if (k == 1)
        return blur(region, sigma);
    int width = (region.width + k - 1) / k, height = (region.height + k - 1) / k;
    m_shrunk.assign(std::size_t(width) * height * 4, 0);
    PixelRegion shrunk{m_shrunk.data(), width, height, std::size_t(width) * 4};
    shrink(region, shrunk, k);
    blur(shrunk, shrunkSigma(sigma, k));
    stretch(shrunk, region, k);
}

// Each shrunk pixel is the mean of its k × k block; pixels beyond the region count as
// transparent, as everywhere here.
void GaussianBlur::shrink(const PixelRegion &from, const PixelRegion &to, int k)
{
    m_rowA.assign(std::size_t(to.width) * 4, 0);
    auto *sums = reinterpret_cast<Vec4 *>(m_rowA.data());
    const Vec4 scale = splat(1.0f / float(k * k));
    for (int j = 0; j < to.height; ++j) {
        std::fill(sums, sums + to.width, Vec4{});
        for (int y = j * k; y < std::min(from.height, (j + 1) * k); ++y) {
            const std::uint8_t *p = from.pixels + y * from.bytesPerRow;
            for (int i = 0, x = 0; i < to.width; ++i) {
                Vec4 sum = sums[i];
                for (int end = std::min(from.width, x + k); x < end; ++x)
                    sum += loadPixel(p + 4 * x);
                sums[i] = sum;
            }
        }
        std::uint8_t *q = to.pixels + j * to.bytesPerRow;
        for (int i = 0; i < to.width; ++i)
            storePixel(q + 4 * i, sums[i] * scale);
    }
}

// Linear interpolation between shrunk pixel centres: full-size pixel x lies at
// (x + ½) / k − ½ in shrunk pixels; beyond the first and last centres the two nearest
// are extrapolated, following the blurred edge's slope. Rows are stretched across once
// each, then blended down.
void GaussianBlur::stretch(const PixelRegion &from, const PixelRegion &to, int k)
{
    auto tapAt = [k](int x, int count) {
        double u = (x + 0.5) / k - 0.5;
        int left = std::clamp(int(std::floor(u)), 0, std::max(count - 2, 0));
        return StretchTap{left, std::min(left + 1, count - 1), float(u - left)};
    };
    m_columnTaps.resize(std::size_t(to.width));
    for (int x = 0; x < to.width; ++x)
        m_columnTaps[x] = tapAt(x, from.width);
    auto stretchRow = [&](int j, std::vector<float> &row) {
        row.resize(std::size_t(to.width) * 4);
        auto *out = reinterpret_cast<Vec4 *>(row.data());
        const std::uint8_t *p = from.pixels + j * from.bytesPerRow;
        for (int x = 0; x < to.width; ++x) {
            const StretchTap &tap = m_columnTaps[x];
            Vec4 a = loadPixel(p + 4 * tap.left), b = loadPixel(p + 4 * tap.right);
            out[x] = a + splat(tap.t) * (b - a);
        }
    };
    int rowAIndex = -1, rowBIndex = -1; // none yet
    for (int y = 0; y < to.height; ++y) {
        StretchTap tap = tapAt(y, from.height);
        if (rowAIndex != tap.left) {
            if (rowBIndex == tap.left)
                std::swap(m_rowA, m_rowB), std::swap(rowAIndex, rowBIndex);
            else
                stretchRow(tap.left, m_rowA), rowAIndex = tap.left;
        }
        if (rowBIndex != tap.right)
            stretchRow(tap.right, m_rowB), rowBIndex = tap.right;
        const auto *a = reinterpret_cast<const Vec4 *>(m_rowA.data());
        const auto *b = reinterpret_cast<const Vec4 *>(m_rowB.data());
        const Vec4 t = splat(tap.t);
        std::uint8_t *q = to.pixels + y * to.bytesPerRow;
        int x = 0;
        for (; x + 4 <= to.width; x += 4)
            storeFourPixels(
                q + 4 * x, a[x] + t * (b[x] - a[x]), a[x + 1] + t * (b[x + 1] - a[x + 1]),
                a[x + 2] + t * (b[x + 2] - a[x + 2]), a[x + 3] + t * (b[x + 3] - a[x + 3]));
        for (; x < to.width; ++x)
            storePixel(q + 4 * x, a[x] + t * (b[x] - a[x]));
    }
}

void GaussianBlur::blur(const PixelRegion &region, double sigma)
{
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
