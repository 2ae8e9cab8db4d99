#pragma once
// The system's edge gestures: a finger that comes in from the top edge pulls down
// Notification Center, one from the bottom edge pulls up Control Center.
//
// Both are `SBOffscreenSwipeGestureRecognizer`s, which start only for a first touch that
// comes from their edge in their `requiredDirectionality` (1 down from the top edge,
// 2 up from the bottom edge) and then follow the finger. Up to iOS 8 SpringBoard hands
// them to the display itself (addSystemGestureRecognizer); on iOS 9 the display's
// gestures belong to FrontBoard's `FBSystemGestureManager`, which keeps one manager per
// display (`_displayToManagerMap`, keyed by `UIScreen`'s `fbsDisplay`) holding its
// recognisers: a recogniser removed from it no longer hears the display's edges.

#include "uikit/UIGestureRecognizer.h"

struct SBOffscreenSwipeGestureRecognizer : UIGestureRecognizer {
    NSInteger m_requiredDirectionality = 0;

    static Class class_();
    // A new recogniser for that directionality, sending `action` to `target`.
    static StrongRef<SBOffscreenSwipeGestureRecognizer> create(NSInteger directionality, id target,
                                                               SEL action);
};

// A display as FrontBoard names it; the main screen has one for the life of SpringBoard.
struct FBSDisplay : NSObject {
    static Class class_();
};

// The recognisers of one display.
struct FBSystemGestureDisplayManager : NSObject {
    std::vector<StrongRef<UIGestureRecognizer>> m_recognizers;

    static Class class_();
};

struct FBSystemGestureManager : NSObject {
    StrongRef<NSObject> m_displayToManagerMap; // NSMutableDictionary

    static Class class_();
};

namespace sim {

inline constexpr NSInteger kSwipeDown = 1; // from the top edge
inline constexpr NSInteger kSwipeUp = 2;   // from the bottom edge

void registerSystemGestureClasses();

// Up to iOS 8: the display hears this recogniser's edge from now on (and no longer after
// removeSystemGestureRecognizer). On iOS 9 SpringBoard adds its recognisers to
// FBSystemGestureManager instead.
void addSystemGestureRecognizer(UIGestureRecognizer *recognizer);
void removeSystemGestureRecognizer(UIGestureRecognizer *recognizer);
// How SpringBoard hands one of its own edge recognisers to the display: up to iOS 8 with
// addSystemGestureRecognizer, on iOS 9 by message to FrontBoard's manager for the main
// screen's display, so that whoever replaced that method sees it.
void addEdgeGestureRecognizer(UIGestureRecognizer *recognizer);
// Whether the main display hears the recogniser's edge now.
bool displayHearsGestureRecognizer(UIGestureRecognizer *recognizer);
// Forgets every recogniser and display, when SpringBoard ends.
void resetSystemGestures();

// A finger comes in from the edge of `directionality` and travels `distance` points
// across the screen, in steps of a sixtieth of a second, then lifts. Every recogniser the
// display hears for that edge is offered the first touch (firstTouchQualifies:, then
// whether it may begin); the first that takes it follows the finger. False when none did.
bool swipeFromEdge(NSInteger directionality, CGFloat distance);

} // namespace sim
