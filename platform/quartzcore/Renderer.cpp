// Walking layer trees and drawing each layer (the method is described in Renderer.h).

#include "quartzcore/Renderer.h"

#include "quartzcore/CAFilter.h"
#include "quartzcore/LayerShaders.h"
#include "quartzcore/RenderPasses.h"

#include "foundation/Clock.h"
#include "foundation/NSArray.h"
#include "foundation/NSLog.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <cmath>

namespace sim {

namespace {

constexpr int kMaxFrameSide = 16384;
// Deeper trees are cut off here (with a logged error) rather than exhausting the stack.
constexpr int kMaxDepth = 256;

struct Sublayer {
    CALayer *layer;
    PresentedLayer presented;
};

bool isFinite(const CATransform3D &t)
{
    const CGFloat *m = &t.m11;
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(m[i]))
            return false;
    return true;
}

std::uint32_t unitToByte(double value)
{
    return std::uint32_t(std::clamp(value, 0.0, 1.0) * 255 + 0.5);
}

// A blur's σ in points: the root of the summed variances of every filter of that name.
double blurSigmaInPoints(const CALayer *layer, const char *filterName = kGaussianBlurFilter)
{
    if (!layer->m_filters)
        return 0;
    double variance = 0;
    for (const auto &item : *layer->m_filters) {
        if (!msg<BOOL>(item.get(), "isKindOfClass:"_sel, CAFilter::class_()))
            continue;
        auto *filter = static_cast<CAFilter *>(item.get());
        if (!filter->name() || filter->name()->str() != filterName)
            continue;
        id radius = filter->valueForKey("inputRadius"_ns);
        if (radius && msg<BOOL>(radius, "isKindOfClass:"_sel, NSNumber::class_())) {
            double r = static_cast<NSNumber *>(radius)->doubleValue();
            if (std::isfinite(r))
                variance += r * r;
        }
    }
    return std::sqrt(variance);
}

bool hasVisibleSublayers(const CALayer *layer)
{
    for (const auto &sublayer : layer->m_sublayers)
        if (!sublayer->m_hidden && sublayer->m_opacity > 0)
            return true;
    return false;
}

// Screen pixels per layer unit around the centre of `bounds`: the square root of the
// area scale, for anti-aliasing rounded corners.
double pixelsPerUnit(const CATransform3D &toScreen, CGRect bounds)
{
    CGPoint c = {CGRectGetMidX(bounds), CGRectGetMidY(bounds)};
    ProjectedPoint o = projectPoint(toScreen, c);
    ProjectedPoint x = projectPoint(toScreen, {c.x + 1, c.y});
    ProjectedPoint y = projectPoint(toScreen, {c.x, c.y + 1});
    if (!o.inFront || !x.inFront || !y.inFront)
        return 1;
    double ax = x.point.x - o.point.x, ay = x.point.y - o.point.y;
    double bx = y.point.x - o.point.x, by = y.point.y - o.point.y;
    double scale = std::sqrt(std::fabs(ax * by - ay * bx));
    return scale > 0 ? scale : 1;
}

// A masking quad that lands exactly on whole pixels, upright and unrounded, clips with
// its rectangle alone.
bool pixelAlignedRect(const ScreenPolygon &polygon, IntRect &rect)
{
    if (polygon.count != 4)
        return false;
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        const CGPoint &p = polygon.points[i];
        if (p.x != std::round(p.x) || p.y != std::round(p.y) || std::fabs(p.x) > 1e9 ||
            std::fabs(p.y) > 1e9)
            return false;
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    for (int i = 0; i < 4; ++i) {
        const CGPoint &p = polygon.points[i];
        if ((p.x != minX && p.x != maxX) || (p.y != minY && p.y != maxY))
            return false;
    }
    rect = {int(minX), int(minY), int(maxX), int(maxY)};
    return true;
}

} // namespace

struct Renderer::Impl {
    RenderPasses passes;
    std::vector<std::vector<Sublayer>> sublayerLists{kMaxDepth + 1};
    double time = 0;
    double scale = 1;
    bool reportedDepth = false;

    void displayTree(CALayer *layer, int depth);
    void drawLayer(CALayer *layer, const PresentedLayer &p, const PresentedLayer *superlayer,
                   const CATransform3D &superlayerToScreen, RenderTarget &target, const Clip &clip,
                   int depth);
    void blurBehind(const PresentedLayer &p, const CATransform3D &toScreen, RenderTarget &target,
                    const Clip &clip, double sigma);
    void drawLayerAndSublayers(CALayer *layer, const PresentedLayer &p,
                               const CATransform3D &toScreen, RenderTarget &target,
                               const Clip &clip, double opacity, int depth);
    void drawOwnContent(CALayer *layer, const PresentedLayer &p, const CATransform3D &toScreen,
                        RenderTarget &target, const Clip &clip, double opacity);
    bool beginMasking(const PresentedLayer &p, const CATransform3D &toScreen, const Clip &clip,
                      Clip &inner);
    std::vector<Sublayer> &sortedSublayers(CALayer *layer, int depth);
};

