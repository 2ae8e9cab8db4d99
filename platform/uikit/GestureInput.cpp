#include "uikit/GestureInput.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIEvent.h"
#include "uikit/UIPinchGestureRecognizer.h"
#include "uikit/UITableView.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITextField.h"
#include "uikit/UITouch.h"

#include <cmath>

namespace sim {
namespace {

// The first recognizer of `cls` that may begin, from `view` up through its ancestors.
UIGestureRecognizer *recognizerFor(UIView *view, Class cls)
{
    for (; view; view = view->m_superview) {
        if (!view->m_gestureRecognizers)
            continue;
        for (id candidate : *view->m_gestureRecognizers) {
            auto *recognizer = static_cast<UIGestureRecognizer *>(candidate);
            if (msg<BOOL>(recognizer, "isKindOfClass:"_sel, cls) && recognizer->shouldBegin())
                return recognizer;
        }
    }
    return nil;
}

// A tap at `point` of `root` on `hit`: recognised by the nearest tap recognizer.
bool recognizeTap(UIView *root, UIView *hit, CGPoint point)
{
    UIGestureRecognizer *recognizer = recognizerFor(hit, UITapGestureRecognizer::class_());
    if (!recognizer)
        return false;
    StrongRef<UIGestureRecognizer> keep(recognizer);
    recognizer->m_location = root->convertPointToView(point, recognizer->m_view);
    recognizer->transitionTo(UIGestureRecognizerStateRecognized);
    recognizer->m_state = UIGestureRecognizerStatePossible;
    return true;
}

// The finger that is down, if any.
struct Finger {
    StrongRef<UITouch> touch;
    CGPoint start = CGPointZero;
    bool movedAway = false; // beyond kTapSlop from where it came down
    bool dragging = false;  // the main loop serves the tracking mode meanwhile
};
Finger g_finger;

// A dragging finger puts the main loop in "UITrackingRunLoopMode", as the application
// does on the phone: timers of the default mode alone wait until the finger lifts.
void beginDragging()
{
    if (g_finger.dragging)
        return;
    g_finger.dragging = true;
    RunLoop::main().pushMode(kTrackingMode);
}

void liftFinger()
{
    if (g_finger.dragging)
        RunLoop::main().popMode();
    g_finger = {};
}

// A finger that stays this close to where it came down is tapping.
constexpr CGFloat kTapSlop = 10;

// Moves the finger to `point` in `phase` and sends the touch to its view with `selector`.
void sendTouch(CGPoint point, UITouchPhase phase, SEL selector)
{
    StrongRef<UITouch> touch = g_finger.touch;
    touch->m_previousLocation = touch->m_location;
    touch->m_location = point;
    touch->m_phase = phase;
    touch->m_timestamp = now();
    if (std::hypot(point.x - g_finger.start.x, point.y - g_finger.start.y) > kTapSlop)
        g_finger.movedAway = true;
    auto *event = sim::create<UIEvent>(UIEvent::class_());
    event->m_touches = NSSet::setWithObject(touch);
    event->m_timestamp = touch->m_timestamp;
    StrongRef<UIEvent> keep = StrongRef<UIEvent>::adopt(event);
    msg<void, NSSet *, UIEvent *>(touch->m_view, selector, event->m_touches, event);
}

} // namespace

bool tapAt(UIView *root, CGPoint point)
{
    if (!root)
        return false;
    auto *hit = msg<UIView *, CGPoint, id>(root, "hitTest:withEvent:"_sel, point, nil);
    return recognizeTap(root, hit, point);
}

bool touchDown(UIView *root, CGPoint point)
{
    if (g_finger.touch) {
        sendTouch(g_finger.touch->m_location, UITouchPhaseCancelled,
                  "touchesCancelled:withEvent:"_sel);
        liftFinger();
    }
    if (!root)
        return false;
    auto *hit = msg<UIView *, CGPoint, id>(root, "hitTest:withEvent:"_sel, point, nil);
    if (!hit)
        return false;
    auto *touch = sim::create<UITouch>(UITouch::class_());
    touch->m_root = root;
    touch->m_view = hit;
    touch->m_location = point;
    g_finger = {StrongRef<UITouch>::adopt(touch), point, false};
    sendTouch(point, UITouchPhaseBegan, "touchesBegan:withEvent:"_sel);
    return true;
}

void touchMove(CGPoint point)
{
    if (!g_finger.touch)
        return;
    beginDragging();
    sendTouch(point, UITouchPhaseMoved, "touchesMoved:withEvent:"_sel);
}

// A tap recognizer that recognises the finger's tap takes the touch from the view, which
// hears touchesCancelled:withEvent: instead of touchesEnded:withEvent:, as on the platform.
void touchUp(CGPoint point)
{
    if (!g_finger.touch)
        return;
    bool tapped = !g_finger.movedAway &&
                  std::hypot(point.x - g_finger.start.x, point.y - g_finger.start.y) <= kTapSlop &&
                  recognizeTap(g_finger.touch->m_root, g_finger.touch->m_view, point);
    if (tapped)
        sendTouch(point, UITouchPhaseCancelled, "touchesCancelled:withEvent:"_sel);
    else
        sendTouch(point, UITouchPhaseEnded, "touchesEnded:withEvent:"_sel);
    liftFinger();
}

bool tapView(UIView *view)
{
    if (!view)
        return false;
    CGRect bounds = view->bounds();
    return recognizeTap(view, view, {CGRectGetMidX(bounds), CGRectGetMidY(bounds)});
}

void selectRow(UITableView *table, NSIndexPath *path)
{
    if (table && path)
        table->selectRowByUser(path);
}

void pressBarButton(UIBarButtonItem *item)
{
    if (item)
        item->press();
}

void typeText(UITextField *field, NSString *text)
{
    if (!field)
        return;
    StrongRef<UITextField> keep(field);
    msg<void, NSString *>(field, "setText:"_sel, text);
    SEL didEnd = "textFieldDidEndEditing:"_sel;
    if (msg<BOOL, SEL>(field->m_delegate, "respondsToSelector:"_sel, didEnd))
        msg<void, UITextField *>(field->m_delegate, didEnd, field);
}

bool pinch(UIView *view, const std::vector<CGFloat> &scales, double secondsPerStep)
{
    auto *recognizer = static_cast<UIPinchGestureRecognizer *>(
        recognizerFor(view, UIPinchGestureRecognizer::class_()));
    if (!recognizer || scales.empty())
        return false;
    StrongRef<UIPinchGestureRecognizer> keep(recognizer);
    CGRect bounds = recognizer->m_view->bounds();
    recognizer->m_location = {CGRectGetMidX(bounds), CGRectGetMidY(bounds)};
    for (std::size_t i = 0; i < scales.size(); ++i) {
        CGFloat previous = i ? scales[i - 1] : scales[0];
        recognizer->m_velocity = secondsPerStep > 0 ? (scales[i] - previous) / secondsPerStep : 0;
        recognizer->m_scale = scales[i];
        UIGestureRecognizerState state = i == 0                   ? UIGestureRecognizerStateBegan
                                         : i + 1 == scales.size() ? UIGestureRecognizerStateEnded
                                                                  : UIGestureRecognizerStateChanged;
        recognizer->transitionTo(state);
    }
    recognizer->m_state = UIGestureRecognizerStatePossible;
    return true;
}

} // namespace sim
