#include "preferences/PSEditableTableCell.h"

#include "preferences/PreferenceValues.h"

#include <algorithm>
#include <cmath>

namespace {

// The share of the row the name takes before the field begins.
constexpr CGFloat kNameShare = 0.4;

namespace imp {

id initWithStyleReuseIdentifierSpecifier(PSEditableTableCell *self, SEL _cmd,
                                         UITableViewCellStyle style, NSString *reuseIdentifier,
                                         PSSpecifier *specifier)
{
    msgSuper<id, UITableViewCellStyle, NSString *, PSSpecifier *>(
        PSEditableTableCell::class_(), self, _cmd, style, reuseIdentifier, specifier);
    self->m_textField = StrongRef<UITextField>::adopt(static_cast<UITextField *>(msg<id, CGRect>(
        msg<id>(UITextField::class_(), "alloc"_sel), "initWithFrame:"_sel, CGRectZero)));
    msg<void, id>(self->m_textField, "setDelegate:"_sel, self);
    msg<void, UIView *>(self->m_contentView, "addSubview:"_sel, self->m_textField);
    return self;
}

void refreshCellContentsWithSpecifier(PSEditableTableCell *self, SEL _cmd, PSSpecifier *specifier)
{
    msgSuper<void, PSSpecifier *>(PSEditableTableCell::class_(), self, _cmd, specifier);
    msg<void, NSString *>(
        self->m_textField, "setPlaceholder:"_sel,
        sim::textFromValue(specifier ? specifier->propertyForKey("placeholder"_ns) : nil));
}

void setValue(PSEditableTableCell *self, SEL _cmd, id value)
{
    msgSuper<void, id>(PSEditableTableCell::class_(), self, _cmd, value);
    msg<void, NSString *>(self->m_textField, "setText:"_sel, sim::textFromValue(value));
}

// Typing ends: a changed text goes to the row's setter.
void textFieldDidEndEditing(PSEditableTableCell *self, SEL, UITextField *field)
{
    auto *text = msg<NSString *>(field, "text"_sel);
    NSString *before = sim::textFromValue(self->m_value);
    if (before ? text->isEqualToString(before) : text->length() == 0)
        return;
    self->commitValue(NSString::stringWithString(text->str()));
}

void layoutSubviews(PSEditableTableCell *self, SEL _cmd)
{
    msgSuper<void>(PSEditableTableCell::class_(), self, _cmd);
    CGRect content = self->m_contentView->bounds();
    CGFloat x = std::round(content.size.width * kNameShare);
    if (self->m_textLabel) {
        CGRect label = self->m_textLabel->frame();
        msg<void, CGRect>(self->m_textLabel, "setFrame:"_sel,
                          CGRect{label.origin.x, label.origin.y,
                                 std::max<CGFloat>(0, x - label.origin.x - 8), label.size.height});
    }
    msg<void, CGRect>(
        self->m_textField, "setFrame:"_sel,
        CGRect{x, 0, std::max<CGFloat>(0, content.size.width - x - UITableViewCell::kLeadingInset),
               content.size.height});
}

} // namespace imp

const Class kRegistered = PSEditableTableCell::class_();

} // namespace

Class PSEditableTableCell::class_()
{
    static const Class cls = [] {
        PSTableCell::class_();
        return ClassBuilder<PSEditableTableCell>("PSEditableTableCell", "PSTableCell")
            .method("initWithStyle:reuseIdentifier:specifier:",
                    imp::initWithStyleReuseIdentifierSpecifier)
            .getter<&PSEditableTableCell::m_textField>("textField")
            .method("refreshCellContentsWithSpecifier:", imp::refreshCellContentsWithSpecifier)
            .method("setValue:", imp::setValue)
            .method("textFieldDidEndEditing:", imp::textFieldDidEndEditing)
            .method("layoutSubviews", imp::layoutSubviews)
            .registerClass();
    }();
    return cls;
}
