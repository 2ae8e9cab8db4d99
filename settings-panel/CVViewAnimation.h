#pragma once
// The panel's one way to animate views: +animateWithDuration:delay:options:animations:
// completion: of UIView, with blocks as std::function.

#include "uikit/UIView.h"

#include <functional>

inline void CVAnimate(NSTimeInterval duration, NSTimeInterval delay, UIViewAnimationOptions options,
                      std::function<void()> animations, std::function<void(BOOL)> completion = {})
{
    if (!completion)
        completion = [](BOOL) {};
    msg<void, NSTimeInterval, NSTimeInterval, UIViewAnimationOptions, std::function<void()>,
        std::function<void(BOOL)>>(UIView::class_(),
                                   "animateWithDuration:delay:options:animations:completion:"_sel,
                                   duration, delay, options, animations, completion);
}
