#pragma once
// What a font's description says of its face: the symbolic traits (italic, bold) and the
// weight on the platform's scale, UIFontWeight, from −1 to 1 (regular 0, bold 0.4), both
// read from the installed face (FontCatalog.h). The weight is found as on the phone, in
// the traits dictionary: [descriptor objectForKey:UIFontDescriptorTraitsAttribute] holds
// UIFontWeightTrait and UIFontSymbolicTrait as numbers.
//
// Weights between the named ones are interpolated linearly, both from the face's
// OpenType weight (100 … 900) and back (sim::openTypeWeightOf), so a face's weight goes
// and returns unchanged.

#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "quartzcore/CGGeometry.h"
#include "uikit/FontCatalog.h"

#include <cstdint>

using UIFontDescriptorSymbolicTraits = std::uint32_t;
inline constexpr UIFontDescriptorSymbolicTraits UIFontDescriptorTraitItalic = 1u << 0;
inline constexpr UIFontDescriptorSymbolicTraits UIFontDescriptorTraitBold = 1u << 1;

using UIFontWeight = CGFloat;
inline constexpr UIFontWeight UIFontWeightUltraLight = -0.8;
inline constexpr UIFontWeight UIFontWeightThin = -0.6;
inline constexpr UIFontWeight UIFontWeightLight = -0.4;
inline constexpr UIFontWeight UIFontWeightRegular = 0;
inline constexpr UIFontWeight UIFontWeightMedium = 0.23;
inline constexpr UIFontWeight UIFontWeightSemibold = 0.3;
inline constexpr UIFontWeight UIFontWeightBold = 0.4;
inline constexpr UIFontWeight UIFontWeightHeavy = 0.56;
inline constexpr UIFontWeight UIFontWeightBlack = 0.62;

extern NSString *const UIFontDescriptorTraitsAttribute;
extern NSString *const UIFontWeightTrait;
extern NSString *const UIFontSymbolicTrait;

struct UIFontDescriptor : NSObject {
    UIFontDescriptorSymbolicTraits m_symbolicTraits = 0;
    UIFontWeight m_weight = 0;

    static Class class_();
    // Autoreleased.
    static UIFontDescriptor *descriptorForFace(const sim::FontFace &face);

    UIFontDescriptorSymbolicTraits symbolicTraits() const { return m_symbolicTraits; }
    // The traits dictionary for UIFontDescriptorTraitsAttribute, else nil.
    id objectForKey(NSString *attribute) const;
};

namespace sim {

// The OpenType weight (100 … 900) of a weight on the platform's scale.
double openTypeWeightOf(UIFontWeight weight);

} // namespace sim
