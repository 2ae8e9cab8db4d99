#include "preferences/PSSwitchTableCell.h"

#include "preferences/PreferenceValues.h"
#include "uikit/UISwitch.h"

namespace {
namespace imp {

id initWithStyleReuseIdentifierSpecifier(PSSwitchTableCell *self, SEL _cmd,
                                         UITableViewCellStyle style, NSString *reuseIdentifier,
                                         PSSpecifier *specifier)
{
    msgSuper<id, UITableViewCellStyle, NSString *, PSSpecifier *>(
        PSSwitchTableCell::class_(), self, _cmd, style, reuseIdentifier, specifier);
    auto *control = static_cast<UISwitch *>(msg<id, CGRect>(
        msg<id>(UISwitch::class_(), "alloc"_sel), "initWithFrame:"_sel, CGRectZero));
    self->m_control = StrongRef<UIControl>::adopt(control);
    msg<void, id, SEL, UIControlEvents>(control, "addTarget:action:forControlEvents:"_sel, self,
                                        "controlChanged:"_sel, UIControlEventValueChanged);
    msg<void, UIView *>(self, "setAccessoryView:"_sel, control);
    return self;
}

void setValue(PSSwitchTableCell *self, SEL _cmd, id value)
{
    msgSuper<void, id>(PSSwitchTableCell::class_(), self, _cmd, value);
    msg<void, BOOL>(self->m_control, "setOn:"_sel, sim::numberFromValue(value).value_or(0) != 0);
}

id controlValue(PSSwitchTableCell *self, SEL)
{
    return NSNumber::numberWithBool(static_cast<UISwitch *>(self->m_control.get())->m_on);
}

} // namespace imp

const Class kRegistered = PSSwitchTableCell::class_();

} // namespace

Class PSSwitchTableCell::class_()
{
    static const Class cls = [] {
        PSControlTableCell::class_();
        return ClassBuilder<PSSwitchTableCell>("PSSwitchTableCell", "PSControlTableCell")
            .method("initWithStyle:reuseIdentifier:specifier:",
                    imp::initWithStyleReuseIdentifierSpecifier)
            .method("setValue:", imp::setValue)
            .method("controlValue", imp::controlValue)
            .registerClass();
    }();
    return cls;
}
