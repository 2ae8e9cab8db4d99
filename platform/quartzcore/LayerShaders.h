#pragma once
// The shaders of the compositor: row functors that the rasterizer (QuadRasterizer.h)
// hands one run of pixels at a time with their coverage. Each maps pixel centres back to
// the layer's bounds space through the inverse plane projection, which along a row is a
// ratio of two linear functions of x: the numerators and the divisor step by constants,
// and only a projective row divides per pixel. Pixel maths is in PixelOps.h, and for four
// pixels at once, which every path but rounded corners takes, in PixelQuads.h.

#include "quartzcore/PixelOps.h"
#include "quartzcore/PixelQuads.h"
#include "quartzcore/QuadRasterizer.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace sim {

// The inverse projection along one row: at pixel x0 + i the layer point is
// ((u + i·du) / (w + i·dw), (v + i·dv) / (w + i·dw)).
struct RowMapping {
    double u, v, w, du, dv, dw;

    static RowMapping at(const PlaneProjection &screenToLayer, int x0, int y)
    {
        RowMapping m;
        screenToLayer.apply(x0 + 0.5, y + 0.5, m.u, m.v, m.w);
        m.du = screenToLayer.h[0][0], m.dv = screenToLayer.h[0][1], m.dw = screenToLayer.h[0][2];
        return m;
    }
};

// How much of a layer point lies inside the bounds with rounded corners: 255 on the
// straight parts (the quad's own edges are anti-aliased by the rasterizer), falling off
// over one pixel across each corner's arc.
struct RoundedCorners {
    double left = 0, top = 0, right = 0, bottom = 0, radius = 0;
    double pixelsPerUnit = 1; // screen pixels per layer unit near the layer's centre

    bool active() const { return radius > 0; }

    // The radius is limited to half the shorter side, as on the platform.
    static RoundedCorners of(CGRect bounds, double radius, double pixelsPerUnit)
    {
        bounds = CGRectStandardize(bounds);
        double limit = std::min(bounds.size.width, bounds.size.height) / 2;
        return {CGRectGetMinX(bounds), CGRectGetMinY(bounds),          CGRectGetMaxX(bounds),
                CGRectGetMaxY(bounds), std::clamp(radius, 0.0, limit), pixelsPerUnit};
    }

    std::uint32_t coverage(double u, double v) const
    {
        double cx = std::clamp(u, left + radius, right - radius);
        double cy = std::clamp(v, top + radius, bottom - radius);
        double dx = u - cx, dy = v - cy;
        if (dx == 0 || dy == 0)
            return 255;
        double inside = 0.5 - (std::sqrt(dx * dx + dy * dy) - radius) * pixelsPerUnit;
        if (!(inside > 0)) // also for NaN, from a point mapped across the horizon
            return 0;
        return inside >= 1 ? 255 : std::uint32_t(inside * 255 + 0.5);
    }

    // Pixels [first, last) of a row of `count` that lie a pixel or more inside the arcs,
    // where coverage answers 255: found for rows of an upright layer (only u changes along
    // them), empty for others. A round layer's mask, redrawn with every frame, then asks
    // coverage only near its edge.
    std::pair<int, int> wholeSpan(const RowMapping &m, int count) const
    {
        if (m.dv != 0 || m.dw != 0 || !(m.w > 0))
            return {0, 0};
        double v = m.v / m.w;
        double dy = v - std::clamp(v, top + radius, bottom - radius);
        double reach = radius - 0.5 / pixelsPerUnit; // coverage is 255 up to this distance
        if (!(reach > std::fabs(dy)) || m.du == 0)
            return {0, 0};
        double half = std::sqrt(reach * reach - dy * dy);
        double low = (left + radius - half) * m.w - m.u, high = (right - radius + half) * m.w - m.u;
        if (m.du < 0)
            std::swap(low, high);
        // One pixel in from each end, so that rounding never takes in a pixel of the arcs.
        int first = int(std::clamp(std::ceil(low / m.du) + 1, 0.0, double(count)));
        int last = int(std::clamp(std::floor(high / m.du), 0.0, double(count)));
        return {first, std::max(first, last)};
    }
};

