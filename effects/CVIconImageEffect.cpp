#include "effects/CVIconImageEffect.h"

#include "effects/CVImageEffects.h"

#include <array>

namespace {

// The strength of "High Contrast".
constexpr float kHighContrastFactor = 3.0f;

constexpr std::array<CVIconImageEffectEntry, 9> kTitles = {{
    {CVIconImageEffectNone, "None"},
    {CVIconImageEffectInvertColors, "Invert Colors"},
    {CVIconImageEffectBlackAndWhite, "Black & White"},
    {CVIconImageEffectHighContrast, "High Contrast"},
    {CVIconImageEffectSepia, "Sepia"},
    {CVIconImageEffectFadedColors, "Faded Colors"},
    {CVIconImageEffectPsychoColors, "Psycho Colors"},
    {CVIconImageEffectRedAscendant, "Red Ascendant"},
    {CVIconImageEffectGreenAscendant, "Green Ascendant"},
}};

} // namespace

std::span<const CVIconImageEffectEntry> CVIconImageEffectTitles()
{
    return kTitles;
}

std::optional<CVIconImageEffect> CVIconImageEffectNamed(std::string_view title)
{
    for (const CVIconImageEffectEntry &entry : kTitles)
        if (title == entry.title)
            return entry.effect;
    return std::nullopt;
}

UIImage *CVApplyIconImageEffect(UIImage *image, std::int32_t effect)
{
    switch (effect) {
    case CVIconImageEffectInvertColors:
        return CVFilteredImage(image, CVPixelFilter::Invert);
    case CVIconImageEffectBlackAndWhite:
        return CVFilteredImage(image, CVPixelFilter::BlackAndWhite);
    case CVIconImageEffectHighContrast:
        return CVContrastImage(image, kHighContrastFactor);
    case CVIconImageEffectSepia:
    case CVIconImageEffectFadedColors:
        return CVFilteredImage(image, CVPixelFilter::Sepia);
    case CVIconImageEffectPsychoColors:
        return CVFilteredImage(image, CVPixelFilter::Psycho);
    case CVIconImageEffectRedAscendant:
        return CVFilteredImage(image, CVPixelFilter::RedAscendant);
    case CVIconImageEffectGreenAscendant:
        return CVFilteredImage(image, CVPixelFilter::GreenAscendant);
    default:
        return image;
    }
}