// Layers that asked to display draw now, before anything reads their contents, as the
// platform's transaction commit does before the frame is composited.
void Renderer::Impl::displayTree(CALayer *layer, int depth)
{
    if (depth > kMaxDepth)
        return;
    if (layer->m_needsDisplay)
        layer->displayIfNeeded();
    // By index: a delegate's drawing may change the tree.
    for (std::size_t i = 0; i < layer->m_sublayers.size(); ++i)
        displayTree(layer->m_sublayers[i].get(), depth + 1);
}

void Renderer::Impl::drawLayer(CALayer *layer, const PresentedLayer &p,
                               const PresentedLayer *superlayer,
                               const CATransform3D &superlayerToScreen, RenderTarget &target,
                               const Clip &clip, int depth)
{
    if (layer->m_hidden || !(p.opacity > 0))
        return;
    if (depth > kMaxDepth) {
        if (!reportedDepth)
            NSLog("Renderer: layers nested deeper than %d are not drawn", kMaxDepth);
        reportedDepth = true;
        return;
    }
    CATransform3D toScreen =
        CATransform3DConcat(flattened(layerToSuperlayer(p, superlayer)), superlayerToScreen);
    if (!isFinite(toScreen))
        return;
    double backdropSigma = blurSigmaInPoints(layer, kBackdropBlurFilter) * scale;
    if (backdropSigma >= 0.5)
        blurBehind(p, toScreen, target, clip, backdropSigma);
    double sigma = blurSigmaInPoints(layer) * scale;
    bool blurred = sigma >= 0.5;
    if (!blurred && (p.opacity >= 1 || !hasVisibleSublayers(layer))) {
        drawLayerAndSublayers(layer, p, toScreen, target, clip, p.opacity, depth);
        return;
    }
    RenderTarget group = passes.beginGroup();
    drawLayerAndSublayers(layer, p, toScreen, group, clip, 1, depth);
    passes.endGroup(group, blurred ? sigma : 0, unitToByte(p.opacity), target, clip);
}

// A backdrop blurs what was drawn before it under the bounding box of its quad.
void Renderer::Impl::blurBehind(const PresentedLayer &p, const CATransform3D &toScreen,
                                RenderTarget &target, const Clip &clip, double sigma)
{
    ScreenPolygon polygon = projectQuad(toScreen, CGRectStandardize(p.bounds));
    if (polygon.count < 3)
        return;
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < polygon.count; ++i) {
        minX = std::min(minX, polygon.points[i].x), maxX = std::max(maxX, polygon.points[i].x);
        minY = std::min(minY, polygon.points[i].y), maxY = std::max(maxY, polygon.points[i].y);
    }
    IntRect frame = passes.frameRect();
    IntRect area = {int(std::clamp(std::floor(minX), 0.0, double(frame.x1))),
                    int(std::clamp(std::floor(minY), 0.0, double(frame.y1))),
                    int(std::clamp(std::ceil(maxX), 0.0, double(frame.x1))),
                    int(std::clamp(std::ceil(maxY), 0.0, double(frame.y1)))};
    passes.blurBehind(target, area, sigma, clip);
}

void Renderer::Impl::drawLayerAndSublayers(CALayer *layer, const PresentedLayer &p,
                                           const CATransform3D &toScreen, RenderTarget &target,
                                           const Clip &clip, double opacity, int depth)
{
    drawOwnContent(layer, p, toScreen, target, clip, opacity);
    if (layer->m_sublayers.empty())
        return;
    Clip inner = clip;
    if (layer->m_masksToBounds && !beginMasking(p, toScreen, clip, inner))
        return;
    for (const Sublayer &sublayer : sortedSublayers(layer, depth))
        drawLayer(sublayer.layer, sublayer.presented, &p, toScreen, target, inner, depth + 1);
    if (inner.mask && inner.mask != clip.mask) // only the mask this layer began
        passes.endMask(inner.bounds);
}

void Renderer::Impl::drawOwnContent(CALayer *layer, const PresentedLayer &p,
                                    const CATransform3D &toScreen, RenderTarget &target,
                                    const Clip &clip, double opacity)
{
    CGImage *contents = layer->m_contents.get();
    const ColorValue &background = p.backgroundColor;
    if (!(background.alpha > 0) && !contents)
        return;
    CGRect bounds = CGRectStandardize(p.bounds);
    if (!(bounds.size.width > 0 && bounds.size.height > 0))
        return;
    ScreenPolygon polygon = projectQuad(toScreen, bounds);
    std::optional<PlaneProjection> screenToLayer = PlaneProjection::of(toScreen).inverse();
    if (polygon.count < 3 || !screenToLayer)
        return;
    PixelBuffer &pixels = *target.buffer;
    auto &scratch = passes.coverageRow();
    RoundedCorners corners =
        RoundedCorners::of(bounds, p.cornerRadius, pixelsPerUnit(toScreen, bounds));
    if (background.alpha > 0) {
        Pixel color = packColor(background.red, background.green, background.blue,
                                background.alpha * opacity);
        SolidShader shader{color, &*screenToLayer, corners};
        target.touched = target.touched.united(rasterize(polygon, clip, pixels, scratch, shader));
    }
    if (contents) {
        // Contents are clipped by the corners only when the layer masks to its bounds.
        double sx = contents->m_width / bounds.size.width;
        double sy = contents->m_height / bounds.size.height;
        TextureShader shader{contents,
                             &*screenToLayer,
                             sx,
                             -bounds.origin.x * sx - 0.5,
                             sy,
                             -bounds.origin.y * sy - 0.5,
                             unitToByte(opacity),
                             layer->m_masksToBounds ? corners : RoundedCorners{}};
        target.touched = target.touched.united(rasterize(polygon, clip, pixels, scratch, shader));
    }
}

