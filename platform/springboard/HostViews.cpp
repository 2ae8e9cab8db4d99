#include "springboard/HostViews.h"

namespace sim {

StrongRef<UILabel> newLabel(CGRect frame, NSString *text, UIFont *font)
{
    StrongRef<UILabel> label = newView<UILabel>(UILabel::class_(), frame);
    msg<void, NSString *>(label, "setText:"_sel, text);
    msg<void, UIFont *>(label, "setFont:"_sel, font);
    msg<void, UIColor *>(label, "setTextColor:"_sel, UIColor::whiteColor());
    msg<void, NSTextAlignment>(label, "setTextAlignment:"_sel, NSTextAlignmentCenter);
    return label;
}

} // namespace sim
