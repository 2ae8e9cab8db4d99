#include "uikit/UIGraphics.h"

#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "uikit/UIImage.h"

#include <cmath>
#include <vector>

namespace {

struct StackedContext {
    StrongRef<CGContext> context;
    CGFloat imageScale; // 0 for a context pushed by UIGraphicsPushContext
};

thread_local std::vector<StackedContext> t_contexts;

} // namespace

void UIGraphicsBeginImageContextWithOptions(CGSize size, BOOL opaque, CGFloat scale)
{
    if (scale <= 0)
        scale = sim::DeviceProfile::current()->screenScale;
    auto width = static_cast<std::size_t>(std::ceil(size.width * scale));
    auto height = static_cast<std::size_t>(std::ceil(size.height * scale));
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context =
        CGBitmapContextCreate(nullptr, width, height, 8, 0, space,
                              opaque ? kCGImageAlphaNoneSkipLast : kCGImageAlphaPremultipliedLast);
    CGColorSpaceRelease(space);
    if (!context) {
        NSLog("UIGraphicsBeginImageContext() failed to allocate CGBitmapContext: size={%g, %g}, "
              "scale=%g",
              size.width, size.height, scale);
        return;
    }
    // Flip once so that drawing code sees the top-left origin of views, in points.
    CGContextTranslateCTM(context, 0, static_cast<CGFloat>(height));
    CGContextScaleCTM(context, scale, -scale);
    t_contexts.push_back({StrongRef<CGContext>::adopt(context), scale});
}

void UIGraphicsBeginImageContext(CGSize size)
{
    UIGraphicsBeginImageContextWithOptions(size, NO, 1);
}

CGContextRef UIGraphicsGetCurrentContext()
{
    return t_contexts.empty() ? nil : t_contexts.back().context.get();
}

UIImage *UIGraphicsGetImageFromCurrentImageContext()
{
    if (t_contexts.empty() || t_contexts.back().imageScale == 0)
        return nil;
    StrongRef<CGImage> image =
        StrongRef<CGImage>::adopt(CGBitmapContextCreateImage(t_contexts.back().context));
    return UIImage::imageWithCGImageScaleOrientation(image, t_contexts.back().imageScale,
                                                     UIImageOrientationUp);
}

void UIGraphicsEndImageContext()
{
    if (t_contexts.empty() || t_contexts.back().imageScale == 0) {
        NSLog("UIGraphicsEndImageContext() called without a current image context");
        return;
    }
    t_contexts.pop_back();
}

void UIGraphicsPushContext(CGContextRef context)
{
    t_contexts.push_back({context, 0});
}

void UIGraphicsPopContext()
{
    if (t_contexts.empty()) {
        NSLog("UIGraphicsPopContext() called with no context to pop");
        return;
    }
    t_contexts.pop_back();
}
