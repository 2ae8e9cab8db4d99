// Bitmap contexts: each layout's bytes, the caller's buffer, orientation, gstate, refusals.

#include "quartzcore/CGContext.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Bytes = std::array<std::uint8_t, 4>;

// A 4 × 4 context over the caller's bytes in the given layout.
struct Bitmap {
    explicit Bitmap(CGBitmapInfo info, std::size_t width = 4, std::size_t height = 4)
        : bytes(width * height * 4), width(width)
    {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        context = CGBitmapContextCreate(bytes.data(), width, height, 8, width * 4, space, info);
        CGColorSpaceRelease(space);
    }
    ~Bitmap() { CGContextRelease(context); }

    Bytes at(std::size_t x, std::size_t y) const
    {
        const std::uint8_t *p = bytes.data() + (y * width + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }

    std::vector<std::uint8_t> bytes;
    std::size_t width;
    CGContextRef context = nullptr;
};

// An image whose top row is red and whose other rows are blue, all opaque.
CGImageRef redTopRowImage(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> pixels(width * height * 4);
    for (std::size_t i = 0; i < width * height; ++i) {
        bool top = i < width;
        pixels[i * 4 + 0] = top ? 255 : 0;
        pixels[i * 4 + 2] = top ? 0 : 255;
        pixels[i * 4 + 3] = 255;
    }
    return sim::imageFromPixels(width, height, std::move(pixels));
}

// Fills the whole of a context with red 255, green 102, blue 51 (exact in 8 bits).
void fillWithTestColor(CGContextRef context)
{
    CGContextSetRGBFillColor(context, 1.0, 0.4, 0.2, 1.0);
    CGContextFillRect(context, CGRectMake(0, 0, 4, 4));
}

TEST(BitmapLayouts, EachLayoutPutsTheComponentsInItsDocumentedBytes)
{
    struct Case {
        CGBitmapInfo info;
        Bytes expected;
    };
    const Case cases[] = {
        {kCGImageAlphaPremultipliedFirst, {255, 255, 102, 51}},
        {kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little, {51, 102, 255, 255}},
        {kCGImageAlphaPremultipliedLast, {255, 102, 51, 255}},
        {kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big, {255, 102, 51, 255}},
    };
    for (const Case &c : cases) {
        Bitmap bitmap(c.info);
        ASSERT_NE(bitmap.context, nullptr) << std::hex << c.info;
        fillWithTestColor(bitmap.context);
        EXPECT_EQ(bitmap.at(2, 1), c.expected) << "bitmap info 0x" << std::hex << c.info;
    }
}

// The caller's bytes reach the image in RGBA order, and the image's data provider hands
// out a copy of them, in rows from the top.
TEST(BitmapLayouts, TheCallersBytesAreCopiedOutInRGBAOrderAndKeptWhereNotDrawn)
{
    AutoreleasePool pool;
    Bitmap bitmap(kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Little);
    // Alpha, blue, green, red in memory: a half-transparent premultiplied orange.
    std::uint8_t *pixel = bitmap.bytes.data() + (1 * 4 + 3) * 4;
    pixel[0] = 128, pixel[1] = 0, pixel[2] = 64, pixel[3] = 128;
    CGImageRef image = CGBitmapContextCreateImage(bitmap.context);
    CFDataRef data = CGDataProviderCopyData(CGImageGetDataProvider(image));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::size_t(CFDataGetLength(data)),
              CGImageGetBytesPerRow(image) * CGImageGetHeight(image));
    const std::uint8_t *copied = CFDataGetBytePtr(data) + (1 * 4 + 3) * 4;
    EXPECT_EQ((Bytes{copied[0], copied[1], copied[2], copied[3]}), (Bytes{128, 64, 0, 128}));
    // A copy: the context's later drawing does not reach it.
    pixel[3] = 99;
    CGImageRelease(CGBitmapContextCreateImage(bitmap.context));
    EXPECT_EQ(copied[0], 128);
    CFRelease(data);
    CGImageRelease(image);
    EXPECT_EQ(CGDataProviderCopyData(CGImageGetDataProvider(nullptr)), nullptr);

