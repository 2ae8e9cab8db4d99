#pragma once
// Colours by hue, saturation and value (the platform's HSB, whose brightness is the value),
// the colour model of the picker. Every component lies in 0…1: hue is the fraction of a full
// turn round the colour circle from red (0) through yellow (1/6), green (1/3), cyan (1/2),
// blue (2/3) and magenta (5/6) back to red, saturation the distance from grey, value the
// largest of red, green and blue. Red, green and blue are device RGB, not premultiplied.
//
// CVRGBFromHSV is inline and free of branches that depend on the colour, so that the wheel's
// pixel walk (ColorWheelPixels.cpp) inlines the very same rule into its vector loop.

#include <algorithm>

struct CVRGB {
    float red;
    float green;
    float blue;
};

struct CVHSV {
    float hue;
    float saturation;
    float value;
};

// One channel of the six-sector rule below, with k = (offset + 6h) modulo 6: the channel
// is v(1 − s·min(max(min(k, 4 − k), 0), 1)). As the hue goes round, each channel stays at
// v for two sectors, falls to p across one, stays at p for two and climbs back across one;
// red, green and blue are the same ramp shifted by offsets 5, 3 and 1 sectors.
inline float CVHSVChannel(float offset, float sixths, float saturation, float value)
{
    float k = offset + sixths;
    k = k >= 6.0f ? k - 6.0f : k;
    float ramp = std::clamp(std::min(k, 4.0f - k), 0.0f, 1.0f);
    return value * (1.0f - saturation * ramp);
}

// The six-sector rule: h6 = 6h (a hue of 1 counts as 0); the sector is the integer part of
// h6 and f its fraction; p = v(1 − s), q = v(1 − s·f), t = v(1 − s·(1 − f)); sectors 0 to 5
// give (v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v) and (v, p, q). A saturation of
// 0 gives grey v. Worked out channel by channel, as CVHSVChannel does, the rule has no
// branch on the sector, which is what lets a vector loop inline it. `hue` must lie in 0…1.
inline CVRGB CVRGBFromHSV(float hue, float saturation, float value)
{
    float sixths = hue >= 1.0f ? 0.0f : hue * 6.0f;
    return {CVHSVChannel(5.0f, sixths, saturation, value),
            CVHSVChannel(3.0f, sixths, saturation, value),
            CVHSVChannel(1.0f, sixths, saturation, value)};
}

// The inverse: value = the largest component; saturation = (largest − smallest) ÷ largest
// (0 for black); hue from the component that is largest, in 0…1 (0 for grey). Components
// outside 0…1 are clamped first.
CVHSV CVHSVFromRGB(float red, float green, float blue);
