#pragma once
// Small helpers for SpringBoard's code that builds views: every view is made and changed
// through messages, as SpringBoard's own code would, so that replaced setters see it.

#include "uikit/UILabel.h"
#include "uikit/UIView.h"

namespace sim {

// A new view of the class, made with initWithFrame:; the caller owns it.
template <class T = UIView> StrongRef<T> newView(Class cls, CGRect frame)
{
    id view = msg<id, CGRect>(msg<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame);
    return StrongRef<T>::adopt(static_cast<T *>(view));
}

inline void addSubview(UIView *parent, UIView *child)
{
    msg<void, UIView *>(parent, "addSubview:"_sel, child);
}

inline void setFrame(UIView *view, CGRect frame)
{
    msg<void, CGRect>(view, "setFrame:"_sel, frame);
}

inline void setHidden(UIView *view, bool hidden)
{
    msg<void, BOOL>(view, "setHidden:"_sel, hidden);
}

inline void setAlpha(UIView *view, CGFloat alpha)
{
    msg<void, CGFloat>(view, "setAlpha:"_sel, alpha);
}

// A clear, centred, single-line label in white.
StrongRef<UILabel> newLabel(CGRect frame, NSString *text, UIFont *font);

} // namespace sim
