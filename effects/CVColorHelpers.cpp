#include "effects/CVColorHelpers.h"

#include "effects/CVCategory.h"

#include <cstdlib>

namespace {

CGFloat randomComponent()
{
    return CGFloat(arc4random() % 255) / 255;
}

namespace category {

UIColor *randomColor(id, SEL)
{
    return CVRandomColor();
}

UIColor *colorWithRGBABytes(id, SEL, const std::uint8_t *bytes)
{
    return CVColorWithRGBABytes(bytes);
}

} // namespace category

// UIColor(CVEffects), added to UIColor's metaclass when the library loads.
[[gnu::constructor]] void addColorHelpers()
{
    Class metaclass = object_getClass(reinterpret_cast<id>(UIColor::class_()));
    CVAddCategoryMethod(metaclass, "randomColor", category::randomColor);
    CVAddCategoryMethod(metaclass, "colorWithRGBABytes:", category::colorWithRGBABytes);
}

} // namespace

UIColor *CVRandomColor()
{
    return UIColor::colorWithRedGreenBlueAlpha(randomComponent(), randomComponent(),
                                               randomComponent(), 1.0);
}

UIColor *CVColorWithRGBABytes(const std::uint8_t *bytes)
{
    if (!bytes)
        return nil;
    return UIColor::colorWithRedGreenBlueAlpha(bytes[0] / 255.0, bytes[1] / 255.0, bytes[2] / 255.0,
                                               bytes[3] / 255.0);
}
