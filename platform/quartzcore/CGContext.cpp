// Bitmap contexts: making them, keeping Cairo's copy of the pixels in step with the
// caller's bytes, and making images of them. The drawing calls are in
// CGContextDrawing.cpp.

#include "quartzcore/CGContext.h"
#include "quartzcore/ContextSync.h"

#include "foundation/NSLog.h"
#include "objc/ClassBuilder.h"

#include <cairo.h>

namespace {

Class g_contextClass;

const Class kRegistered = [] {
    g_contextClass = ClassBuilder<CGContext>("CGContext", "NSObject").registerClass();
    return g_contextClass;
}();

// Cairo's image surfaces stop at this many pixels a side.
constexpr std::size_t kMaxSide = 32767;
// Beyond this a context that allocates its own bytes is refused rather than risking the
// process on one request.
constexpr std::size_t kMaxOwnedBytes = std::size_t(1) << 30;

// Cairo draws straight into the caller's bytes when they are in Cairo's layout and rows
// are whole 32-bit words.
bool drawsInPlace(const CGContext *context)
{
    const sim::PixelLayout &l = context->m_layout;
    return l.red == sim::kCairoLayout.red && l.green == sim::kCairoLayout.green &&
           l.blue == sim::kCairoLayout.blue && !l.alphaSkipped && context->m_bytesPerRow % 4 == 0 &&
           reinterpret_cast<std::uintptr_t>(context->m_data) % 4 == 0;
}

bool checkArguments(void *data, std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                    std::size_t &bytesPerRow, CGColorSpaceRef space, std::uint32_t bitmapInfo,
                    sim::PixelLayout &layout)
{
    const char *problem = nullptr;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        problem = "width and height must be 1 to 32767";
    else if (bitsPerComponent != 8)
        problem = "only 8 bits per component are drawn";
    else if (!space)
        problem = "no colour space";
    else if (!sim::pixelLayoutFor(bitmapInfo, layout))
        problem = "unsupported bitmap info";
    else if (!data && bytesPerRow == 0)
        bytesPerRow = width * 4;
    if (!problem && bytesPerRow < width * 4)
        problem = "bytes per row below 4 x width";
    if (!problem && !data && bytesPerRow * height > kMaxOwnedBytes)
        problem = "more than 1 GiB of pixels";
    if (problem)
        NSLog("CGBitmapContextCreate: %s (%zu x %zu, %zu bits, %zu bytes per row, info 0x%x)",
              problem, width, height, bitsPerComponent, bytesPerRow, bitmapInfo);
    return !problem;
}

void attachCairo(CGContext *context)
{
    auto width = int(context->m_width), height = int(context->m_height);
    if (drawsInPlace(context)) {
        context->m_surface = cairo_image_surface_create_for_data(
            context->m_data, CAIRO_FORMAT_ARGB32, width, height, int(context->m_bytesPerRow));
    } else {
        context->m_cairoPixels.assign(context->m_width * context->m_height * 4, 0);
        context->m_surface = cairo_image_surface_create_for_data(
            context->m_cairoPixels.data(), CAIRO_FORMAT_ARGB32, width, height, width * 4);
    }
    context->m_cairo = cairo_create(context->m_surface);
    // The platform's user space: origin at the bottom-left, y up.
    cairo_matrix_t flip;
    cairo_matrix_init(&flip, 1, 0, 0, -1, 0, height);
    cairo_set_matrix(context->m_cairo, &flip);
}

} // namespace

Class CGContext::class_()
{
    return g_contextClass;
}

CGContext::~CGContext()
{
    sim::settleCairo(this);
    if (m_cairo)
        cairo_destroy(m_cairo);
    if (m_surface)
        cairo_surface_destroy(m_surface);
}

namespace sim {

void pullFromCaller(CGContext *context)
{
    settleCairo(context);
    if (!context->m_cairoPixels.empty())
        copyPixels(context->m_data, context->m_bytesPerRow, context->m_layout,
                   context->m_cairoPixels.data(), context->m_width * 4, kCairoLayout,
                   context->m_width, context->m_height);
    cairo_surface_mark_dirty(context->m_surface);
}

void pushToCaller(CGContext *context)
{
    cairo_surface_flush(context->m_surface);
    if (!context->m_cairoPixels.empty())
        copyPixels(context->m_cairoPixels.data(), context->m_width * 4, kCairoLayout,
                   context->m_data, context->m_bytesPerRow, context->m_layout, context->m_width,
                   context->m_height);
}

void settleCairo(CGContext *context)
{
    if (context->m_cairoAhead) {
        context->m_cairoAhead = false;
        pushToCaller(context);
    }
}

_cairo *cairoOf(CGContextRef context)
{
    if (!context)
        return nullptr;
    pullFromCaller(context);
    context->m_cairoAhead = true;
    return context->m_cairo;
}

} // namespace sim

CGContextRef CGBitmapContextCreate(void *data, std::size_t width, std::size_t height,
                                   std::size_t bitsPerComponent, std::size_t bytesPerRow,
                                   CGColorSpaceRef space, std::uint32_t bitmapInfo)
{
    sim::PixelLayout layout{};
    if (!checkArguments(data, width, height, bitsPerComponent, bytesPerRow, space, bitmapInfo,
                        layout))
        return nullptr;
    auto *context = sim::create<CGContext>(g_contextClass);
    context->m_width = width;
    context->m_height = height;
    context->m_bytesPerRow = bytesPerRow;
    context->m_bitmapInfo = bitmapInfo;
    context->m_layout = layout;
    if (!data) {
        context->m_ownedData.assign(bytesPerRow * height, 0);
        data = context->m_ownedData.data();
    }
    context->m_data = static_cast<std::uint8_t *>(data);
    attachCairo(context);
    return context;
}

void *CGBitmapContextGetData(CGContextRef context)
{
    if (!context)
        return nullptr;
    sim::settleCairo(context);
    return context->m_data;
}

std::size_t CGBitmapContextGetWidth(CGContextRef context)
{
    return context ? context->m_width : 0;
}

std::size_t CGBitmapContextGetHeight(CGContextRef context)
{
    return context ? context->m_height : 0;
}

std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context)
{
    return context ? context->m_bytesPerRow : 0;
}

CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef context)
{
    return context ? context->m_bitmapInfo : 0;
}

CGImageRef CGBitmapContextCreateImage(CGContextRef context)
{
    if (!context)
        return nullptr;
    sim::settleCairo(context);
    std::vector<std::uint8_t> pixels(context->m_width * context->m_height * 4);
    sim::copyPixels(context->m_data, context->m_bytesPerRow, context->m_layout, pixels.data(),
                    context->m_width * 4, sim::kImageLayout, context->m_width, context->m_height);
    return sim::imageFromPixels(context->m_width, context->m_height, std::move(pixels));
}

CGContextRef CGContextRetain(CGContextRef context)
{
    return retain(context);
}

void CGContextRelease(CGContextRef context)
{
    objc_release(context);
}
