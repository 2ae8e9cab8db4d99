#pragma once
// Controls: views that turn touches into actions. A target registers an action for a set
// of control events (addTarget:action:forControlEvents:); when the control sends those
// events (sendActionsForControlEvents:), each matching action is sent through
// sendAction:to:forEvent:, in the order the targets were added. An action takes the
// sender, the sender and the event, or nothing, as the selector's shape says:
//
//     void valueChanged(id target, SEL _cmd, id sender);
//
// A nil target sends the action to the first responder up the view chain that answers it.
// Targets are not retained.
//
// Touches on a control are tracked through overridable messages, as on the phone:
// touchesBegan:withEvent: sends beginTrackingWithTouch:withEvent: (and TouchDown),
// touchesMoved: continueTrackingWithTouch:withEvent: (and TouchDragInside/Outside),
// touchesEnded: endTrackingWithTouch:withEvent: (and TouchUpInside/Outside),
// touchesCancelled: cancelTrackingWithEvent: (and TouchCancel). A disabled control
// ignores touches.

#include "uikit/UIEvent.h"
#include "uikit/UITouch.h"
#include "uikit/UIView.h"

#include <vector>

using UIControlEvents = NSUInteger;
inline constexpr UIControlEvents UIControlEventTouchDown = 1 << 0;
inline constexpr UIControlEvents UIControlEventTouchDownRepeat = 1 << 1;
inline constexpr UIControlEvents UIControlEventTouchDragInside = 1 << 2;
inline constexpr UIControlEvents UIControlEventTouchDragOutside = 1 << 3;
inline constexpr UIControlEvents UIControlEventTouchDragEnter = 1 << 4;
inline constexpr UIControlEvents UIControlEventTouchDragExit = 1 << 5;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1 << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1 << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;
inline constexpr UIControlEvents UIControlEventEditingDidBegin = 1 << 16;
inline constexpr UIControlEvents UIControlEventEditingChanged = 1 << 17;
inline constexpr UIControlEvents UIControlEventEditingDidEnd = 1 << 18;
inline constexpr UIControlEvents UIControlEventEditingDidEndOnExit = 1 << 19;
inline constexpr UIControlEvents UIControlEventAllTouchEvents = 0x00000fff;
inline constexpr UIControlEvents UIControlEventAllEditingEvents = 0x000f0000;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xffffffff;

struct UIControl : UIView {
    struct Target {
        id target; // not retained
        SEL action;
        UIControlEvents events;
    };
    std::vector<Target> m_targets;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_tracking = false;
    bool m_touchInside = false;

    static Class class_();

    // Sends the actions registered for any of `events`, with `event` (may be nil).
    void sendActionsForEvents(UIControlEvents events, UIEvent *event);
};
