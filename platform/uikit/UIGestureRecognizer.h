#pragma once
// Gesture recognizers. A recognizer is attached to a view (addGestureRecognizer:) and,
// when touches on that view make its gesture, moves through its states and sends its
// action to each target by message: `action:` with the recognizer as argument, or
// `action` without, as the selector's shape says. Targets and the delegate are not
// retained. Touches come from the device's entry points (GestureInput.h).

#include "objc/ClassBuilder.h"
#include "quartzcore/CGGeometry.h"

#include <vector>

struct UIView;

enum UIGestureRecognizerState : NSInteger {
    UIGestureRecognizerStatePossible,
    UIGestureRecognizerStateBegan,
    UIGestureRecognizerStateChanged,
    UIGestureRecognizerStateEnded,
    UIGestureRecognizerStateCancelled,
    UIGestureRecognizerStateFailed,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

struct UIGestureRecognizer : NSObject {
    struct Target {
        id target;
        SEL action;
    };
    std::vector<Target> m_targets;
    id m_delegate = nil;
    UIView *m_view = nil; // the view holds its recognizers
    UIGestureRecognizerState m_state = UIGestureRecognizerStatePossible;
    bool m_enabled = true;
    CGPoint m_location = CGPointZero; // in the view's bounds space

    static Class class_();

    // Whether the recognizer may start now: enabled, on a view, and not refused by its
    // delegate's gestureRecognizerShouldBegin:.
    bool shouldBegin();
    // Enters `state` and sends the action to every target.
    void transitionTo(UIGestureRecognizerState state);
};
