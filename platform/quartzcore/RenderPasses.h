#pragma once
// The renderer's buffers between frames (private to Renderer.cpp and RenderPasses.cpp).
//
// Everything here is frame-sized and device-aligned, so a pass draws into an offscreen
// buffer exactly as it would into the frame and composites with a plain row copy. Each
// pooled buffer and mask stays all zero while it is not in use: a pass remembers the
// rectangle it touched and clears just that when it is done, so acquiring costs nothing
// and a steady frame allocates nothing.

#include "quartzcore/GaussianBlur.h"
#include "quartzcore/QuadRasterizer.h"

#include <memory>
#include <vector>

namespace sim {

// A buffer being drawn into, and the pixels drawn so far.
struct RenderTarget {
    PixelBuffer *buffer;
    IntRect touched;
};

class RenderPasses {
public:
    // Makes the frame width × height and clears it; the pools follow the new size.
    void beginFrame(int width, int height);
    PixelBuffer &frame() { return m_frame; }
    IntRect frameRect() const { return {0, 0, m_frame.width, m_frame.height}; }
    std::vector<std::uint8_t> &coverageRow() { return m_coverageRow; }

    // A transparent offscreen buffer for one group (nested groups get their own).
    RenderTarget beginGroup();
    // Blurs the group by σ pixels (when σ ≥ 0.5), blends it into `target` with `opacity`
    // (0…255) under `clip`, and returns the buffer to the pool cleared.
    void endGroup(RenderTarget &group, double sigma, std::uint32_t opacity, RenderTarget &target,
                  const Clip &clip);

    // Replaces what `target` holds under `area` (within `clip`'s bounds) with its Gaussian
    // blur of σ pixels, taken over everything drawn around it: a backdrop.
    void blurBehind(RenderTarget &target, const IntRect &area, double sigma, const Clip &clip);

    // A cleared clip mask for one masking layer.
    std::uint8_t *beginMask();
    int maskStride() const { return m_frame.width; }
    // Returns the mask to the pool, clearing what `written` covers.
    void endMask(const IntRect &written);

private:
    void keepEdgesLit(PixelBuffer &blurred, const IntRect &rect, double sigma);
    void composite(const PixelBuffer &source, const IntRect &region, std::uint32_t opacity,
                   RenderTarget &target, const Clip &clip);

    PixelBuffer m_frame;
    std::vector<std::unique_ptr<PixelBuffer>> m_groups;
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> m_masks;
    std::size_t m_groupDepth = 0;
    std::size_t m_maskDepth = 0;
    std::vector<std::uint8_t> m_coverageRow;
    GaussianBlur m_blur;
    std::vector<float> m_columnShare, m_rowShare; // of a backdrop's kernel on the screen
};

} // namespace sim
