#pragma once
// The lock screen, shown in a window of its own over the home screen while the device is
// locked. Its view holds the date view (SBFLockScreenDateView.h) at the top, the top
// grabber (Notification Center) above it, the slider text near the bottom with the
// bottom grabber (Control Center) below it, the camera grabber at the bottom right, and,
// while music plays, the song's artwork in the middle (shown by the lock screen plug-in
// "NowPlayingArtLockScreen", LockScreenServices.h).
//
// The slider shows "slide to unlock" (`_defaultSlideToUnlockText`) unless someone has set
// a text of their own (`setCustomSlideToUnlockText:`, and on iOS 8 and 9 also
// `setCustomSlideToUnlockText:animated:`; nil for the default again). Each grabber and the
// slider are hidden while any requester hides them (`set…Hidden:forRequester:`). The view
// controller gives the date view the present date when it appears and whenever the minute
// changes, starts the view animating when it appears and stops it when it disappears,
// and adds the camera grabber when it loads its view (`_addCameraGrabberIfNecessary`).

#include "springboard/lock-screen/SBFLockScreenDateView.h"
#include "springboard/status-bar/MinuteTicker.h"
#include "uikit/UIImageView.h"
#include "uikit/UIViewController.h"

#include <set>
#include <string>

// Who hides one of the lock screen's parts.
struct SBLockScreenHiders {
    std::set<std::string> requesters;
};

struct SBLockScreenView : UIView {
    StrongRef<SBFLockScreenDateView> m_dateView;
    StrongRef<UILabel> m_slideToUnlockView;
    StrongRef<NSString> m_customSlideToUnlockText;
    StrongRef<UIView> m_topGrabberView;
    StrongRef<UIView> m_bottomGrabberView;
    StrongRef<UIView> m_cameraGrabberView;
    StrongRef<UIImageView> m_pluginView; // the now-playing artwork, while shown
    SBLockScreenHiders m_topGrabberHiders;
    SBLockScreenHiders m_bottomGrabberHiders;
    SBLockScreenHiders m_cameraGrabberHiders;
    SBLockScreenHiders m_slideToUnlockHiders;
    bool m_animating = false;

    static Class class_();
};

struct SBLockScreenViewController : UIViewController {
    sim::MinuteTicker m_clock;

    static Class class_();
};

namespace sim {
// The lock screen's classes: its views, its formatters and its services.
void registerLockScreenClasses();
} // namespace sim
