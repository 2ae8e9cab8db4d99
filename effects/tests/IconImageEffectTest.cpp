// The icon image effect values: their titles, and the filter each applies to an icon.

#include "EffectsTest.h"
#include "effects/CVIconImageEffect.h"
#include "effects/CVImageEffects.h"

#include <climits>
#include <set>
#include <string>

namespace {

using IconImageEffects = EffectsTest;

// A pixel on which every filter gives a different answer, beside black and transparent.
const std::vector<Rgba> kIconPixels = {
    {200, 10, 127, 255}, {100, 50, 20, 128}, {0, 0, 0, 255}, {0, 0, 0, 0}};

// The panel lists the titles in order and stores the value a title names: each of the nine
// values from None (-1) up has a title that names it back, and only exactly.
TEST(IconImageEffectTitles, EachOfTheNineValuesHasATitleThatNamesItBack)
{
    auto titles = CVIconImageEffectTitles();
    ASSERT_EQ(titles.size(), 9u);
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i].effect, int(i) - 1);
        EXPECT_EQ(CVIconImageEffectNamed(titles[i].title), titles[i].effect) << titles[i].title;
        distinct.insert(std::string(titles[i].title));
    }
    EXPECT_EQ(distinct.size(), 9u);
    for (const char *misspelt : {"sepia", "Sepia ", ""})
        EXPECT_EQ(CVIconImageEffectNamed(misspelt), std::nullopt) << misspelt;
}

TEST_F(IconImageEffects, NoneAndValuesOutsideTheRangeGiveTheImageItself)
{
    UIImage *icon = imageOf(kIconPixels);
    for (int effect : {-1, 8, -2, 100, INT_MAX, INT_MIN})
        EXPECT_EQ(CVApplyIconImageEffect(icon, effect), icon) << "effect " << effect;
}

TEST_F(IconImageEffects, EachValueAppliesItsFilter)
{
    UIImage *icon = imageOf(kIconPixels);
    auto filteredBy = [&](CVPixelFilter filter) { return pixelsOf(CVFilteredImage(icon, filter)); };
    auto applied = [&](int effect) { return pixelsOf(CVApplyIconImageEffect(icon, effect)); };
    EXPECT_EQ(applied(0), filteredBy(CVPixelFilter::Invert));
    EXPECT_EQ(applied(1), filteredBy(CVPixelFilter::BlackAndWhite));
    EXPECT_EQ(applied(3), filteredBy(CVPixelFilter::Sepia));
    EXPECT_EQ(applied(5), filteredBy(CVPixelFilter::Psycho));
    EXPECT_EQ(applied(6), filteredBy(CVPixelFilter::RedAscendant));
    EXPECT_EQ(applied(7), filteredBy(CVPixelFilter::GreenAscendant));
    // High contrast is factor 3: 200 → 255, 10 → 0, 127 → 126 on the first pixel.
    EXPECT_EQ(applied(2).front(), (Rgba{255, 0, 126, 255}));
}

TEST_F(IconImageEffects, FadedColorsGivesExactlyWhatSepiaGives)
{
    UIImage *icon = imageOf(kIconPixels, 2, 2);
    UIImage *faded = CVApplyIconImageEffect(icon, CVIconImageEffectFadedColors);
    UIImage *sepia = CVApplyIconImageEffect(icon, CVIconImageEffectSepia);
    ASSERT_NE(faded, nil);
    EXPECT_EQ(sim::pixelsOf(faded->CGImage()), sim::pixelsOf(sepia->CGImage()));
    EXPECT_EQ(msg<CGFloat>(faded, "scale"_sel), 2);
    // And not what the faded filter, which the library still offers, would give.
    EXPECT_NE(pixelsOf(faded), pixelsOf(CVFilteredImage(icon, CVPixelFilter::Faded)));
}

} // namespace
