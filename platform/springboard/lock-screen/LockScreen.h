#pragma once
// The lock screen, shown in a window of its own over the home screen while the device is
// locked. Its view holds the date view (the time in large type and the date below it) at
// the top and the slider text at the bottom; the view controller gives the date view the
// present date when it appears and whenever the minute changes.
//
// The slider shows "slide to unlock" (`_defaultSlideToUnlockText`) unless someone has set
// a text of their own (setCustomSlideToUnlockText:, nil for the default again).

#include "foundation/NSDateFormatter.h"
#include "springboard/status-bar/MinuteTicker.h"
#include "uikit/UILabel.h"
#include "uikit/UIViewController.h"

struct SBFLockScreenDateView : UIView {
    StrongRef<UILabel> m_timeLabel;
    StrongRef<UILabel> m_dateLabel;
    StrongRef<NSDate> m_date;
    StrongRef<NSDateFormatter> m_timeFormatter;
    StrongRef<NSDateFormatter> m_dateFormatter;

    static Class class_();
};

struct SBLockScreenView : UIView {
    StrongRef<SBFLockScreenDateView> m_dateView;
    StrongRef<UILabel> m_slideToUnlockView;
    StrongRef<NSString> m_customSlideToUnlockText;

    static Class class_();
};

struct SBLockScreenViewController : UIViewController {
    sim::MinuteTicker m_clock;

    static Class class_();
};

namespace sim {
void registerLockScreenClasses();
} // namespace sim
