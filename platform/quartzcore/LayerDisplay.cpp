// Layers that draw their own contents: display, displayIfNeeded and drawInContext:.

#include "quartzcore/CALayer.h"

#include "foundation/NSLog.h"

#include <cmath>

namespace {

// The layouts of the contexts that layers draw into: Cairo's own, so nothing is converted.
constexpr CGBitmapInfo kLayerBitmapInfo =
    kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little;
constexpr CGFloat kMaxLayerPixels = 32767;

void drawInContext(CALayer *self, SEL, CGContextRef context)
{
    id delegate = self->delegate();
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, "drawLayer:inContext:"_sel))
        msg<void>(delegate, "drawLayer:inContext:"_sel, self, context);
}

// Whether displaying would draw anything: the delegate draws, or a subclass does.
bool drawsContent(CALayer *layer)
{
    id delegate = layer->delegate();
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, "drawLayer:inContext:"_sel))
        return true;
    IMP own = class_getMethodImplementation(object_getClass(layer), "drawInContext:"_sel);
    return own != reinterpret_cast<IMP>(drawInContext);
}

// A context of the bounds × contentsScale pixels in UIKit's coordinates: origin at the
// top-left of the bounds, y down, one unit per point. Nil when the size is unusable.
CGContextRef makeDrawingContext(CALayer *layer)
{
    CGRect bounds = CGRectStandardize(layer->bounds());
    CGFloat scale = layer->contentsScale();
    CGFloat width = std::ceil(bounds.size.width * scale);
    CGFloat height = std::ceil(bounds.size.height * scale);
    if (!(width <= kMaxLayerPixels && height <= kMaxLayerPixels)) {
        NSLog("CALayer: %.0f x %.0f pixels are too many to display; contents kept", width, height);
        return nullptr;
    }
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(nullptr, std::size_t(width), std::size_t(height),
                                                 8, 0, space, kLayerBitmapInfo);
    CGColorSpaceRelease(space);
    if (!context)
        return nullptr;
    CGContextTranslateCTM(context, 0, height);
    CGContextScaleCTM(context, 1, -1);
    CGContextScaleCTM(context, scale, scale);
    CGContextTranslateCTM(context, -bounds.origin.x, -bounds.origin.y);
    return context;
}

void display(CALayer *self, SEL)
{
    self->m_needsDisplay = false;
    id delegate = self->delegate();
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, "displayLayer:"_sel)) {
        msg<void>(delegate, "displayLayer:"_sel, self);
        return;
    }
    if (!drawsContent(self))
        return;
    if (CGRectIsEmpty(self->bounds())) {
        self->setContents(nullptr);
        return;
    }
    CGContextRef context = makeDrawingContext(self);
    if (!context)
        return;
    msg<void>(self, "drawInContext:"_sel, context);
    self->m_contents = StrongRef<CGImage>::adopt(CGBitmapContextCreateImage(context));
    CGContextRelease(context);
}

} // namespace

namespace sim {

void registerLayerDisplay(ClassBuilder<CALayer> &builder)
{
    builder.method("display", display).method("drawInContext:", drawInContext);
}

} // namespace sim

void CALayer::displayIfNeeded()
{
    if (m_needsDisplay)
        msg<void>(this, "display"_sel);
}
