#pragma once
// What the lock animation tests share: a small phone of the generation a test asks for,
// the virtual clock, a watchdog, and ways to find the overlay that an animation shows.

#include "effects/CVLockAnimator.h"
#include "uikit/tests/UIKitTest.h"

#include <vector>

// A phone of 40 × 60 points at one pixel a point, so that frames render quickly.
inline void useLockTestPhone(double coreFoundationVersion, int orientation = 1)
{
    sim::DeviceProfile profile;
    profile.screenWidth = 40;
    profile.screenHeight = 60;
    profile.screenScale = 1;
    profile.coreFoundationVersion = coreFoundationVersion;
    profile.orientation = orientation;
    sim::DeviceProfile::setCurrent(profile);
}

// The overlay windows alive at the lock animations' level, shown or not.
inline std::vector<UIWindow *> overlayWindows()
{
    std::vector<UIWindow *> overlays;
    for (UIWindow *window : sim::allWindows())
        if (window->m_windowLevel == CVLockAnimationWindowLevel)
            overlays.push_back(window);
    return overlays;
}

inline std::vector<UIWindow *> visibleOverlays()
{
    std::vector<UIWindow *> visible;
    for (UIWindow *window : overlayWindows())
        if (!window->isHidden())
            visible.push_back(window);
    return visible;
}

inline CVLockAnimator *animator()
{
    return msg<CVLockAnimator *>(CVLockAnimator::class_(), "sharedInstance"_sel);
}

inline bool isAnimating()
{
    return msg<BOOL>(animator(), "isAnimating"_sel);
}

inline void startLockAnimation(NSUInteger type, float duration)
{
    msg<void, NSUInteger, float>(animator(), "startLockAnimation:withDuration:"_sel, type,
                                 duration);
}
