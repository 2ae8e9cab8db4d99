// The compositor, probed pixel by pixel on small frames: premultiplied source-over,
// d' = s + d·(255 − sa)/255, rounded to the nearest level.

#include "quartzcore/Renderer.h"
#include "quartzcore/CAFilter.h"

#include "foundation/Clock.h"
#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using Rgba = std::array<int, 4>;

class Rendering : public testing::Test {
protected:
    AutoreleasePool pool;
    sim::Renderer renderer;

    // A layer at `frame` (points, in its superlayer) filled with a colour, or none at alpha 0.
    static CALayer *box(CGRect frame, double r, double g, double b, double a = 1)
    {
        CALayer *layer = CALayer::layer();
        layer->setFrame(frame);
        if (a > 0) {
            CGColorRef color = CGColorCreateGenericRGB(r, g, b, a);
            layer->setBackgroundColor(color);
            CGColorRelease(color);
        }
        return layer;
    }

    const sim::PixelBuffer &draw(CALayer *root, double width, double height, double scale = 1)
    {
        return renderer.renderFrame(root, CGSizeMake(width, height), scale);
    }

    // A layer at `frame` that blurs itself (or, as "backdropBlur", what lies behind it).
    static CALayer *blurring(const char *filterName, double radius, CGRect frame)
    {
        CALayer *layer = box(frame, 0, 0, 0, 0);
        CAFilter *blur = CAFilter::filterWithName(NSString::stringWithUTF8String(filterName));
        blur->setValueForKey(NSNumber::numberWithDouble(radius), "inputRadius"_ns);
        layer->setFilters(NSArray::arrayWithObjects({blur}));
        return layer;
    }

    static Rgba at(const sim::PixelBuffer &frame, int x, int y)
    {
        const std::uint8_t *p = frame.row(y) + x * 4;
        return {p[0], p[1], p[2], p[3]};
    }

    static void expectNear(Rgba actual, Rgba expected, int tolerance = 1)
    {
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual[c], expected[c], tolerance)
                << "component " << c << " of (" << actual[0] << ", " << actual[1] << ", "
                << actual[2] << ", " << actual[3] << ")";
    }
};

const Rgba kClear = {0, 0, 0, 0};
const Rgba kRed = {255, 0, 0, 255};
const Rgba kGreen = {0, 255, 0, 255};
const Rgba kBlue = {0, 0, 255, 255};

TEST_F(Rendering, OpacityBlendsAndAGroupFlattensBeforeItsOpacity)
{
    CALayer *root = box(CGRectMake(0, 0, 10, 10), 0, 0, 1);
    CALayer *red = box(CGRectMake(2, 2, 6, 6), 1, 0, 0);
    red->setOpacity(0.5);
    root->addSublayer(red);
    const sim::PixelBuffer &frame = draw(root, 10, 10);
    // Half red (128, 0, 0, 128) over blue: blue 255·127/255 = 127, alpha 128 + 127.
    expectNear(at(frame, 5, 5), {128, 0, 127, 255});
    expectNear(at(frame, 0, 0), kBlue, 0);

    // Red covers x 0…6, green x 4…10; they overlap in columns 4 and 5.
    auto overlapping = [](CALayer *parent) {
        parent->addSublayer(box(CGRectMake(0, 0, 6, 4), 1, 0, 0));
        parent->addSublayer(box(CGRectMake(4, 0, 6, 4), 0, 1, 0));
    };
    CALayer *group = box(CGRectMake(0, 0, 10, 4), 0, 0, 0, 0);
    overlapping(group);
    group->setOpacity(0.5);
    const sim::PixelBuffer &grouped = draw(group, 10, 4);
    // The group flattens first: green alone shows in the overlap, then at half.
    expectNear(at(grouped, 5, 2), {0, 128, 0, 128});
    expectNear(at(grouped, 1, 2), {128, 0, 0, 128});

    CALayer *separate = box(CGRectMake(0, 0, 10, 4), 0, 0, 0, 0);
    overlapping(separate);
    for (const auto &child : separate->m_sublayers)
        child->setOpacity(0.5);
    const sim::PixelBuffer &each = draw(separate, 10, 4);
    // Half green over half red: red 128·127/255 = 64, green 128, alpha 128 + 64.
    expectNear(at(each, 5, 2), {64, 128, 0, 192});
}

