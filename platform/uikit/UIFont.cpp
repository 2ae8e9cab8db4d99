#include "uikit/UIFont.h"

#include <fontconfig/fontconfig.h>

#include <set>

namespace {

UIFont *makeFont(const sim::FontFace &face, CGFloat size)
{
    auto *font = sim::make<UIFont>(UICTFont::class_());
    font->m_face = face;
    font->m_pointSize = size;
    return font;
}

// The methods, as messages reach them.
namespace imp {

UIFont *systemFontOfSize(id, SEL, CGFloat size)
{
    return UIFont::systemFontOfSize(size);
}

UIFont *boldSystemFontOfSize(id, SEL, CGFloat size)
{
    return UIFont::boldSystemFontOfSize(size);
}

UIFont *ultraLightSystemFontOfSize(id, SEL, CGFloat size)
{
    return UIFont::ultraLightSystemFontOfSize(size);
}

UIFont *fontWithNameSize(id, SEL, NSString *name, CGFloat size)
{
    return UIFont::fontWithNameSize(name, size);
}

NSArray *familyNames(id, SEL)
{
    return UIFont::familyNames();
}

NSArray *fontNamesForFamilyName(id, SEL, NSString *family)
{
    return UIFont::fontNamesForFamilyName(family);
}

CGFloat pointSize(UIFont *self, SEL)
{
    return self->pointSize();
}

NSString *fontName(UIFont *self, SEL)
{
    return self->fontName();
}

NSString *familyName(UIFont *self, SEL)
{
    return self->familyName();
}

UIFontDescriptor *fontDescriptor(UIFont *self, SEL)
{
    return self->fontDescriptor();
}

UIFont *fontWithSize(UIFont *self, SEL, CGFloat size)
{
    return self->fontWithSize(size);
}

BOOL isEqual(UIFont *self, SEL, id other)
{
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, UIFont::class_()))
        return NO;
    auto *font = static_cast<UIFont *>(other);
    return font->m_face.postScriptName == self->m_face.postScriptName &&
           font->m_pointSize == self->m_pointSize;
}

NSString *description(UIFont *self, SEL)
{
    return NSString::stringWithFormat("<UICTFont: %p> font-family: \"%s\"; font-size: %.2fpt",
                                      static_cast<void *>(self), self->m_face.family.c_str(),
                                      self->m_pointSize);
}

} // namespace imp

const Class kRegistered = UICTFont::class_();

} // namespace

Class UIFont::class_()
{
    static const Class cls =
        ClassBuilder<UIFont>("UIFont", "NSObject")
            .classMethod("systemFontOfSize:", imp::systemFontOfSize)
            .classMethod("boldSystemFontOfSize:", imp::boldSystemFontOfSize)
            .classMethod("_ultraLightSystemFontOfSize:", imp::ultraLightSystemFontOfSize)
            .classMethod("fontWithName:size:", imp::fontWithNameSize)
            .classMethod("familyNames", imp::familyNames)
            .classMethod("fontNamesForFamilyName:", imp::fontNamesForFamilyName)
            .method("pointSize", imp::pointSize)
            .method("fontName", imp::fontName)
            .method("familyName", imp::familyName)
            .method("fontDescriptor", imp::fontDescriptor)
            .method("fontWithSize:", imp::fontWithSize)
            .method("isEqual:", imp::isEqual)
            .method("description", imp::description)
            .registerClass();
    return cls;
}

Class UICTFont::class_()
{
    static const Class cls = [] {
        UIFont::class_();
        return ClassBuilder<UICTFont>("UICTFont", "UIFont").registerClass();
    }();
    return cls;
}

UIFont *UIFont::systemFontOfSize(CGFloat size)
{
    return makeFont(sim::systemFace(sim::SystemFontWeight::Regular), size);
}

UIFont *UIFont::boldSystemFontOfSize(CGFloat size)
{
    return makeFont(sim::systemFace(sim::SystemFontWeight::Bold), size);
}

UIFont *UIFont::ultraLightSystemFontOfSize(CGFloat size)
{
    return makeFont(sim::systemFace(sim::SystemFontWeight::UltraLight), size);
}

UIFont *UIFont::fontWithNameSize(NSString *name, CGFloat size)
{
    if (!name)
        return nil;
    std::optional<sim::FontFace> face = sim::faceNamed(name->str());
    return face ? makeFont(*face, size) : nil;
}

NSArray *UIFont::familyNames()
{
    std::set<std::string> families;
    for (const sim::FontFace &face : sim::installedFaces())
        families.insert(face.family);
    NSMutableArray *names = NSMutableArray::array();
    for (const std::string &family : families)
        names->addObject(NSString::stringWithString(family));
    return names;
}

NSArray *UIFont::fontNamesForFamilyName(NSString *family)
{
    NSMutableArray *names = NSMutableArray::array();
    if (!family)
        return names;
    for (const sim::FontFace &face : sim::installedFaces())
        if (face.family == family->str())
            names->addObject(NSString::stringWithString(face.postScriptName));
    return names;
}

NSString *UIFont::fontName() const
{
    return NSString::stringWithString(m_face.postScriptName);
}

NSString *UIFont::familyName() const
{
    return NSString::stringWithString(m_face.family);
}

UIFont *UIFont::fontWithSize(CGFloat size) const
{
    return makeFont(m_face, size);
}

bool UIFont::isBold() const
{
    return m_face.weight >= FC_WEIGHT_BOLD;
}

UIFontDescriptor *UIFont::fontDescriptor() const
{
    return UIFontDescriptor::descriptorForFace(m_face);
}