// Narrows `clip` to the layer's bounds (rounded by its corner radius) for its sublayers;
// false when nothing of them could show.
bool Renderer::Impl::beginMasking(const PresentedLayer &p, const CATransform3D &toScreen,
                                  const Clip &clip, Clip &inner)
{
    CGRect bounds = CGRectStandardize(p.bounds);
    if (!(bounds.size.width > 0 && bounds.size.height > 0))
        return false;
    ScreenPolygon polygon = projectQuad(toScreen, bounds);
    if (polygon.count < 3)
        return false;
    IntRect rect;
    if (!clip.mask && !(p.cornerRadius > 0) && pixelAlignedRect(polygon, rect)) {
        inner = {clip.bounds.intersected(rect), nullptr, 0};
        return !inner.bounds.isEmpty();
    }
    std::optional<PlaneProjection> screenToLayer = PlaneProjection::of(toScreen).inverse();
    if (!screenToLayer)
        return false;
    std::uint8_t *mask = passes.beginMask();
    MaskShader shader{mask, passes.maskStride(), &*screenToLayer,
                      RoundedCorners::of(bounds, p.cornerRadius, pixelsPerUnit(toScreen, bounds))};
    IntRect written = rasterize(polygon, clip, passes.frame(), passes.coverageRow(), shader);
    inner = {written, mask, passes.maskStride()};
    if (written.isEmpty()) {
        passes.endMask(written);
        return false;
    }
    return true;
}

// The sublayers with their presented values, in drawing order: by zPosition, ties in
// their order among the sublayers. Insertion sort keeps that order, allocates nothing,
// and is linear for the usual list that is already sorted.
std::vector<Sublayer> &Renderer::Impl::sortedSublayers(CALayer *layer, int depth)
{
    std::vector<Sublayer> &list = sublayerLists[depth];
    list.clear();
    for (const auto &sublayer : layer->m_sublayers) {
        list.push_back({sublayer.get(), sublayer->presentedAt(time)});
        for (std::size_t i = list.size() - 1;
             i > 0 && list[i - 1].presented.zPosition > list[i].presented.zPosition; --i)
            std::swap(list[i - 1], list[i]);
    }
    return list;
}

Renderer::Renderer() : m_impl(std::make_unique<Impl>()) {}

Renderer::~Renderer() = default;

const PixelBuffer &Renderer::renderFrame(std::span<CALayer *const> roots, CGSize pointSize,
                                         CGFloat scale)
{
    double width = std::round(pointSize.width * scale);
    double height = std::round(pointSize.height * scale);
    Impl &impl = *m_impl;
    if (!(scale > 0) || !(width >= 1 && width <= kMaxFrameSide) ||
        !(height >= 1 && height <= kMaxFrameSide)) {
        NSLog("Renderer: cannot render %g x %g points at scale %g", pointSize.width,
              pointSize.height, scale);
        impl.passes.beginFrame(0, 0);
        return impl.passes.frame();
    }
    impl.passes.beginFrame(int(width), int(height));
    for (CALayer *root : roots)
        if (root)
            impl.displayTree(root, 0);
    impl.time = now();
    impl.scale = scale;
    CATransform3D toScreen = CATransform3DMakeScale(scale, scale, 1);
    RenderTarget frame{&impl.passes.frame(), {}};
    Clip whole{impl.passes.frameRect(), nullptr, 0};
    for (CALayer *root : roots)
        if (root)
            impl.drawLayer(root, root->presentedAt(impl.time), nullptr, toScreen, frame, whole, 0);
    return impl.passes.frame();
}

const PixelBuffer &Renderer::renderFrame(CALayer *root, CGSize pointSize, CGFloat scale)
{
    return renderFrame(std::span<CALayer *const>(&root, 1), pointSize, scale);
}

CGImageRef Renderer::render(std::span<CALayer *const> roots, CGSize pointSize, CGFloat scale)
{
    const PixelBuffer &frame = renderFrame(roots, pointSize, scale);
    if (frame.pixels.empty())
        return nullptr;
    return imageFromPixels(std::size_t(frame.width), std::size_t(frame.height), frame.pixels);
}

CGImageRef Renderer::render(CALayer *root, CGSize pointSize, CGFloat scale)
{
    return render(std::span<CALayer *const>(&root, 1), pointSize, scale);
}

} // namespace sim