TEST_F(Rendering, CornerRadiusAndMasksToBoundsClipToTheirShape)
{
    CALayer *circle = box(CGRectMake(0, 0, 20, 20), 1, 0, 0);
    circle->setCornerRadius(10);
    const sim::PixelBuffer &frame = draw(circle, 20, 20);
    expectNear(at(frame, 0, 0), kClear, 0); // centre 14.1 from the circle's centre
    expectNear(at(frame, 19, 19), kClear, 0);
    expectNear(at(frame, 2, 2), kClear, 0); // 10.6 away: outside by 0.6 pixel
    expectNear(at(frame, 10, 10), kRed, 0);
    expectNear(at(frame, 10, 0), kRed, 4); // top of the circle: 9.51 away
    // Pixel (3, 2) is √(6.5² + 7.5²) = 9.925 from the centre: covered 0.5 + 0.075.
    EXPECT_NEAR(at(frame, 3, 2)[3], 0.575 * 255, 8);

    // Masking clips sublayers; a layer without a mask inside one with a turned mask hands the
    // mask on to its sublayers.
    CALayer *root = box(CGRectMake(0, 0, 20, 20), 0, 0, 0, 0);
    CALayer *window = box(CGRectMake(5, 5, 10, 10), 0, 0, 1);
    window->setMasksToBounds(true);
    window->addSublayer(box(CGRectMake(-5, -5, 30, 30), 0, 1, 0));
    root->addSublayer(window);
    const sim::PixelBuffer &masked = draw(root, 20, 20);
    expectNear(at(masked, 2, 2), kClear, 0);
    expectNear(at(masked, 7, 7), kGreen, 0);
    expectNear(at(masked, 16, 16), kClear, 0);

    root = box(CGRectMake(0, 0, 40, 40), 0, 0, 0, 0);
    CALayer *clipping = box(CGRectMake(10, 10, 20, 20), 0, 0, 0, 0);
    clipping->setMasksToBounds(true);
    clipping->setTransform(CATransform3DMakeRotation(M_PI / 4, 0, 0, 1));
    CALayer *group = box(CGRectMake(0, 0, 20, 20), 0, 0, 0, 0); // no mask of its own
    group->addSublayer(box(CGRectMake(-20, -20, 60, 60), 0, 1, 0));
    clipping->addSublayer(group);
    root->addSublayer(clipping);
    const sim::PixelBuffer &turned = draw(root, 40, 40);
    expectNear(at(turned, 20, 20), kGreen, 0); // the centre of the turned square
    expectNear(at(turned, 11, 11), kClear, 0); // a corner the turn left uncovered
    expectNear(at(turned, 20, 4), kClear, 0);  // beyond the turned square's top corner
}

TEST_F(Rendering, ZPositionReordersSiblingsAndHiddenOnesAreSkipped)
{
    CALayer *root = box(CGRectMake(0, 0, 4, 4), 0, 0, 1);
    CALayer *first = box(CGRectMake(0, 0, 4, 4), 1, 0, 0);
    CALayer *second = box(CGRectMake(0, 0, 4, 4), 0, 1, 0);
    root->addSublayer(first);
    root->addSublayer(second);
    expectNear(at(draw(root, 4, 4), 2, 2), kGreen, 0);
    first->setZPosition(1);
    expectNear(at(draw(root, 4, 4), 2, 2), kRed, 0);
    // A hidden layer takes its sublayers with it.
    first->addSublayer(box(CGRectMake(0, 0, 2, 2), 1, 1, 1));
    first->setHidden(true);
    second->setHidden(true);
    expectNear(at(draw(root, 4, 4), 1, 1), kBlue, 0);
}