// A solid colour over the bounds, e.g. a background.
struct SolidShader {
    Pixel color; // premultiplied, opacity included
    const PlaneProjection *screenToLayer;
    RoundedCorners corners;

    void shadeRow(int y, int x0, int x1, const std::uint8_t *coverage, std::uint8_t *pixels) const
    {
        struct SameColour {
            Pixel color;
            PixelQuad four(int) const { return PixelQuad{} + color; }
            Pixel one(int) const { return color; }
        };
        if (!corners.active())
            return blendRun(SameColour{color}, coverage, 255, pixels, x1 - x0);
        RowMapping m = RowMapping::at(*screenToLayer, x0, y);
        bool opaque = alphaOf(color) == 255;
        for (int i = 0; i < x1 - x0; ++i, pixels += 4) {
            double w = m.w + i * m.dw;
            std::uint32_t c =
                coverage[i] * corners.coverage((m.u + i * m.du) / w, (m.v + i * m.dv) / w) / 255;
            if (c == 255 && opaque)
                storePixel(pixels, color);
            else if (c)
                storePixel(pixels, blendOver(scalePixel(color, c), loadPixel(pixels)));
        }
    }
};

// An image stretched over the bounds (contents), sampled bilinearly with texel centres at
// half-integers and edges clamped, so the quad's anti-aliased edge alone shapes the border.
struct TextureShader {
    const CGImage *image;
    const PlaneProjection *screenToLayer;
    // Layer to texel coordinates: t = (u · scaleX + offsetX, v · scaleY + offsetY).
    double scaleX, offsetX, scaleY, offsetY;
    std::uint32_t opacity; // 0…255
    RoundedCorners corners;

    // The two texel rows a bilinear sample at height ty reads, and the weight of the lower.
    struct TexelRows {
        const std::uint8_t *top, *bottom;
        std::uint32_t fy;
    };

    [[gnu::always_inline]] TexelRows rowsAt(double ty) const
    {
        double maxY = double(image->m_height - 1);
        // Written so that NaN, from a point mapped across the horizon, reads texel 0.
        ty = ty > 0 ? (ty < maxY ? ty : maxY) : 0;
        int iy = int(ty);
        std::size_t rowBytes = image->m_width * 4;
        const std::uint8_t *top = image->m_pixels.data() + std::size_t(iy) * rowBytes;
        return {top, iy < int(maxY) ? top + rowBytes : top, std::uint32_t((ty - iy) * 256)};
    }

    [[gnu::always_inline]] static Pixel sampleAt(const TexelRows &rows, int ix, int nx,
                                                 std::uint32_t fx)
    {
        const std::uint8_t *top = rows.top + ix * 4, *bottom = rows.bottom + ix * 4;
        Pixel upper = lerpPixel(loadPixel(top), loadPixel(top + nx * 4), fx);
        Pixel lower = lerpPixel(loadPixel(bottom), loadPixel(bottom + nx * 4), fx);
        return lerpPixel(upper, lower, rows.fy);
    }

    [[gnu::always_inline]] Pixel sampleAlong(const TexelRows &rows, double tx) const
    {
        double maxX = double(image->m_width - 1);
        tx = tx > 0 ? (tx < maxX ? tx : maxX) : 0;
        int ix = int(tx);
        return sampleAt(rows, ix, ix < int(maxX) ? 1 : 0, std::uint32_t((tx - ix) * 256));
    }

    // Blends a texel with coverage c (0…255, opacity included).
    [[gnu::always_inline]] static void blendTexel(Pixel texel, std::uint32_t c, std::uint8_t *pixel)
    {
        if (c == 255 && alphaOf(texel) == 255)
            storePixel(pixel, texel);
        else if (c)
            storePixel(pixel, blendOver(scalePixel(texel, c), loadPixel(pixel)));
    }

