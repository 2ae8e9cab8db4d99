#pragma once
// What a switcher page or card shows: a snapshot of the screen it stands for. An
// application's snapshot view holds the application's screen in its `_containerView`,
// as the snapshot views of the phone do (the view itself stays plain, so that filters
// and dimming act on the whole picture); the class method that makes one is the place
// where SpringBoard turns an application into its page. The home screen's page is a
// picture of the home screen over the wallpaper, made apart from these.
//
// iOS 7 makes slider snapshots from the application; iOS 8 and 9 make switcher
// snapshots from a display item.

#include "springboard/switcher/SwitcherItems.h"
#include "uikit/UIView.h"

struct SBAppSliderSnapshotView : UIView {
    StrongRef<UIView> m_containerView;
    StrongRef<NSString> m_displayIdentifier;

    static Class class_();
};

struct SBAppSwitcherSnapshotView : UIView {
    StrongRef<UIView> m_containerView;
    StrongRef<NSString> m_displayIdentifier;

    static Class class_();
};

namespace sim {

// The snapshot of an application's screen as the running generation makes it, through
// its class method (so a replacement of that method decides what shows); autoreleased.
UIView *applicationSnapshotView(SBApplication *application);
// A picture of the home screen over the wallpaper, full screen; autoreleased.
UIView *homeScreenSnapshotView();

void registerSwitcherSnapshotClasses();

} // namespace sim