TEST_F(Rendering, ContentsAreScaledIntoTheBounds)
{
    // Red, green / blue, white, stretched over 10 × 10 pixels.
    CGImageRef image = sim::imageFromPixels(
        2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
    CALayer *layer = box(CGRectMake(0, 0, 5, 5), 0, 0, 0, 0);
    layer->setContents(image);
    CGImageRelease(image);
    const sim::PixelBuffer &frame = draw(layer, 5, 5, 2);
    // Pixel x maps to texel (x + 0.5)·2/10 − 0.5; up to pixel 2 that is ≤ 0: texel 0.
    expectNear(at(frame, 1, 1), kRed, 0);
    expectNear(at(frame, 8, 1), kGreen, 0);
    expectNear(at(frame, 1, 8), kBlue, 0);
    expectNear(at(frame, 8, 8), {255, 255, 255, 255}, 0);
    // Pixel 5 maps to texel 0.6: 40 % red, 60 % green.
    expectNear(at(frame, 5, 1), {102, 153, 0, 255}, 2);
}

// Upright contents take a row-wise path; a hairline corner radius sends the same layer down
// the per-pixel path, and the frames agree to the bit except at the corners it rounds.
class UprightContents : public Rendering {
protected:
    // A translucent gradient in a layer at `frame` over blue, at scale 2 and opacity 0.8,
    // turned by `transform` under `perspective` (the backdrop's m34).
    sim::PixelBuffer drawGradient(int width, int height, CGRect frame, double cornerRadius,
                                  CATransform3D transform = CATransform3DIdentity,
                                  double perspective = 0)
    {
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                auto alpha = std::uint8_t(120 + (x * 7 + y * 13) % 136);
                pixels.insert(pixels.end(), {std::uint8_t(x * 31 % (alpha + 1)),
                                             std::uint8_t(y * 17 % (alpha + 1)),
                                             std::uint8_t((x + y) % (alpha + 1)), alpha});
            }
        CGImageRef image = sim::imageFromPixels(width, height, std::move(pixels));
        CALayer *layer = box(frame, 0, 0, 0, 0);
        layer->setContents(image);
        CGImageRelease(image);
        layer->setOpacity(0.8f);
        layer->setMasksToBounds(cornerRadius > 0);
        layer->setCornerRadius(cornerRadius);
        layer->setTransform(transform);
        CALayer *root = box(CGRectMake(0, 0, 40, 30), 0, 0, 1);
        CATransform3D sublayerTransform = CATransform3DIdentity;
        sublayerTransform.m34 = perspective;
        root->setSublayerTransform(sublayerTransform);
        root->addSublayer(layer);
        return draw(root, 40, 30, 2);
    }

    static bool nearACorner(int x, int y, CGRect frame)
    {
        for (double cornerX : {CGRectGetMinX(frame), CGRectGetMaxX(frame)})
            for (double cornerY : {CGRectGetMinY(frame), CGRectGetMaxY(frame)})
                if (std::fabs(x + 0.5 - cornerX * 2) < 1 && std::fabs(y + 0.5 - cornerY * 2) < 1)
                    return true;
        return false;
    }

    void expectSameAsPerPixelPath(int width, int height, CGRect frame,
                                  CATransform3D transform = CATransform3DIdentity,
                                  double perspective = 0)
    {
        sim::PixelBuffer fast = drawGradient(width, height, frame, 0, transform, perspective);
        sim::PixelBuffer general = drawGradient(width, height, frame, 1e-3, transform, perspective);
        ASSERT_EQ(fast.pixels.size(), general.pixels.size());
        for (int y = 0; y < fast.height; ++y)
            for (int x = 0; x < fast.width; ++x)
                if (!nearACorner(x, y, frame)) {
                    ASSERT_EQ(at(fast, x, y), at(general, x, y)) << "pixel " << x << ", " << y;
                }
    }
};

// On whole pixels, on half pixels, reaching past the frame, stretched, one texel wide; then
// turned about z and about y under perspective, reaching past the frame on every side.
TEST_F(UprightContents, MatchThePerPixelPath)
{
    expectSameAsPerPixelPath(24, 20, CGRectMake(3, 4, 12, 10));
    expectSameAsPerPixelPath(24, 20, CGRectMake(3.25, 4.75, 12, 10));
    expectSameAsPerPixelPath(40, 20, CGRectMake(-6.375, 20.125, 20, 10));
    expectSameAsPerPixelPath(7, 5, CGRectMake(2.125, 3.375, 30, 20));
    expectSameAsPerPixelPath(1, 16, CGRectMake(0, 0, 40, 30));
    expectSameAsPerPixelPath(37, 23, CGRectMake(-10, -10, 60, 50),
                             CATransform3DMakeRotation(0.3, 0, 0, 1));
    expectSameAsPerPixelPath(37, 23, CGRectMake(-20, -20, 80, 70),
                             CATransform3DMakeRotation(0.4, 0, 1, 0), -1.0 / 200);
}