    // Blends one pixel whose texel coordinates are (tx, ty).
    [[gnu::always_inline]] void shadePixel(double tx, double ty, std::uint32_t covered,
                                           std::uint8_t *pixel) const
    {
        std::uint32_t c = covered * opacity / 255;
        if (corners.active())
            c = c * corners.coverage((tx - offsetX) / scaleX, (ty - offsetY) / scaleY) / 255;
        if (c)
            blendTexel(sampleAlong(rowsAt(ty), tx), c, pixel);
    }

    // Texel coordinates along the row are ratios of linear functions of x, as the layer
    // coordinates are; an affine mapping has a constant divisor and needs no division, and
    // one that lands on whole texels one for one (an upright layer at its image's own size
    // on whole pixels, like a wallpaper) copies texels without filtering. Rounded corners
    // weigh each pixel on its own; every other path samples and blends four pixels at once.
    void shadeRow(int y, int x0, int x1, const std::uint8_t *coverage, std::uint8_t *pixels) const
    {
        RowMapping m = RowMapping::at(*screenToLayer, x0, y);
        double tu = m.u * scaleX + offsetX * m.w, dtu = m.du * scaleX + offsetX * m.dw;
        double tv = m.v * scaleY + offsetY * m.w, dtv = m.dv * scaleY + offsetY * m.dw;
        const int count = x1 - x0;
        if (m.dw != 0) {
            if (corners.active()) {
                for (int i = 0; i < count; ++i, pixels += 4) {
                    double reciprocal = 1 / (m.w + i * m.dw);
                    shadePixel((tu + i * dtu) * reciprocal, (tv + i * dtv) * reciprocal,
                               coverage[i], pixels);
                }
            } else {
                blendRun(ProjectedSource{this, tu, dtu, tv, dtv, m.w, m.dw}, coverage, opacity,
                         pixels, count);
            }
            return;
        }
        double tx = tu / m.w, dtx = dtu / m.w, ty = tv / m.w, dty = dtv / m.w;
        if (corners.active()) {
            for (int i = 0; i < count; ++i, pixels += 4)
                shadePixel(tx + i * dtx, ty + i * dty, coverage[i], pixels);
        } else if (dty != 0) {
            blendRun(AffineSource{this, tx, dtx, ty, dty}, coverage, opacity, pixels, count);
        } else if (dtx == 1 && tx == std::floor(tx) && ty == std::floor(ty)) {
            copyRow(tx, ty, count, coverage, pixels);
        } else {
            shadeUprightRow(tx, dtx, rowsAt(ty), count, coverage, pixels);
        }
    }

    using Doubles4 = double __attribute__((vector_size(32)));
    using Ints4 = std::int32_t __attribute__((vector_size(16)));

    // Bilinear samples at four texel positions, clamped as sampleAlong and rowsAt clamp.
    [[gnu::always_inline]] PixelQuad sampleFour(Doubles4 tx, Doubles4 ty) const
    {
        const double maxX = double(image->m_width - 1), maxY = double(image->m_height - 1);
        // Written so that NaN, from a point mapped across the horizon, reads texel 0.
        tx = tx > 0 ? (tx < maxX ? tx : maxX) : 0;
        ty = ty > 0 ? (ty < maxY ? ty : maxY) : 0;
        Ints4 ix = __builtin_convertvector(tx, Ints4), iy = __builtin_convertvector(ty, Ints4);
        PixelQuad fx =
            __builtin_convertvector((tx - __builtin_convertvector(ix, Doubles4)) * 256, PixelQuad);
        PixelQuad fy =
            __builtin_convertvector((ty - __builtin_convertvector(iy, Doubles4)) * 256, PixelQuad);
        const Ints4 rowBytes = Ints4{} + int(image->m_width * 4);
        Ints4 right = ix < int(maxX) ? Ints4{} + 4 : Ints4{};
        Ints4 down = iy < int(maxY) ? rowBytes : Ints4{};
        const std::uint8_t *texels = image->m_pixels.data();
        PixelQuad topLeft, topRight, bottomLeft, bottomRight;
        for (int l = 0; l < 4; ++l) {
            const std::uint8_t *t = texels + std::size_t(iy[l]) * rowBytes[0] + ix[l] * 4;
            topLeft[l] = loadPixel(t), topRight[l] = loadPixel(t + right[l]);
            bottomLeft[l] = loadPixel(t + down[l]);
            bottomRight[l] = loadPixel(t + down[l] + right[l]);
        }
        return bilinearQuad(topLeft, topRight, bottomLeft, bottomRight, fx, fy);
    }

