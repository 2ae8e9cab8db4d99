// UIColor(CVEffects): colours from four bytes, and random opaque colours.

#include "effects/CVColorHelpers.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace {

class ColorHelpers : public testing::Test {
protected:
    static id colorClass() { return reinterpret_cast<id>(UIColor::class_()); }

    AutoreleasePool pool;
};

// The component as a whole number of 255ths, or −1 when it is not one.
int in255ths(CGFloat component)
{
    double steps = component * 255;
    return std::fabs(steps - std::round(steps)) < 1e-9 ? int(std::round(steps)) : -1;
}

TEST_F(ColorHelpers, BytesGiveRedGreenBlueAndAlphaIn255thsAndNoBytesNoColour)
{
    const std::uint8_t bytes[] = {255, 51, 0, 128};
    auto *color = msg<UIColor *>(colorClass(), "colorWithRGBABytes:"_sel, &bytes[0]);
    ASSERT_NE(color, nil);
    EXPECT_DOUBLE_EQ(color->m_red, 1.0);
    EXPECT_DOUBLE_EQ(color->m_green, 0.2);
    EXPECT_DOUBLE_EQ(color->m_blue, 0.0);
    EXPECT_DOUBLE_EQ(color->m_alpha, 128 / 255.0);
    EXPECT_EQ(CVColorWithRGBABytes(nullptr), nil);
}

TEST_F(ColorHelpers, RandomColoursAreOpaqueAndStopShortOfFullComponents)
{
    std::set<std::tuple<int, int, int>> seen;
    for (int i = 0; i < 200; ++i) {
        auto *color = msg<UIColor *>(colorClass(), "randomColor"_sel);
        ASSERT_NE(color, nil);
        EXPECT_EQ(color->m_alpha, 1.0);
        for (CGFloat component : {color->m_red, color->m_green, color->m_blue}) {
            int steps = in255ths(component);
            EXPECT_GE(steps, 0) << component;
            EXPECT_LE(steps, 254) << component;
        }
        seen.insert({in255ths(color->m_red), in255ths(color->m_green), in255ths(color->m_blue)});
    }
    // 200 draws from 255³ colours: a repeat would be a broken generator, not bad luck.
    EXPECT_GT(seen.size(), 190u);
}

} // namespace
