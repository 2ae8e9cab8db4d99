// Fonts resolve through the installed faces: exact names or nothing.

#include "uikit/UIFont.h"

#include <fontconfig/fontconfig.h>

#include <gtest/gtest.h>

namespace {

class Fonts : public testing::Test {
protected:
    AutoreleasePool pool;
};

std::string nameOf(UIFont *font)
{
    return msg<NSString *>(font, "fontName"_sel)->str();
}

TEST_F(Fonts, InstalledAndSystemFontsAreFoundByPostScriptOrFullNameOnly)
{
    auto *byPostScript = msg<UIFont *, NSString *, CGFloat>(
        UIFont::class_(), "fontWithName:size:"_sel, "DejaVuSans"_ns, 14);
    ASSERT_NE(byPostScript, nullptr);
    EXPECT_EQ(nameOf(byPostScript), "DejaVuSans");
    EXPECT_EQ(msg<NSString *>(byPostScript, "familyName"_sel)->str(), "DejaVu Sans");
    // Resizing keeps the face.
    auto *larger = msg<UIFont *, CGFloat>(byPostScript, "fontWithSize:"_sel, 30);
    EXPECT_EQ(nameOf(larger), "DejaVuSans");
    EXPECT_EQ(larger->pointSize(), 30);
    EXPECT_EQ(byPostScript->pointSize(), 14);

    auto *byFullName = msg<UIFont *, NSString *, CGFloat>(
        UIFont::class_(), "fontWithName:size:"_sel, "DejaVu Sans Bold"_ns, 9);
    ASSERT_NE(byFullName, nullptr);
    EXPECT_EQ(nameOf(byFullName), "DejaVuSans-Bold");
    EXPECT_TRUE(byFullName->isBold());

    // Unknown or nearly right names give nil.
    for (NSString *name : {"NoSuchFont-Regular"_ns, "dejavusans"_ns, "DejaVu"_ns, ""_ns})
        EXPECT_EQ((msg<UIFont *, NSString *, CGFloat>(UIFont::class_(), "fontWithName:size:"_sel,
                                                      name, 12)),
                  nullptr)
            << name->str();
    EXPECT_EQ((msg<UIFont *, NSString *, CGFloat>(UIFont::class_(), "fontWithName:size:"_sel,
                                                  nullptr, 12)),
              nullptr);

    // System fonts are the sans-serif face at each weight, DejaVu Sans here.
    Class ctFont = objc_getClass("UICTFont");
    ASSERT_NE(ctFont, nullptr);
    auto *regular = msg<UIFont *, CGFloat>(ctFont, "systemFontOfSize:"_sel, 17);
    auto *bold = msg<UIFont *, CGFloat>(ctFont, "boldSystemFontOfSize:"_sel, 17);
    auto *light = msg<UIFont *, CGFloat>(ctFont, "_ultraLightSystemFontOfSize:"_sel, 60);
    EXPECT_EQ(nameOf(regular), "DejaVuSans");
    EXPECT_EQ(nameOf(bold), "DejaVuSans-Bold");
    EXPECT_EQ(nameOf(light), "DejaVuSans-ExtraLight");
    EXPECT_EQ(msg<CGFloat>(light, "pointSize"_sel), 60);
    // The system font's name leads back to the same face.
    auto *again = msg<UIFont *, NSString *, CGFloat>(UIFont::class_(), "fontWithName:size:"_sel,
                                                     msg<NSString *>(regular, "fontName"_sel), 17);
    EXPECT_TRUE(msg<BOOL>(again, "isEqual:"_sel, regular));
}

// Weights between the named ones go to the platform's scale and back unchanged.
TEST_F(Fonts, DescriptorsTellTheWeightAndSlantOfTheFaceAndFamiliesListFaces)
{
    auto traitsOf = [](NSString *name) {
        auto *font = msg<UIFont *, NSString *, CGFloat>(UIFont::class_(), "fontWithName:size:"_sel,
                                                        name, 12);
        auto *descriptor = msg<UIFontDescriptor *>(font, "fontDescriptor"_sel);
        auto *traits = msg<NSDictionary *, NSString *>(descriptor, "objectForKey:"_sel,
                                                       UIFontDescriptorTraitsAttribute);
        double weight = msg<double>(traits->objectForKey(UIFontWeightTrait), "doubleValue"_sel);
        return std::pair(weight,
                         msg<UIFontDescriptorSymbolicTraits>(descriptor, "symbolicTraits"_sel));
    };
    EXPECT_EQ(traitsOf("DejaVuSans"_ns), std::pair(UIFontWeightRegular, 0u));
    EXPECT_EQ(traitsOf("DejaVuSans-Bold"_ns),
              std::pair(UIFontWeightBold, UIFontDescriptorTraitBold));
    EXPECT_EQ(traitsOf("DejaVuSans-ExtraLight"_ns).first, UIFontWeightThin);
    EXPECT_EQ(traitsOf("DejaVuSans-BoldOblique"_ns),
              std::pair(UIFontWeightBold, UIFontDescriptorTraitBold | UIFontDescriptorTraitItalic));
    for (double weight : {100.0, 200.0, 350.0, 400.0, 450.0, 700.0, 900.0}) {
        sim::FontFace face;
        face.weight = int(FcWeightFromOpenTypeDouble(weight));
        double there = UIFontDescriptor::descriptorForFace(face)->m_weight;
        EXPECT_NEAR(sim::openTypeWeightOf(there), FcWeightToOpenTypeDouble(face.weight), 1e-9)
            << weight;
    }

    // Families list their faces.
    NSArray *families = msg<NSArray *>(UIFont::class_(), "familyNames"_sel);
    EXPECT_TRUE(families->containsObject("DejaVu Sans"_ns));
    NSArray *faces = msg<NSArray *, NSString *>(UIFont::class_(), "fontNamesForFamilyName:"_sel,
                                                "DejaVu Sans"_ns);
    EXPECT_TRUE(faces->containsObject("DejaVuSans-Bold"_ns));
    EXPECT_FALSE(faces->containsObject("DejaVuSerif"_ns));
    NSArray *none = msg<NSArray *, NSString *>(UIFont::class_(), "fontNamesForFamilyName:"_sel,
                                               "Not A Family"_ns);
    EXPECT_EQ(none->count(), 0u);
}

} // namespace
