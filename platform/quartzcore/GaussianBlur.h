#pragma once
// Gaussian blur of premultiplied RGBA pixels, by recursive filtering.
//
// Deriche's fourth-order approximation writes the Gaussian exp(−t²/2) for t ≥ 0 as two
// damped cosine–sine pairs,
//
//     (1.680 cos 0.6318t + 3.735 sin 0.6318t) e^(−1.783t)
//   + (−0.6803 cos 1.997t − 0.2598 sin 1.997t) e^(−1.723t),      t = x / σ,
//
// that is a sum of four geometric sequences in x with complex ratios (poles), two
// conjugate pairs. A sum of geometric sequences is what a recursive filter produces, so
// the samples x ≥ 0 come from a causal filter and the samples x < 0 from the same kind of
// filter run backwards, and their sum is the whole kernel: sixteen multiplies per sample
// and dimension (eight each way) whatever σ is, against 2⌈3σ⌉ + 1 for a direct
// convolution. Each conjugate pair runs as its own second-order section, side by side
// with the other (the parallel form), because one fourth-order recursion in single
// precision loses its accuracy once σ passes about 30 pixels, where the poles crowd
// towards 1. The coefficients are derived from the poles for each σ and scaled so that
// the kernel sums to exactly 1; the result stays within about one level of 8-bit colour
// of the exact Gaussian.
//
// The two dimensions are filtered one after the other, in place, rows then columns, with
// the four components of a pixel in one SIMD vector. Several rows (or columns) run side by
// side so that the filter's chain of dependencies never stalls the processor. Everything
// outside the region counts as transparent, which is exact with zero initial state: the
// caller leaves room (about 4σ) around what it blurs. Scratch buffers are kept between
// calls.
//
// Large σ (12 pixels and more: a backdrop's, a blurred screen's) runs at a lower
// resolution, as compositors do: the region is shrunk k = ⌊σ/6⌋ times (2 to 8) in each
// direction by averaging k × k blocks, blurred there with the σ that leaves, together with
// the variance that the shrinking and stretching add, the requested σ, and stretched back
// by linear interpolation. That costs about 1/k² of the full-size blur and stays within a few
// levels of the exact Gaussian, since a blur this wide has no detail finer than k pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

// Premultiplied RGBA pixels to change in place.
struct PixelRegion {
    std::uint8_t *pixels;
    int width;
    int height;
    std::size_t bytesPerRow;
};

class GaussianBlur {
public:
    // Blurs with standard deviation `sigma` pixels; below 0.5 (no visible change) or not
    // finite, the region is left as it is.
    void apply(const PixelRegion &region, double sigma);

    // One conjugate pair of poles: forwards
    //     y[k] = b0·x[k] + b1·x[k−1] − a1·y[k−1] − a2·y[k−2],
    // backwards
    //     y[k] = c1·x[k+1] + c2·x[k+2] − a1·y[k+1] − a2·y[k+2].
    struct Section {
        float b0, b1, c1, c2, a1, a2;
    };
    struct Coefficients {
        Section sections[2];
    };
    // The filter for one σ (exposed for the tests of its kernel).
    static Coefficients coefficientsFor(double sigma);

    // The shrink factor for a σ (1: full size) and the σ of the shrunk blur.
    static int shrinkFactorFor(double sigma);
    static double shrunkSigma(double sigma, int k);

private:
    void blur(const PixelRegion &region, double sigma);
    void shrink(const PixelRegion &from, const PixelRegion &to, int k);
    void stretch(const PixelRegion &from, const PixelRegion &to, int k);
    void filterRows(const PixelRegion &region);
    void filterColumns(const PixelRegion &region);

    Coefficients m_coefficients{};
    double m_sigma = 0;
    std::vector<float> m_signal;        // input samples, lanes side by side, zero-padded
    std::vector<float> m_causal;        // the causal filter's output, same layout
    std::vector<std::uint8_t> m_shrunk; // the shrunk copy of a large-σ blur
    std::vector<float> m_rowA, m_rowB;  // rows being shrunk or stretched
    struct StretchTap {                 // a full-size position between two shrunk samples
        int left, right;
        float t;
    };
    std::vector<StretchTap> m_columnTaps;
};

} // namespace sim
