#include "effects/ColorPicker/HSVColor.h"

#include <algorithm>
#include <cmath>

CVHSV CVHSVFromRGB(float red, float green, float blue)
{
    // NaN compares false everywhere, so it is turned into 0 before clamping.
    auto unit = [](float c) { return std::isnan(c) ? 0.0f : std::clamp(c, 0.0f, 1.0f); };
    red = unit(red);
    green = unit(green);
    blue = unit(blue);
    float largest = std::max({red, green, blue});
    float spread = largest - std::min({red, green, blue});
    if (largest <= 0.0f)
        return {0, 0, 0};
    if (spread <= 0.0f)
        return {0, 0, largest};
    // Each sector's distance from its primary, in sixths of a turn.
    float sixths = largest == red     ? (green - blue) / spread
                   : largest == green ? 2.0f + (blue - red) / spread
                                      : 4.0f + (red - green) / spread;
    float hue = sixths / 6.0f;
    if (hue < 0.0f)
        hue += 1.0f;
    return {hue >= 1.0f ? 0.0f : hue, spread / largest, largest};
}
