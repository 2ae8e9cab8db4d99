#include "preferences/PSSliderTableCell.h"

#include "preferences/PreferenceValues.h"
#include "uikit/ControlParts.h"
#include "uikit/UISlider.h"

#include <algorithm>

namespace {

constexpr CGFloat kValueLabelWidth = 50;
constexpr CGFloat kValueTextSize = 15;

UISlider *sliderOf(PSSliderTableCell *cell)
{
    return static_cast<UISlider *>(cell->m_control.get());
}

bool showsValue(PSSliderTableCell *cell)
{
    PSSpecifier *specifier = cell->m_specifier;
    return specifier &&
           sim::numberFromValue(specifier->propertyForKey("showValue"_ns)).value_or(0) != 0;
}

void showValueText(PSSliderTableCell *cell)
{
    msg<void, NSString *>(cell->m_valueLabel, "setText:"_sel,
                          NSString::stringWithFormat("%.2f", sliderOf(cell)->m_value));
}

namespace imp {

id initWithStyleReuseIdentifierSpecifier(PSSliderTableCell *self, SEL _cmd,
                                         UITableViewCellStyle style, NSString *reuseIdentifier,
                                         PSSpecifier *specifier)
{
    msgSuper<id, UITableViewCellStyle, NSString *, PSSpecifier *>(
        PSSliderTableCell::class_(), self, _cmd, style, reuseIdentifier, specifier);
    auto *slider = static_cast<UISlider *>(msg<id, CGRect>(msg<id>(UISlider::class_(), "alloc"_sel),
                                                           "initWithFrame:"_sel, CGRectZero));
    self->m_control = StrongRef<UIControl>::adopt(slider);
    msg<void, id, SEL, UIControlEvents>(slider, "addTarget:action:forControlEvents:"_sel, self,
                                        "controlChanged:"_sel, UIControlEventValueChanged);
    msg<void, UIView *>(self->m_contentView, "addSubview:"_sel, slider);
    self->m_valueLabel = sim::makeLabel(kValueTextSize, sim::secondaryTextColor());
    msg<void, NSTextAlignment>(self->m_valueLabel, "setTextAlignment:"_sel, NSTextAlignmentRight);
    msg<void, UIView *>(self->m_contentView, "addSubview:"_sel, self->m_valueLabel);
    return self;
}

// The slider takes the range of the row; the name is not shown, as on the phone.
void refreshCellContentsWithSpecifier(PSSliderTableCell *self, SEL _cmd, PSSpecifier *specifier)
{
    msgSuper<void, PSSpecifier *>(PSSliderTableCell::class_(), self, _cmd, specifier);
    msg<void, NSString *>(msg<UILabel *>(self, "textLabel"_sel), "setText:"_sel, nil);
    UISlider *slider = sliderOf(self);
    float minimum =
        sim::numberFromValue(specifier ? specifier->propertyForKey("min"_ns) : nil).value_or(0);
    float maximum =
        sim::numberFromValue(specifier ? specifier->propertyForKey("max"_ns) : nil).value_or(1);
    msg<void, float>(slider, "setMinimumValue:"_sel, std::min(minimum, maximum));
    msg<void, float>(slider, "setMaximumValue:"_sel, std::max(minimum, maximum));
    msg<void, BOOL>(self->m_valueLabel, "setHidden:"_sel, !showsValue(self));
    showValueText(self);
}

void setValue(PSSliderTableCell *self, SEL _cmd, id value)
{
    msgSuper<void, id>(PSSliderTableCell::class_(), self, _cmd, value);
    UISlider *slider = sliderOf(self);
    msg<void, float>(slider, "setValue:"_sel,
                     sim::numberFromValue(value).value_or(slider->m_minimumValue));
    showValueText(self);
}

id controlValue(PSSliderTableCell *self, SEL)
{
    showValueText(self);
    return NSNumber::numberWithFloat(sliderOf(self)->m_value);
}

void layoutSubviews(PSSliderTableCell *self, SEL _cmd)
{
    msgSuper<void>(PSSliderTableCell::class_(), self, _cmd);
    CGRect content = self->m_contentView->bounds();
    CGFloat inset = UITableViewCell::kLeadingInset;
    CGFloat labelWidth = showsValue(self) ? kValueLabelWidth : 0;
    CGFloat sliderWidth = std::max<CGFloat>(0, content.size.width - 2 * inset - labelWidth);
    msg<void, CGRect>(self->m_control, "setFrame:"_sel,
                      CGRect{inset, 0, sliderWidth, content.size.height});
    msg<void, CGRect>(self->m_valueLabel, "setFrame:"_sel,
                      CGRect{inset + sliderWidth, 0, labelWidth, content.size.height});
}

} // namespace imp

const Class kRegistered = PSSliderTableCell::class_();

} // namespace

Class PSSliderTableCell::class_()
{
    static const Class cls = [] {
        PSControlTableCell::class_();
        return ClassBuilder<PSSliderTableCell>("PSSliderTableCell", "PSControlTableCell")
            .method("initWithStyle:reuseIdentifier:specifier:",
                    imp::initWithStyleReuseIdentifierSpecifier)
            .method("refreshCellContentsWithSpecifier:", imp::refreshCellContentsWithSpecifier)
            .method("setValue:", imp::setValue)
            .method("controlValue", imp::controlValue)
            .method("layoutSubviews", imp::layoutSubviews)
            .registerClass();
    }();
    return cls;
}
