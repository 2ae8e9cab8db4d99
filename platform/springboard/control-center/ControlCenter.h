#pragma once
// Control Center: a panel pulled up from the bottom edge over whatever is on screen, on
// a blurred backdrop. Its window holds, from the outside in:
//
//   SBControlCenterController            shared; owns the window, the edge gesture
//     _viewController                    SBControlCenterViewController
//       _containerView                   SBControlCenterContainerView (the whole screen)
//         _contentContainerView          SBControlCenterContentContainerView (the panel)
//           backdropView                 _UIBackdropView
//           _contentView                 SBControlCenterContentView
//
// The content view stacks its sections (`_allSections`, from the top: settings toggles,
// brightness, media controls, AirDrop/AirPlay, quick launch), each as tall as its
// controller's `contentSizeForOrientation:` answers (a section of size zero takes no
// room and is hidden), with a separator line below each section but the last shown
// (`_separatorAtIndex:`, nil for none). Toggles are `SBCCButtonLikeSectionView`s whose
// glyphs take their colour from `_SBUIControlCenterControlColorForState` for their state.
//
// The panel opens by the bottom edge gesture (SystemGestures.h): it follows the finger
// and, when the finger lifts, opens fully once a third of it shows, else closes again.
// `viewWillAppear:` of the controller runs as it starts to show.

#include "springboard/Backdrop.h"
#include "springboard/SystemGestures.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

struct SBCCButtonLikeSectionView : UIView {
    StrongRef<UIView> m_glyphView;
    bool m_highlighted = false;
    bool m_selected = false;

    static Class class_();
    // 0 normal, 1 highlighted, 4 selected (UIControlState).
    int controlState() const;
};

struct SBControlCenterSectionViewController : UIViewController {
    static Class class_();
};

struct SBCCSettingsSectionController : SBControlCenterSectionViewController {
    StrongRef<NSObject> m_buttonsByID; // NSDictionary: identifier → button
};

struct SBCCBrightnessSectionController : SBControlCenterSectionViewController {
    StrongRef<UIView> m_slider; // UISlider
};

struct SBCCMediaControlsSectionController : SBControlCenterSectionViewController {};

struct SBCCAirStuffSectionController : SBControlCenterSectionViewController {
    StrongRef<SBCCButtonLikeSectionView> m_airDropButton;
    StrongRef<SBCCButtonLikeSectionView> m_airPlayButton;
    StrongRef<UIView> m_separatorLine;
};

struct SBCCQuickLaunchSectionController : SBControlCenterSectionViewController {
    StrongRef<NSObject> m_buttons; // NSArray of buttons
};

struct SBControlCenterContentView : UIView {
    StrongRef<NSObject> m_allSections;    // NSArray of section controllers
    StrongRef<NSObject> m_separatorViews; // NSArray, one line below each section but the last
    CGFloat m_contentHeight = 0;

    static Class class_();
};

struct SBControlCenterContentContainerView : UIView {
    StrongRef<_UIBackdropView> m_backdropView;
    StrongRef<SBControlCenterContentView> m_contentView;

    static Class class_();
};

struct SBControlCenterContainerView : UIView {
    StrongRef<SBControlCenterContentContainerView> m_contentContainerView;
    CGFloat m_revealedFraction = 0; // of the panel's height, 0 closed … 1 open

    static Class class_();
};

struct SBControlCenterViewController : UIViewController {
    StrongRef<SBControlCenterContainerView> m_containerView;

    static Class class_();
};

struct SBControlCenterController : NSObject {
    StrongRef<SBControlCenterViewController> m_viewController;
    StrongRef<UIWindow> m_window;
    StrongRef<SBOffscreenSwipeGestureRecognizer> m_controlCenterGestureRecognizer;
    bool m_visible = false;

    static Class class_();
};

namespace sim {
void registerControlCenterClasses();
void registerControlCenterSectionClasses();
// The controller that `+sharedInstance` answers (ControlCenterHost.h makes it).
void setControlCenterController(SBControlCenterController *controller);
} // namespace sim