    // Drawing keeps what the caller wrote elsewhere.
    CGContextSetRGBFillColor(bitmap.context, 0, 1, 0, 1);
    CGContextFillRect(bitmap.context, CGRectMake(3, 0, 1, 1)); // bottom-right pixel
    EXPECT_EQ(bitmap.at(3, 1), (Bytes{128, 0, 64, 99}));
    EXPECT_EQ(bitmap.at(3, 3), (Bytes{255, 0, 255, 0}));
}

// User space starts at the bottom left: an image drawn into a whole new context keeps its
// row order, and UIKit's flip turns it upside down.
TEST(BitmapOrientation, UserSpaceStartsAtTheBottomLeftUntilFlipped)
{
    CGImageRef image = redTopRowImage(4, 4);
    for (bool flipped : {false, true}) {
        Bitmap bitmap(kCGImageAlphaPremultipliedLast);
        if (flipped) {
            CGContextTranslateCTM(bitmap.context, 0, 4);
            CGContextScaleCTM(bitmap.context, 1, -1);
        }
        CGContextDrawImage(bitmap.context, CGRectMake(0, 0, 4, 4), image);
        EXPECT_EQ(bitmap.at(1, flipped ? 3 : 0), (Bytes{255, 0, 0, 255})) << flipped;
        EXPECT_EQ(bitmap.at(1, flipped ? 0 : 3), (Bytes{0, 0, 255, 255})) << flipped;
        CGContextSetRGBFillColor(bitmap.context, 0, 1, 0, 1);
        CGContextFillRect(bitmap.context, CGRectMake(0, 0, 4, 1)); // y = 0…1
        EXPECT_EQ(bitmap.at(0, flipped ? 0 : 3)[1], 255) << flipped;
    }
    CGImageRelease(image);
}

TEST(BitmapGState, AlphaScalesDrawnImagesUntilRestoredButNeverClearing)
{
    Bitmap bitmap(kCGImageAlphaPremultipliedFirst);
    CGImageRef image = redTopRowImage(4, 4);
    CGContextSaveGState(bitmap.context);
    CGContextSetAlpha(bitmap.context, 0.5);
    CGContextRestoreGState(bitmap.context);
    CGContextDrawImage(bitmap.context, CGRectMake(0, 0, 4, 4), image);
    EXPECT_EQ(bitmap.at(0, 0), (Bytes{255, 255, 0, 0}));
    CGImageRelease(image);

    // Clearing empties whatever the alpha.
    fillWithTestColor(bitmap.context);
    CGContextSetAlpha(bitmap.context, 0.3);
    CGContextClearRect(bitmap.context, CGRectMake(1, 1, 2, 2));
    EXPECT_EQ(bitmap.at(1, 1), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(bitmap.at(0, 0), (Bytes{255, 255, 102, 51}));

    // An image scaled into a rect fills just that rect, alpha back at one.
    CGContextSetAlpha(bitmap.context, 1);
    CGContextClearRect(bitmap.context, CGRectMake(0, 0, 4, 4));
    image = sim::imageFromPixels(1, 1, std::vector<std::uint8_t>(4, 255));
    CGContextDrawImage(bitmap.context, CGRectMake(2, 0, 2, 4), image);
    EXPECT_EQ(bitmap.at(1, 2)[0], 0);
    EXPECT_EQ(bitmap.at(2, 2), (Bytes{255, 255, 255, 255}));
    EXPECT_EQ(bitmap.at(3, 0), (Bytes{255, 255, 255, 255}));
    CGImageRelease(image);
}

TEST(BitmapRefusals, BadArgumentsAnswerNilAndDegenerateDrawingLeavesAContextUsable)
{
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context =
        CGBitmapContextCreate(nullptr, 3, 2, 8, 0, space, kCGImageAlphaPremultipliedFirst);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(context), 12u);
    auto *bytes = static_cast<std::uint8_t *>(CGBitmapContextGetData(context));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 24), std::vector<std::uint8_t>(24, 0));
    CGContextRelease(context);
    const CGBitmapInfo rgba = kCGImageAlphaPremultipliedLast;
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 0, 4, 8, 0, space, rgba), nullptr);
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 0, 8, 0, space, rgba), nullptr);
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 16, 0, space, rgba), nullptr);
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 8, space, rgba), nullptr);
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 0, nullptr, rgba), nullptr);
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 0, space, kCGImageAlphaNone), nullptr);
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 0, space,
                                    kCGImageAlphaPremultipliedLast | kCGBitmapFloatComponents),
              nullptr);
    CGColorSpaceRelease(space);

    // Degenerate drawing leaves the context usable.
    Bitmap bitmap(kCGImageAlphaPremultipliedLast);
    CGContextScaleCTM(bitmap.context, 0, 0);
    CGContextTranslateCTM(bitmap.context, NAN, 1);
    CGContextConcatCTM(bitmap.context, {NAN, 0, 0, 1, 0, 0});
    CGContextFillRect(bitmap.context, CGRectMake(NAN, 0, 4, 4));
    CGContextDrawImage(bitmap.context, CGRectMake(0, 0, 0, 4), nullptr);
    CGContextRestoreGState(bitmap.context); // nothing saved
    EXPECT_EQ(bitmap.at(0, 0), (Bytes{0, 0, 0, 0}));
    fillWithTestColor(bitmap.context);
    EXPECT_EQ(bitmap.at(0, 0), (Bytes{255, 102, 51, 255}));
    EXPECT_EQ(CGBitmapContextGetData(nullptr), nullptr);
    EXPECT_EQ(CGBitmapContextCreateImage(nullptr), nullptr);
}

