#include "uikit/UIFontDescriptor.h"

#include "foundation/NSNumber.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <utility>

NSString *const UIFontDescriptorTraitsAttribute = sim_constantString("NSCTFontTraitsAttribute");
NSString *const UIFontWeightTrait = sim_constantString("NSCTFontWeightTrait");
NSString *const UIFontSymbolicTrait = sim_constantString("NSCTFontSymbolicTrait");

namespace {

// The named weights against the OpenType weights they stand for, lightest first.
constexpr std::array<std::pair<double, UIFontWeight>, 9> kNamedWeights = {{
    {100, UIFontWeightUltraLight},
    {200, UIFontWeightThin},
    {300, UIFontWeightLight},
    {400, UIFontWeightRegular},
    {500, UIFontWeightMedium},
    {600, UIFontWeightSemibold},
    {700, UIFontWeightBold},
    {800, UIFontWeightHeavy},
    {900, UIFontWeightBlack},
}};

// Linear between neighbouring named weights, held at the ends; `from` picks the side of
// the pairs that is given.
template <bool fromOpenType> double interpolate(double value)
{
    auto key = [](const auto &pair) { return fromOpenType ? pair.first : pair.second; };
    auto other = [](const auto &pair) { return fromOpenType ? pair.second : pair.first; };
    if (value <= key(kNamedWeights.front()))
        return other(kNamedWeights.front());
    for (std::size_t i = 1; i < kNamedWeights.size(); ++i)
        if (value <= key(kNamedWeights[i])) {
            double share = (value - key(kNamedWeights[i - 1])) /
                           (key(kNamedWeights[i]) - key(kNamedWeights[i - 1]));
            return other(kNamedWeights[i - 1]) +
                   share * (other(kNamedWeights[i]) - other(kNamedWeights[i - 1]));
        }
    return other(kNamedWeights.back());
}

namespace imp {

id objectForKey(UIFontDescriptor *self, SEL, NSString *attribute)
{
    return self->objectForKey(attribute);
}

UIFontDescriptorSymbolicTraits symbolicTraits(UIFontDescriptor *self, SEL)
{
    return self->symbolicTraits();
}

} // namespace imp

const Class kRegistered = UIFontDescriptor::class_();

} // namespace

Class UIFontDescriptor::class_()
{
    static const Class cls = ClassBuilder<UIFontDescriptor>("UIFontDescriptor", "NSObject")
                                 .method("objectForKey:", imp::objectForKey)
                                 .method("symbolicTraits", imp::symbolicTraits)
                                 .registerClass();
    return cls;
}

UIFontDescriptor *UIFontDescriptor::descriptorForFace(const sim::FontFace &face)
{
    auto *descriptor = sim::make<UIFontDescriptor>(class_());
    double openType = FcWeightToOpenTypeDouble(face.weight);
    descriptor->m_weight = interpolate<true>(openType);
    descriptor->m_symbolicTraits = (face.italic ? UIFontDescriptorTraitItalic : 0) |
                                   (face.weight >= FC_WEIGHT_BOLD ? UIFontDescriptorTraitBold : 0);
    return descriptor;
}

id UIFontDescriptor::objectForKey(NSString *attribute) const
{
    if (!attribute || !attribute->isEqualToString(UIFontDescriptorTraitsAttribute))
        return nil;
    NSMutableDictionary *traits = NSMutableDictionary::dictionary();
    traits->setObjectForKey(NSNumber::numberWithDouble(m_weight), UIFontWeightTrait);
    traits->setObjectForKey(NSNumber::numberWithUnsignedInt(m_symbolicTraits), UIFontSymbolicTrait);
    return traits;
}

namespace sim {

double openTypeWeightOf(UIFontWeight weight)
{
    return interpolate<false>(weight);
}

} // namespace sim
