#include "effects/ColorPicker/ColorPickerMarkerLayer.h"

#include "effects/ColorPicker/ColorPickerImages.h"
#include "foundation/NSArray.h"

#include <cmath>

namespace {

constexpr CGFloat kRingWidth = 2;
constexpr CGFloat kRingEdge = 1;

// The ring is symmetric top to bottom, so the image comes out the same whichever way up the
// context's y axis points.
void drawInContext(ColorPickerMarkerLayer *self, SEL, CGContextRef context)
{
    CGFloat scale = self->contentsScale();
    auto side = std::size_t(std::lround(self->bounds().size.width * scale));
    StrongRef<CGImage> ring = CVRingImage(side, kRingWidth * scale, kRingEdge * scale);
    if (ring)
        CGContextDrawImage(context, self->bounds(), ring);
}

const Class kRegistered = ColorPickerMarkerLayer::class_();

} // namespace

Class ColorPickerMarkerLayer::class_()
{
    static const Class cls = [] {
        CALayer::class_();
        return ClassBuilder<ColorPickerMarkerLayer>("ColorPickerMarkerLayer", "CALayer")
            .method("drawInContext:", drawInContext)
            .registerClass();
    }();
    return cls;
}
