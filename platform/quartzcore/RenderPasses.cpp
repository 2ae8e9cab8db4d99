#include "quartzcore/RenderPasses.h"

#include "quartzcore/PixelQuads.h"

#include <cmath>
#include <cstring>

namespace sim {

namespace {

void clearRect(PixelBuffer &buffer, const IntRect &rect)
{
    for (int y = rect.y0; y < rect.y1; ++y)
        std::memset(buffer.row(y) + std::size_t(rect.x0) * 4, 0,
                    std::size_t(rect.x1 - rect.x0) * 4);
}

} // namespace

void RenderPasses::beginFrame(int width, int height)
{
    if (width != m_frame.width || height != m_frame.height) {
        m_frame.width = width, m_frame.height = height;
        m_frame.pixels.assign(std::size_t(width) * height * 4, 0);
        m_groups.clear();
        m_masks.clear();
    } else {
        std::memset(m_frame.pixels.data(), 0, m_frame.pixels.size());
    }
    m_groupDepth = m_maskDepth = 0;
}

RenderTarget RenderPasses::beginGroup()
{
    if (m_groups.size() == m_groupDepth) {
        auto buffer = std::make_unique<PixelBuffer>();
        buffer->width = m_frame.width, buffer->height = m_frame.height;
        buffer->pixels.assign(m_frame.pixels.size(), 0);
        m_groups.push_back(std::move(buffer));
    }
    return {m_groups[m_groupDepth++].get(), {}};
}

void RenderPasses::endGroup(RenderTarget &group, double sigma, std::uint32_t opacity,
                            RenderTarget &target, const Clip &clip)
{
    IntRect region = group.touched.intersected(frameRect());
    if (sigma >= 0.5 && !region.isEmpty()) {
        // Four σ hold all but 0.003 % of the kernel: the spread beyond is below a level.
        region = region.outset(int(std::ceil(4 * sigma))).intersected(frameRect());
        PixelBuffer &b = *group.buffer;
        m_blur.apply({b.row(region.y0) + std::size_t(region.x0) * 4, region.x1 - region.x0,
                      region.y1 - region.y0, std::size_t(b.width) * 4},
                     sigma);
    }
    composite(*group.buffer, region, opacity, target, clip);
    clearRect(*group.buffer, region);
    --m_groupDepth;
}

namespace {

void copyRect(const PixelBuffer &from, PixelBuffer &to, const IntRect &rect)
{
    std::size_t bytes = std::size_t(rect.x1 - rect.x0) * 4;
    for (int y = rect.y0; y < rect.y1; ++y)
        std::memcpy(to.row(y) + std::size_t(rect.x0) * 4, from.row(y) + std::size_t(rect.x0) * 4,
                    bytes);
}

// The share of a Gaussian of σ centred on each pixel of a line of `length` pixels that
// falls on the line.
void shareOnLine(std::vector<float> &share, int length, double sigma)
{
    share.resize(std::size_t(length));
    const double scale = 1 / (sigma * std::sqrt(2.0));
    for (int i = 0; i < length; ++i) {
        double centre = i + 0.5;
        share[i] = float(0.5 * (std::erf((length - centre) * scale) - std::erf(-centre * scale)));
    }
}

} // namespace

void RenderPasses::blurBehind(RenderTarget &target, const IntRect &area, double sigma,
                              const Clip &clip)
{
    IntRect visible = area.intersected(clip.bounds).intersected(frameRect());
    if (visible.isEmpty() || !(sigma >= 0.5))
        return;
    // What lies up to four σ around the area blurs into it.
    IntRect region = visible.outset(int(std::ceil(4 * sigma))).intersected(frameRect());
    RenderTarget scratch = beginGroup();
    PixelBuffer &b = *scratch.buffer;
    copyRect(*target.buffer, b, region);
    m_blur.apply({b.row(region.y0) + std::size_t(region.x0) * 4, region.x1 - region.x0,
                  region.y1 - region.y0, std::size_t(b.width) * 4},
                 sigma);
    keepEdgesLit(b, visible, sigma);
    copyRect(b, *target.buffer, visible);
    target.touched = target.touched.united(visible);
    clearRect(b, region);
    --m_groupDepth;
}

// Nothing lies beyond the screen, and a blur that took it as transparent would fade the
// backdrop towards the screen's edges: each pixel is divided by the share of its kernel
// that falls on the screen, as if the screen's edge went on beyond it.
void RenderPasses::keepEdgesLit(PixelBuffer &blurred, const IntRect &rect, double sigma)
{
    shareOnLine(m_columnShare, m_frame.width, sigma);
    shareOnLine(m_rowShare, m_frame.height, sigma);
    for (int y = rect.y0; y < rect.y1; ++y) {
        std::uint8_t *row = blurred.row(y);
        for (int x = rect.x0; x < rect.x1; ++x) {
            float share = m_columnShare[x] * m_rowShare[y];
            if (share > 0.999f || share <= 0)
                continue;
            std::uint8_t *p = row + std::size_t(x) * 4;
            for (int c = 0; c < 4; ++c)
                p[c] = std::uint8_t(std::min(255.0f, p[c] / share + 0.5f));
        }
    }
}

void RenderPasses::composite(const PixelBuffer &source, const IntRect &region,
                             std::uint32_t opacity, RenderTarget &target, const Clip &clip)
{
    IntRect visible = region.intersected(clip.bounds);
    if (visible.isEmpty() || opacity == 0)
        return;
    struct GroupPixels {
        const std::uint8_t *pixels;
        PixelQuad four(int i) const { return loadQuad(pixels + i * 4); }
        Pixel one(int i) const { return loadPixel(pixels + i * 4); }
    };
    const int count = visible.x1 - visible.x0;
    // Without a mask every pixel is wholly covered.
    m_coverageRow.assign(std::size_t(count), 255);
    for (int y = visible.y0; y < visible.y1; ++y) {
        const std::uint8_t *mask = clip.mask
                                       ? clip.mask + std::size_t(y) * clip.maskStride + visible.x0
                                       : m_coverageRow.data();
        blendRun(GroupPixels{source.row(y) + std::size_t(visible.x0) * 4}, mask, opacity,
                 target.buffer->row(y) + std::size_t(visible.x0) * 4, count);
    }
    target.touched = target.touched.united(visible);
}

std::uint8_t *RenderPasses::beginMask()
{
    if (m_masks.size() == m_maskDepth)
        m_masks.push_back(std::make_unique<std::vector<std::uint8_t>>(
            std::size_t(m_frame.width) * m_frame.height, 0));
    return m_masks[m_maskDepth++]->data();
}

void RenderPasses::endMask(const IntRect &written)
{
    std::uint8_t *mask = m_masks[--m_maskDepth]->data();
    for (int y = written.y0; y < written.y1; ++y)
        std::memset(mask + std::size_t(y) * m_frame.width + written.x0, 0,
                    std::size_t(written.x1 - written.x0));
}

} // namespace sim
