#pragma once
// The device's fingers: entry points that a test or the device tool calls to make
// gestures happen on the interface, as a touch screen would.

#include "quartzcore/CGGeometry.h"

#include <vector>

struct NSIndexPath;
struct NSString;
struct UIBarButtonItem;
struct UITableView;
struct UITextField;
struct UIView;

namespace sim {

// A tap at `point` in `root`'s bounds space (a window, usually). The deepest view under
// the point that accepts touches is found by hit-testing; the nearest tap recognizer on
// it or an ancestor that may begin recognises the tap. False when none did.
bool tapAt(UIView *root, CGPoint point);

// A pinch on `view` whose scale passes through `scales`, one step each `secondsPerStep`:
// began at the first scale, changed at each next, ended at the last. The nearest pinch
// recognizer on the view or an ancestor that may begin takes it. False when none did or
// there are no scales.
bool pinch(UIView *view, const std::vector<CGFloat> &scales, double secondsPerStep = 1.0 / 60);

// One finger, as touches: it comes down at `point` in `root`'s bounds space on the view
// found by hit-testing, which keeps the touch (touchesBegan:withEvent:, then
// touchesMoved: and touchesEnded: however far the finger goes). Points are in `root`'s
// bounds space. A finger that lifts without having moved beyond a few points is also a
// tap for the nearest tap recognizer, as with tapAt. touchDown answers false when no
// view is hit (nothing is sent then, and touchMove and touchUp do nothing); a touchDown
// while a finger is down lifts the old finger first (cancelled). From its first move until
// it lifts, the finger drags: the main run loop serves "UITrackingRunLoopMode" in place of
// the default mode (RunLoop::pushMode).
bool touchDown(UIView *root, CGPoint point);
void touchMove(CGPoint point);
void touchUp(CGPoint point);

// A tap in the middle of `view`: recognised by the nearest tap recognizer on the view or
// an ancestor that may begin. False when there is none.
bool tapView(UIView *view);

// A finger tap on a table's row: the delegate hears tableView:willSelectRowAtIndexPath:
// and tableView:didSelectRowAtIndexPath:, as when a finger lifts on the row.
void selectRow(UITableView *table, NSIndexPath *path);

// A press of a bar button: its action reaches its target with the item as sender.
void pressBarButton(UIBarButtonItem *item);

// Typing: the field's text becomes `text`, then its delegate hears
// textFieldDidEndEditing:, as when the keyboard is dismissed.
void typeText(UITextField *field, NSString *text);

} // namespace sim