    // Pixel i of a row at texel ((tu + i·dtu) / (w + i·dw), (tv + i·dv) / (w + i·dw)).
    struct ProjectedSource {
        const TextureShader *shader;
        double tu, dtu, tv, dtv, w, dw;

        [[gnu::always_inline]] PixelQuad four(int i) const
        {
            Doubles4 step = Doubles4{0, 1, 2, 3} + i;
            Doubles4 reciprocal = 1 / (w + step * dw);
            return shader->sampleFour((tu + step * dtu) * reciprocal,
                                      (tv + step * dtv) * reciprocal);
        }
        Pixel one(int i) const
        {
            double reciprocal = 1 / (w + i * dw);
            double ty = (tv + i * dtv) * reciprocal;
            return shader->sampleAlong(shader->rowsAt(ty), (tu + i * dtu) * reciprocal);
        }
    };

    // Pixel i of a row at texel (tx + i·dtx, ty + i·dty).
    struct AffineSource {
        const TextureShader *shader;
        double tx, dtx, ty, dty;

        [[gnu::always_inline]] PixelQuad four(int i) const
        {
            Doubles4 step = Doubles4{0, 1, 2, 3} + i;
            return shader->sampleFour(tx + step * dtx, ty + step * dty);
        }
        Pixel one(int i) const
        {
            return shader->sampleAlong(shader->rowsAt(ty + i * dty), tx + i * dtx);
        }
    };

    // Pixel i of an upright row at texel tx + i·dtx of two texel rows read throughout (the
    // columns are worked out one by one: with the rows fixed that is quicker than in vectors).
    struct UprightSource {
        const TextureShader *shader;
        const TexelRows *rows;
        double tx, dtx;

        [[gnu::always_inline]] PixelQuad four(int i) const
        {
            const double maxX = double(shader->image->m_width - 1);
            PixelQuad topLeft, topRight, bottomLeft, bottomRight, fx;
            for (int l = 0; l < 4; ++l) {
                double x = tx + (i + l) * dtx;
                x = x > 0 ? (x < maxX ? x : maxX) : 0;
                int ix = int(x), right = ix < int(maxX) ? 4 : 0;
                const std::uint8_t *top = rows->top + ix * 4, *bottom = rows->bottom + ix * 4;
                topLeft[l] = loadPixel(top), topRight[l] = loadPixel(top + right);
                bottomLeft[l] = loadPixel(bottom), bottomRight[l] = loadPixel(bottom + right);
                fx[l] = std::uint32_t((x - ix) * 256);
            }
            return bilinearQuad(topLeft, topRight, bottomLeft, bottomRight, fx,
                                PixelQuad{} + rows->fy);
        }
        Pixel one(int i) const { return shader->sampleAlong(*rows, tx + i * dtx); }
    };

    // One colour all along, from an image one texel wide.
    struct SameTexel {
        Pixel texel;
        PixelQuad four(int) const { return PixelQuad{} + texel; }
        Pixel one(int) const { return texel; }
    };

    // Texels ix + i and ix + i + 1 of both rows, all inside the image, weighed alike.
    struct EvenlySpacedTexels {
        const TexelRows *rows;
        int ix;
        std::uint32_t fx;

        [[gnu::always_inline]] PixelQuad four(int i) const
        {
            const std::uint8_t *top = rows->top + (ix + i) * 4,
                               *bottom = rows->bottom + (ix + i) * 4;
            return bilinearQuad(loadQuad(top), loadQuad(top + 4), loadQuad(bottom),
                                loadQuad(bottom + 4), PixelQuad{} + fx, PixelQuad{} + rows->fy);
        }
        Pixel one(int i) const { return sampleAt(*rows, ix + i, 1, fx); }
    };

