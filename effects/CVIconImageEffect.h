#pragma once
// The icon image effect: the value of the CVIcons key "effect", which picks the filter
// that the extension runs over every icon image. The settings panel offers the values
// −1 to 7 under the titles below; "Faded Colors" applies the sepia filter, exactly as
// "Sepia" does (the faded filter exists in the library but no effect applies it), and a
// value outside −1 to 7 is treated as "None".

#include "uikit/UIImage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum CVIconImageEffect : std::int32_t {
    CVIconImageEffectNone = -1,
    CVIconImageEffectInvertColors = 0,
    CVIconImageEffectBlackAndWhite = 1,
    CVIconImageEffectHighContrast = 2,
    CVIconImageEffectSepia = 3,
    CVIconImageEffectFadedColors = 4,
    CVIconImageEffectPsychoColors = 5,
    CVIconImageEffectRedAscendant = 6,
    CVIconImageEffectGreenAscendant = 7,
};

struct CVIconImageEffectEntry {
    CVIconImageEffect effect;
    const char *title;
};

// Every value with its title ("None", "Invert Colors", "Black & White", …), from −1 to 7.
std::span<const CVIconImageEffectEntry> CVIconImageEffectTitles();

// The value the panel shows under `title` (exact spelling), or nothing.
std::optional<CVIconImageEffect> CVIconImageEffectNamed(std::string_view title);

// The icon image as the extension shows it with the given "effect" value: a new image
// for 0 to 7; the image itself for −1 and any other value; nil when the filter cannot get
// its buffer, in which case the caller keeps the image it had.
UIImage *CVApplyIconImageEffect(UIImage *image, std::int32_t effect);