TEST(Images, PixelsMustMatchTheSizeAndStayPremultipliedAndCropsKeepTheirRect)
{
    EXPECT_EQ(sim::imageFromPixels(2, 2, std::vector<std::uint8_t>(15)), nullptr);
    EXPECT_EQ(sim::imageFromPixels(0, 0, {}), nullptr);
    // Five pixels: four capped side by side, the fifth alone.
    CGImageRef image = sim::imageFromPixels(
        5, 1, {200, 10, 90, 100, 0, 255, 0, 0, 1, 2, 3, 255, 9, 8, 7, 5, 200, 10, 90, 100});
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(sim::pixelsOf(image),
              (std::vector<std::uint8_t>{100, 10,  90, 100, 0, 0, 0,   0,  1,  2,
                                         3,   255, 5,  5,   5, 5, 100, 10, 90, 100}));
    EXPECT_EQ(CGImageGetBytesPerRow(image), 20u);
    CGImageRelease(image);

    // A cropped image holds the pixels of its rect.
    image = redTopRowImage(3, 3);
    CGImageRef bottom = CGImageCreateWithImageInRect(image, CGRectMake(1, 1, 5, 5));
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(CGImageGetWidth(bottom), 2u);
    EXPECT_EQ(CGImageGetHeight(bottom), 2u);
    EXPECT_EQ(sim::pixelsOf(bottom)[2], 255); // blue: the red row was left out
    EXPECT_EQ(CGImageCreateWithImageInRect(image, CGRectMake(5, 5, 1, 1)), nullptr);
    CGImageRelease(bottom);
    CGImageRelease(image);
}

TEST(Colors, ComponentsAreClampedAndCompareByValue)
{
    CGColorRef a = CGColorCreateGenericRGB(2, -1, NAN, 0.5);
    const CGFloat *c = CGColorGetComponents(a);
    EXPECT_EQ(c[0], 1);
    EXPECT_EQ(c[1], 0);
    EXPECT_EQ(c[2], 0);
    EXPECT_EQ(CGColorGetAlpha(a), 0.5);
    CGColorRef b = CGColorCreateCopyWithAlpha(a, 0.5);
    EXPECT_TRUE(CGColorEqualToColor(a, b));
    CGColorRef opaque = CGColorCreateCopyWithAlpha(a, 1);
    EXPECT_FALSE(CGColorEqualToColor(a, opaque));
    EXPECT_EQ(CGColorGetComponents(nullptr), nullptr);
    CGColorRelease(opaque);
    CGColorRelease(b);
    CGColorRelease(a);
}

} // namespace