// A 100-point layer turned 60° about y under m34 = −1/500: x from its centre is drawn at
// 100 + x cos 60° / W, W = 1 + x sin 60° / 500; its edges at 72.63 and 123.01, half
// heights 54.7 and 46.0.
TEST_F(Rendering, PerspectiveRotationCoversTheProjectedColumnsButNothingBehindTheEye)
{
    CALayer *root = box(CGRectMake(0, 0, 200, 100), 0, 0, 0, 0);
    CATransform3D perspective = CATransform3DIdentity;
    perspective.m34 = -1.0 / 500;
    root->setSublayerTransform(perspective);
    CALayer *card = box(CGRectMake(50, 0, 100, 100), 1, 0, 0);
    card->setTransform(CATransform3DMakeRotation(M_PI / 3, 0, 1, 0));
    root->addSublayer(card);
    const sim::PixelBuffer &frame = draw(root, 200, 100);
    expectNear(at(frame, 71, 50), kClear, 0);
    Rgba leftEdge = at(frame, 72, 50); // centre 72.5: 0.13 px outside the edge
    EXPECT_NEAR(leftEdge[3], 0.37 * 255, 12);
    expectNear(at(frame, 73, 50), kRed, 0);
    expectNear(at(frame, 122, 50), kRed, 0);
    expectNear(at(frame, 124, 50), kClear, 0);
    // The near (left) side overflows the frame; the far side spans rows 4.0…96.0.
    expectNear(at(frame, 74, 0), kRed, 0);
    expectNear(at(frame, 121, 2), kClear, 0);
    expectNear(at(frame, 121, 6), kRed, 0);

    // With the eye 100 points in front, a 400-point layer turned 60° about y is behind it beyond
    // x = −115.5; the rest ends at 136.6, and the part behind must not land mirrored at 137…236.
    card->removeFromSuperlayer();
    perspective.m34 = -1.0 / 100;
    root->setSublayerTransform(perspective);
    CALayer *wall = box(CGRectMake(-100, 40, 400, 20), 0, 1, 0);
    wall->setTransform(CATransform3DMakeRotation(M_PI / 3, 0, 1, 0));
    root->addSublayer(wall);
    const sim::PixelBuffer &behind = draw(root, 200, 100);
    expectNear(at(behind, 130, 50), kGreen, 0);
    expectNear(at(behind, 5, 50), kGreen, 0);
    expectNear(at(behind, 140, 50), kClear, 0);
    expectNear(at(behind, 180, 50), kClear, 0);

    // Wholly behind: pushed 600 towards the viewer, past the eye.
    wall->setTransform(CATransform3DMakeTranslation(0, 0, 600));
    const sim::PixelBuffer &none = draw(root, 200, 100);
    for (int x = 0; x < 200; x += 7)
        expectNear(at(none, x, 50), kClear, 0);
}

