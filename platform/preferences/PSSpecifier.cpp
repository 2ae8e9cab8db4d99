#include "preferences/PSSpecifier.h"

#include "uikit/UIImage.h"

#include <algorithm>

namespace {

PSSpecifier *makeSpecifier(Class cls, NSString *name, NSInteger cellType)
{
    auto *specifier = autorelease(sim::create<PSSpecifier>(cls));
    specifier->m_name = StrongRef<NSString>::adopt(msg<NSString *>(name, "copy"_sel));
    specifier->m_cellType = cellType;
    return specifier;
}

// value → title for the values that have a title, in order.
NSDictionary *titlesByValue(NSArray *values, NSArray *titles)
{
    if (!values || !titles)
        return nil;
    NSMutableDictionary *dictionary = NSMutableDictionary::dictionary();
    for (NSUInteger i = 0; i < std::min(values->count(), titles->count()); ++i)
        dictionary->setObjectForKey(titles->objectAtIndex(i), values->objectAtIndex(i));
    return NSDictionary::dictionaryWithDictionary(dictionary);
}

namespace imp {

PSSpecifier *preferenceSpecifierNamed(Class cls, SEL, NSString *name, id target, SEL setter,
                                      SEL getter, Class detail, NSInteger cell, Class edit)
{
    PSSpecifier *specifier = makeSpecifier(cls, name, cell);
    specifier->m_target = target;
    specifier->m_setter = setter;
    specifier->m_getter = getter;
    specifier->m_detailControllerClass = detail;
    specifier->m_editPaneClass = edit;
    return specifier;
}

PSSpecifier *emptyGroupSpecifier(Class cls, SEL)
{
    return makeSpecifier(cls, nil, PSGroupCell);
}

PSSpecifier *groupSpecifierWithName(Class cls, SEL, NSString *name)
{
    return makeSpecifier(cls, name, PSGroupCell);
}

NSString *name(PSSpecifier *self, SEL)
{
    return self->m_name;
}

void setName(PSSpecifier *self, SEL, NSString *name)
{
    self->m_name = StrongRef<NSString>::adopt(msg<NSString *>(name, "copy"_sel));
}

id propertyForKey(PSSpecifier *self, SEL, NSString *key)
{
    return self->propertyForKey(key);
}

void setPropertyForKey(PSSpecifier *self, SEL, id value, NSString *key)
{
    self->setPropertyForKey(value, key);
}

void removePropertyForKey(PSSpecifier *self, SEL, NSString *key)
{
    if (self->m_properties && key)
        self->m_properties->removeObjectForKey(key);
}

NSDictionary *properties(PSSpecifier *self, SEL)
{
    return NSDictionary::dictionaryWithDictionary(self->m_properties);
}

NSString *identifier(PSSpecifier *self, SEL)
{
    return self->identifier();
}

void setIdentifier(PSSpecifier *self, SEL, NSString *identifier)
{
    self->setPropertyForKey(identifier, "id"_ns);
}

void setValuesTitlesShortTitles(PSSpecifier *self, SEL, NSArray *values, NSArray *titles,
                                NSArray *shortTitles)
{
    self->m_values = values ? NSArray::arrayWithArray(values) : nil;
    self->m_titleDictionary = titlesByValue(values, titles);
    self->m_shortTitleDictionary = titlesByValue(values, shortTitles ? shortTitles : titles);
}

void setValuesTitles(PSSpecifier *self, SEL, NSArray *values, NSArray *titles)
{
    msg<void, NSArray *, NSArray *, NSArray *>(self, "setValues:titles:shortTitles:"_sel, values,
                                               titles, nil);
}

NSArray *values(PSSpecifier *self, SEL)
{
    return self->m_values;
}

// A path that is not a readable PNG leaves the row without an icon.
void setupIconImageWithPath(PSSpecifier *self, SEL, NSString *path)
{
    self->setPropertyForKey(path ? UIImage::imageWithContentsOfFile(path) : nil, "iconImage"_ns);
}

} // namespace imp

const Class kRegistered = PSSpecifier::class_();

} // namespace

Class PSSpecifier::class_()
{
    static const Class cls =
        ClassBuilder<PSSpecifier>("PSSpecifier", "NSObject")
            .ivar("target", &PSSpecifier::m_target)
            .ivar("getter", &PSSpecifier::m_getter)
            .ivar("setter", &PSSpecifier::m_setter)
            .ivar("detailControllerClass", &PSSpecifier::m_detailControllerClass)
            .ivar("cellType", &PSSpecifier::m_cellType)
            .ivar("editPaneClass", &PSSpecifier::m_editPaneClass)
            .classMethod("preferenceSpecifierNamed:target:set:get:detail:cell:edit:",
                         imp::preferenceSpecifierNamed)
            .classMethod("emptyGroupSpecifier", imp::emptyGroupSpecifier)
            .classMethod("groupSpecifierWithName:", imp::groupSpecifierWithName)
            .method("name", imp::name)
            .method("setName:", imp::setName)
            .property<&PSSpecifier::m_target>("target")
            .property<&PSSpecifier::m_detailControllerClass>("detailControllerClass")
            .property<&PSSpecifier::m_editPaneClass>("editPaneClass")
            .property<&PSSpecifier::m_cellType>("cellType")
            .method("propertyForKey:", imp::propertyForKey)
            .method("setProperty:forKey:", imp::setPropertyForKey)
            .method("removePropertyForKey:", imp::removePropertyForKey)
            .method("properties", imp::properties)
            .method("identifier", imp::identifier)
            .method("setIdentifier:", imp::setIdentifier)
            .method("setValues:titles:shortTitles:", imp::setValuesTitlesShortTitles)
            .method("setValues:titles:", imp::setValuesTitles)
            .method("values", imp::values)
            .getter<&PSSpecifier::m_titleDictionary>("titleDictionary")
            .getter<&PSSpecifier::m_shortTitleDictionary>("shortTitleDictionary")
            .method("setupIconImageWithPath:", imp::setupIconImageWithPath)
            .registerClass();
    return cls;
}

NSString *PSSpecifier::identifier() const
{
    id identifier = propertyForKey("id"_ns);
    if (identifier && msg<BOOL>(identifier, "isKindOfClass:"_sel, NSString::class_()))
        return static_cast<NSString *>(identifier);
    return m_name;
}

id PSSpecifier::propertyForKey(NSString *key) const
{
    return m_properties && key ? m_properties->objectForKey(key) : nil;
}

// A nil value removes the property.
void PSSpecifier::setPropertyForKey(id value, NSString *key)
{
    if (!key)
        return;
    if (!value) {
        if (m_properties)
            m_properties->removeObjectForKey(key);
        return;
    }
    if (!m_properties)
        m_properties = NSMutableDictionary::dictionary();
    m_properties->setObjectForKey(value, key);
}
