#pragma once
// The software compositor. It draws layer trees into an RGBA frame, as the platform's
// render server does, in painter's order: for each layer its background colour (with its
// corner radius), then its contents scaled into its bounds, then its sublayers sorted by
// zPosition (stable, so equal ones keep their order).
//
// Each layer's quad is mapped to the frame through the product of the layer-to-superlayer
// matrices of its ancestors (CALayer.h), flattened at each level, times the render scale.
// Because the layer lies in its own z = 0 plane, the mapping is a plane projective
// transform: the rasterizer walks the frame's pixels inside the projected quad and maps
// each back to the layer (QuadRasterizer.h). The part of a quad at or behind the
// viewer (W ≤ 0) is cut away before projection, so it is never drawn mirrored.
//
// Offscreen passes: a layer with opacity below 1 and visible sublayers, or with a
// "gaussianBlur" filter, renders its subtree into a transparent frame-sized layer buffer
// and blends that into its parent once (group opacity; the blur runs on the buffer first,
// with σ = inputRadius × scale pixels). A layer that masks to its bounds draws its quad's
// coverage (rounded by its corner radius) into a clip mask that its sublayers' coverage
// is multiplied by. Buffers and masks are pooled by depth and kept between frames, and
// every pass touches only the rectangle it may change, so a steady frame allocates
// nothing.
//
// Bad geometry is skipped, not drawn: non-finite matrices or sizes, layers of zero area,
// and quads wholly behind the viewer.

#include "quartzcore/CALayer.h"

#include <memory>
#include <span>

namespace sim {

// Premultiplied RGBA pixels in the byte order of CGImage.h, rows of 4 × width bytes.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t *row(int y) { return pixels.data() + std::size_t(y) * width * 4; }
    const std::uint8_t *row(int y) const { return pixels.data() + std::size_t(y) * width * 4; }
};

class Renderer {
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer &) = delete;
    Renderer &operator=(const Renderer &) = delete;

    // Draws the roots, one over the other in order, into a frame of pointSize × scale
    // pixels (rounded) cleared to transparent, and answers the frame; it stays valid
    // until the next render. Each root's position is in screen points. A size or scale
    // that is not finite and positive, or a frame over 16384 pixels a side, answers an
    // empty frame with a logged error.
    const PixelBuffer &renderFrame(std::span<CALayer *const> roots, CGSize pointSize,
                                   CGFloat scale);
    const PixelBuffer &renderFrame(CALayer *root, CGSize pointSize, CGFloat scale);

    // The same frame as a new image that the caller owns (nil for an empty frame).
    CGImageRef render(std::span<CALayer *const> roots, CGSize pointSize, CGFloat scale);
    CGImageRef render(CALayer *root, CGSize pointSize, CGFloat scale);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace sim
