#pragma once
// The Clock application's live icon. Its icon is an SBClockApplicationIcon, which asks
// for its own kind of image view (`iconImageViewClassForLocation:`): an
// SBClockApplicationIconImageView, whose `contentsImage` draws the dial at the device's
// current time. The view shows that image from the moment it is made and draws it again
// at the start of every minute, so the icon on the home screen keeps time as the phone's
// does. Every other icon's image view is a plain UIImageView showing `getIconImage:`.

#include "springboard/SBIcon.h"
#include "springboard/status-bar/MinuteTicker.h"
#include "uikit/UIImageView.h"

inline constexpr const char *kClockBundleIdentifier = "com.apple.mobiletimer";

struct SBClockApplicationIcon : SBApplicationIcon {
    static Class class_();
};

struct SBClockApplicationIconImageView : UIImageView {
    sim::MinuteTicker m_minuteTicker;

    static Class class_();
};

namespace sim {
void registerClockIconClasses();
} // namespace sim
