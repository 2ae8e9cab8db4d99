#include "preferences/PSTableCell.h"

#include "preferences/PSEditableTableCell.h"
#include "preferences/PSSliderTableCell.h"
#include "preferences/PSSwitchTableCell.h"
#include "uikit/UIImage.h"

#include <array>

namespace {

// The names of the cell types, in the order of their values.
constexpr std::array<const char *, PSEditTextViewCell + 1> kTypeNames = {
    "PSGroupCell",          "PSLinkCell",    "PSLinkListCell",     "PSListItemCell",
    "PSTitleValueCell",     "PSSliderCell",  "PSSwitchCell",       "PSStaticTextCell",
    "PSEditTextCell",       "PSSegmentCell", "PSGiantIconCell",    "PSGiantCell",
    "PSSecureEditTextCell", "PSButtonCell",  "PSEditTextViewCell",
};

bool opensPage(NSInteger type)
{
    return type == PSLinkCell || type == PSLinkListCell;
}

// Rows that only show or hold a control are not selected by a tap.
bool isSelectable(NSInteger type)
{
    return opensPage(type) || type == PSListItemCell || type == PSButtonCell;
}

// Link-list rows show the short title of the value when there is one, else its title.
NSString *titleOfValue(PSSpecifier *specifier, id value)
{
    if (!specifier || !value)
        return nil;
    if (specifier->m_shortTitleDictionary)
        if (id title = specifier->m_shortTitleDictionary->objectForKey(value))
            return static_cast<NSString *>(title);
    return specifier->m_titleDictionary
               ? static_cast<NSString *>(specifier->m_titleDictionary->objectForKey(value))
               : nil;
}

namespace imp {

NSInteger cellTypeFromString(id, SEL, NSString *name)
{
    return PSTableCell::cellTypeFromString(name);
}

id initWithStyleReuseIdentifierSpecifier(PSTableCell *self, SEL, UITableViewCellStyle style,
                                         NSString *reuseIdentifier, PSSpecifier *specifier)
{
    msg<id, UITableViewCellStyle, NSString *>(self, "initWithStyle:reuseIdentifier:"_sel, style,
                                              reuseIdentifier);
    if (specifier)
        self->m_type = specifier->m_cellType;
    return self;
}

PSSpecifier *specifier(PSTableCell *self, SEL)
{
    return self->m_specifier;
}

void setSpecifier(PSTableCell *self, SEL, PSSpecifier *specifier)
{
    self->m_specifier = specifier;
    if (specifier)
        self->m_type = specifier->m_cellType;
    msg<void, PSSpecifier *>(self, "refreshCellContentsWithSpecifier:"_sel, specifier);
}

NSInteger type(PSTableCell *self, SEL)
{
    return self->m_type;
}

void refreshCellContentsWithSpecifier(PSTableCell *self, SEL, PSSpecifier *specifier)
{
    msg<void, NSString *>(msg<UILabel *>(self, "textLabel"_sel), "setText:"_sel,
                          specifier ? specifier->m_name.get() : nil);
    id icon = specifier ? specifier->propertyForKey("iconImage"_ns) : nil;
    if (icon || self->m_imageView)
        msg<void, id>(msg<UIImageView *>(self, "imageView"_sel), "setImage:"_sel, icon);
    NSInteger type = self->m_type;
    msg<void, UITableViewCellAccessoryType>(self, "setAccessoryType:"_sel,
                                            opensPage(type)
                                                ? UITableViewCellAccessoryDisclosureIndicator
                                                : UITableViewCellAccessoryNone);
    msg<void, UITableViewCellSelectionStyle>(self, "setSelectionStyle:"_sel,
                                             isSelectable(type)
                                                 ? UITableViewCellSelectionStyleDefault
                                                 : UITableViewCellSelectionStyleNone);
    msg<void>(self, "setNeedsLayout"_sel);
}

id value(PSTableCell *self, SEL)
{
    return self->m_value;
}

// A link-list row shows the title of the value, a title-value row the value itself.
void setValue(PSTableCell *self, SEL, id value)
{
    self->m_value = value;
    NSString *detail = nil;
    if (self->m_type == PSLinkListCell)
        detail = titleOfValue(self->m_specifier, value);
    else if (self->m_type == PSTitleValueCell && value)
        detail = msg<NSString *>(value, "description"_sel);
    if (UILabel *label = msg<UILabel *>(self, "detailTextLabel"_sel))
        msg<void, NSString *>(label, "setText:"_sel, detail);
    msg<void>(self, "setNeedsLayout"_sel);
}

id controlValue(PSControlTableCell *, SEL)
{
    return nil;
}

void controlChanged(PSControlTableCell *self, SEL, id)
{
    self->commitValue(msg<id>(self, "controlValue"_sel));
}

} // namespace imp

const Class kRegistered = PSControlTableCell::class_();

} // namespace

Class PSTableCell::class_()
{
    static const Class cls = [] {
        UITableViewCell::class_();
        return ClassBuilder<PSTableCell>("PSTableCell", "UITableViewCell")
            .classMethod("cellTypeFromString:", imp::cellTypeFromString)
            .method("initWithStyle:reuseIdentifier:specifier:",
                    imp::initWithStyleReuseIdentifierSpecifier)
            .method("specifier", imp::specifier)
            .method("setSpecifier:", imp::setSpecifier)
            .method("type", imp::type)
            .method("refreshCellContentsWithSpecifier:", imp::refreshCellContentsWithSpecifier)
            .method("value", imp::value)
            .method("setValue:", imp::setValue)
            .registerClass();
    }();
    return cls;
}

NSInteger PSTableCell::cellTypeFromString(NSString *name)
{
    if (name)
        for (std::size_t type = 0; type < kTypeNames.size(); ++type)
            if (name->str() == kTypeNames[type])
                return type;
    return PSLinkCell;
}

Class PSTableCell::cellClassForType(NSInteger type)
{
    switch (type) {
    case PSSwitchCell:
        return PSSwitchTableCell::class_();
    case PSSliderCell:
        return PSSliderTableCell::class_();
    case PSEditTextCell:
    case PSSecureEditTextCell:
        return PSEditableTableCell::class_();
    default:
        return class_();
    }
}

NSString *PSTableCell::reuseIdentifierForType(NSInteger type)
{
    if (type < 0 || type >= static_cast<NSInteger>(kTypeNames.size()))
        return NSString::stringWithFormat("PSCellType%ld", static_cast<long>(type));
    return NSString::stringWithUTF8String(kTypeNames[type]);
}

UITableViewCellStyle PSTableCell::cellStyleForType(NSInteger type)
{
    return type == PSLinkListCell || type == PSTitleValueCell ? UITableViewCellStyleValue1
                                                              : UITableViewCellStyleDefault;
}

void PSTableCell::commitValue(id value)
{
    StrongRef<PSTableCell> keep(this);
    m_value = value;
    PSSpecifier *specifier = m_specifier;
    if (!specifier || !specifier->m_target || !specifier->m_setter)
        return;
    msg<void, id, PSSpecifier *>(specifier->m_target, specifier->m_setter, value, specifier);
}

Class PSControlTableCell::class_()
{
    static const Class cls = [] {
        PSTableCell::class_();
        return ClassBuilder<PSControlTableCell>("PSControlTableCell", "PSTableCell")
            .property<&PSControlTableCell::m_control>("control")
            .method("controlValue", imp::controlValue)
            .method("controlChanged:", imp::controlChanged)
            .registerClass();
    }();
    return cls;
}
