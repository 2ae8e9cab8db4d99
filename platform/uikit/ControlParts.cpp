#include "uikit/ControlParts.h"

namespace sim {

UIView *makeFilledView(CGRect frame, UIColor *color, CGFloat cornerRadius)
{
    auto *view = static_cast<UIView *>(
        msg<id, CGRect>(msg<id>(UIView::class_(), "alloc"_sel), "initWithFrame:"_sel, frame));
    msg<void, UIColor *>(view, "setBackgroundColor:"_sel, color);
    view->layer()->setCornerRadius(cornerRadius);
    view->m_userInteractionEnabled = false;
    return autorelease(view);
}

UILabel *makeLabel(CGFloat size, UIColor *color)
{
    auto *label = static_cast<UILabel *>(
        msg<id, CGRect>(msg<id>(UILabel::class_(), "alloc"_sel), "initWithFrame:"_sel, CGRectZero));
    msg<void, UIFont *>(label, "setFont:"_sel, UIFont::systemFontOfSize(size));
    msg<void, UIColor *>(label, "setTextColor:"_sel, color);
    return autorelease(label);
}

UIColor *defaultTintColor()
{
    return UIColor::colorWithRedGreenBlueAlpha(0, 122 / 255.0, 1, 1);
}

UIColor *secondaryTextColor()
{
    return UIColor::colorWithRedGreenBlueAlpha(109 / 255.0, 109 / 255.0, 114 / 255.0, 1);
}

} // namespace sim