// σ = 2.25 × scale 2 = 4.5 pixels; a pixel d inside the white's edge at 80 gets 255·Φ(d/σ).
TEST_F(Rendering, BlurSpreadsASharpEdgeAsTheGaussianAndBackdropsBlurWhatIsBehind)
{
    CALayer *blurred = blurring("gaussianBlur", 2.25, CGRectMake(0, 0, 80, 20));
    blurred->addSublayer(box(CGRectMake(0, 0, 40, 20), 1, 1, 1));
    const sim::PixelBuffer &frame = draw(blurred, 80, 20, 2);
    for (auto [x, phi] : std::initializer_list<std::pair<int, double>>{
             {71, 0.97725}, {75, 0.84134}, {84, 0.15866}, {89, 0.02275}}) {
        Rgba pixel = at(frame, x, 20);
        EXPECT_NEAR(pixel[3], 255 * phi, 4) << "x = " << x;
        EXPECT_EQ(pixel[0], pixel[3]); // white stays white, premultiplied
    }
    expectNear(at(frame, 40, 20), {255, 255, 255, 255}, 1);

    // A backdrop over the black right half of a white-then-black frame blurs only under itself.
    CALayer *root = box(CGRectMake(0, 0, 80, 20), 0, 0, 0, 1);
    root->addSublayer(box(CGRectMake(0, 0, 40, 20), 1, 1, 1));
    root->addSublayer(blurring("backdropBlur", 2.25, CGRectMake(40, 0, 40, 20)));
    const sim::PixelBuffer &backdrop = draw(root, 80, 20, 2);
    expectNear(at(backdrop, 79, 20), {255, 255, 255, 255}, 0); // left of the backdrop: sharp
    EXPECT_NEAR(at(backdrop, 84, 20)[0], 255 * 0.15866, 4);    // Φ(−1) of white, under it
    EXPECT_NEAR(at(backdrop, 89, 20)[0], 255 * 0.02275, 4);
    EXPECT_EQ(at(backdrop, 84, 20)[3], 255);

    // Nothing lies beyond the screen: a backdrop over an even colour keeps it into the corners.
    CALayer *white = box(CGRectMake(0, 0, 40, 20), 1, 1, 1, 1);
    white->addSublayer(blurring("backdropBlur", 3, CGRectMake(0, 0, 40, 20)));
    const sim::PixelBuffer &even = draw(white, 40, 20, 2);
    for (int x : {0, 40, 79})
        for (int y : {0, 20, 39})
            expectNear(at(even, x, y), {255, 255, 255, 255}, 2);
}

TEST_F(Rendering, AnimatedOpacityIsDrawnAsPresented)
{
    sim::useVirtualClock(0);
    CALayer *layer = box(CGRectMake(0, 0, 2, 2), 1, 0, 0);
    sim::LayerAnimation fade;
    fade.property = sim::AnimatedProperty::Opacity;
    fade.from = CGFloat(1);
    fade.to = CGFloat(0);
    fade.beginTime = 0;
    fade.duration = 2;
    fade.curve = sim::TimingCurve::Linear;
    layer->addAnimation(fade);
    sim::advanceVirtualClock(1.5);
    expectNear(at(draw(layer, 2, 2), 1, 1), {64, 0, 0, 64});
    layer->removeAllAnimations();
    sim::useRealClock();
}

TEST_F(Rendering, DegenerateInputIsSkippedWithoutHarm)
{
    CALayer *root = box(CGRectMake(0, 0, 10, 10), 0, 0, 1);
    CALayer *nan = box(CGRectMake(0, 0, 10, 10), 1, 0, 0);
    CATransform3D broken = CATransform3DIdentity;
    broken.m11 = NAN;
    nan->setTransform(broken);
    CALayer *flat = box(CGRectMake(0, 0, 10, 10), 1, 0, 0);
    flat->setTransform(CATransform3DMakeScale(0, 0, 1));
    CALayer *edgeOn = box(CGRectMake(0, 0, 10, 10), 1, 0, 0);
    edgeOn->setTransform(CATransform3DMakeRotation(M_PI / 2, 0, 1, 0));
    CALayer *empty = box(CGRectMake(3, 3, 0, 5), 1, 0, 0);
    empty->setMasksToBounds(true);
    empty->addSublayer(box(CGRectMake(0, 0, 10, 10), 1, 0, 0));
    for (CALayer *layer : {nan, flat, edgeOn, empty})
        root->addSublayer(layer);
    const sim::PixelBuffer &frame = draw(root, 10, 10);
    for (int y = 0; y < 10; y += 3)
        for (int x = 0; x < 10; x += 3)
            expectNear(at(frame, x, y), kBlue, 0);

    // A huge layer simply covers the frame.
    root->addSublayer(box(CGRectMake(-1e9, -1e9, 2e9, 2e9), 0, 1, 0));
    expectNear(at(draw(root, 10, 10), 5, 5), kGreen, 0);

    EXPECT_TRUE(draw(root, 0, 10).pixels.empty());
    EXPECT_TRUE(draw(root, NAN, 10).pixels.empty());
    EXPECT_TRUE(draw(root, 10, 10, -1).pixels.empty());
    EXPECT_EQ(renderer.render(root, CGSizeMake(1e6, 1e6), 1), nullptr);
    EXPECT_TRUE(draw(nullptr, 4, 4).pixels.size() == 64);
}

} // namespace