    // An upright row reads the same two texel rows throughout. Where it steps one texel a
    // pixel from a position on a 1/256 grid (a layer at its image's own size on half
    // pixels, as pages are in mid-scroll), every sample inside the image has the same
    // weights and needs no clamping; an image one texel wide (a vertical gradient) gives
    // the same colour all along.
    void shadeUprightRow(double tx, double dtx, const TexelRows &rows, int count,
                         const std::uint8_t *coverage, std::uint8_t *pixels) const
    {
        if (image->m_width == 1)
            return blendRun(SameTexel{sampleAt(rows, 0, 0, 0)}, coverage, opacity, pixels, count);
        int inside0 = 0, inside1 = 0, ix = 0;
        std::uint32_t fx = 0;
        if (dtx == 1 && tx * 256 == std::floor(tx * 256) && std::fabs(tx) < 1e9) {
            double first = std::floor(tx);
            inside0 = int(std::clamp(-first, 0.0, double(count)));
            inside1 =
                int(std::clamp(double(image->m_width) - 1 - first, double(inside0), double(count)));
            ix = int(first);
            fx = std::uint32_t((tx - first) * 256);
        }
        if (inside0 == inside1) // stretched, or off the grid: each pixel has its weights
            return blendRun(UprightSource{this, &rows, tx, dtx}, coverage, opacity, pixels, count);
        for (int i = 0; i < inside0; ++i)
            blendTexel(sampleAlong(rows, tx + i * dtx), coverage[i] * opacity / 255,
                       pixels + i * 4);
        blendRun(EvenlySpacedTexels{&rows, ix + inside0, fx}, coverage + inside0, opacity,
                 pixels + inside0 * 4, inside1 - inside0);
        for (int i = inside1; i < count; ++i)
            blendTexel(sampleAlong(rows, tx + i * dtx), coverage[i] * opacity / 255,
                       pixels + i * 4);
    }

    // Texels tx + i of one image row, all inside the image.
    struct TexelsInRow {
        const std::uint8_t *texels;
        PixelQuad four(int i) const { return loadQuad(texels + i * 4); }
        Pixel one(int i) const { return loadPixel(texels + i * 4); }
    };

    // Whole texels one for one: where the row lies inside the image it is blended four
    // texels at a time (stored unblended where they are opaque and fully covered), the
    // image's edges are clamped pixel by pixel.
    void copyRow(double tx, double ty, int count, const std::uint8_t *coverage,
                 std::uint8_t *pixels) const
    {
        auto clampTo = [](double v, std::size_t size) {
            return v > 0 ? (v < double(size - 1) ? std::size_t(v) : size - 1) : 0;
        };
        const std::uint8_t *row =
            image->m_pixels.data() + clampTo(ty, image->m_height) * image->m_width * 4;
        if (tx >= 0 && tx + count <= double(image->m_width))
            return blendRun(TexelsInRow{row + std::size_t(tx) * 4}, coverage, opacity, pixels,
                            count);
        for (int i = 0; i < count; ++i)
            blendTexel(loadPixel(row + clampTo(tx + i, image->m_width) * 4),
                       coverage[i] * opacity / 255, pixels + i * 4);
    }
};

// The coverage of a masking layer's bounds, written into a clip mask (Renderer.cpp).
struct MaskShader {
    std::uint8_t *mask; // frame-sized, `stride` bytes per row
    int stride;
    const PlaneProjection *screenToLayer;
    RoundedCorners corners;

    void shadeRow(int y, int x0, int x1, const std::uint8_t *coverage, std::uint8_t *) const
    {
        std::uint8_t *out = mask + std::size_t(y) * stride + x0;
        RowMapping m = RowMapping::at(*screenToLayer, x0, y);
        auto [first, last] = corners.active() ? corners.wholeSpan(m, x1 - x0) : std::pair{0, 0};
        for (int i = 0; i < x1 - x0; ++i) {
            std::uint32_t c = coverage[i];
            if (corners.active() && c && (i < first || i >= last)) {
                double w = m.w + i * m.dw;
                c = c * corners.coverage((m.u + i * m.du) / w, (m.v + i * m.dv) / w) / 255;
            }
            out[i] = std::uint8_t(c);
        }
    }
};

} // namespace sim
