#pragma once
// A finger on the screen. One touch object follows a finger from the moment it comes
// down until it lifts: the view it came down on keeps it (and hears all of its moves)
// wherever the finger goes, as on the phone. Locations are kept in the coordinates of
// the root view the touch arrived through (a window, usually) and converted on request.

#include "uikit/UIView.h"

enum UITouchPhase : NSInteger {
    UITouchPhaseBegan,
    UITouchPhaseMoved,
    UITouchPhaseStationary,
    UITouchPhaseEnded,
    UITouchPhaseCancelled,
};

struct UITouch : NSObject {
    StrongRef<UIView> m_root; // the view whose coordinates the locations are in
    StrongRef<UIView> m_view; // the view the finger came down on
    CGPoint m_location = CGPointZero;
    CGPoint m_previousLocation = CGPointZero;
    UITouchPhase m_phase = UITouchPhaseBegan;
    NSUInteger m_tapCount = 1;
    double m_timestamp = 0; // process clock seconds

    static Class class_();

    // The location in `view`'s bounds space; nil: in the window's.
    CGPoint locationInView(UIView *view) const;
    CGPoint previousLocationInView(UIView *view) const;
};
