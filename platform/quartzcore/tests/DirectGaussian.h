#pragma once
// The plain way to blur: a separable convolution with the sampled Gaussian, normalised,
// cut off at ±radius taps, with transparent pixels outside the image. It is the oracle of
// the blur tests (with radius 6σ it is the Gaussian for all purposes) and the reference
// that the blur benchmark measures the recursive filter against (with 97 taps).

#include <cmath>
#include <cstdint>
#include <vector>

namespace sim::testing {

// Blurs premultiplied RGBA `pixels` (width × height, rows of 4 × width bytes) into
// `result`, four floats per pixel, unrounded; `rows` is scratch of the same size.
inline void directGaussianBlur(const std::vector<std::uint8_t> &pixels, int width, int height,
                               double sigma, int radius, std::vector<float> &rows,
                               std::vector<float> &result)
{
    std::vector<float> kernel(2 * radius + 1);
    double sum = 0;
    for (int k = -radius; k <= radius; ++k)
        sum += kernel[k + radius] = float(std::exp(-k * k / (2 * sigma * sigma)));
    for (float &weight : kernel)
        weight = float(weight / sum);
    rows.assign(pixels.size(), 0);
    result.assign(pixels.size(), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = -radius; k <= radius; ++k) {
                int from = x + k;
                if (from < 0 || from >= width)
                    continue;
                std::size_t in = (std::size_t(y) * width + from) * 4;
                std::size_t out = (std::size_t(y) * width + x) * 4;
                for (int c = 0; c < 4; ++c)
                    rows[out + c] += kernel[k + radius] * pixels[in + c];
            }
    for (int y = 0; y < height; ++y)
        for (int k = -radius; k <= radius; ++k) {
            int from = y + k;
            if (from < 0 || from >= height)
                continue;
            const float *in = rows.data() + std::size_t(from) * width * 4;
            float *out = result.data() + std::size_t(y) * width * 4;
            for (int i = 0; i < width * 4; ++i)
                out[i] += kernel[k + radius] * in[i];
        }
}

} // namespace sim::testing
