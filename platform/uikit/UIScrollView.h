#pragma once
// Scroll views. The content offset is the bounds origin: moving it moves what the view
// shows, and every change of it (by setter, drag, animation or deceleration) sends
// `_notifyDidScroll` to the scroll view, whose implementation tells the delegate
// scrollViewDidScroll:. Replacing `_notifyDidScroll` therefore sees every scroll.
//
// A drag arrives as touches (sim::dragScrollView* below, positions in the scroll view's
// superview). The delegate hears, in the platform's order:
//
//     scrollViewWillBeginDragging:           at the first movement
//     scrollViewDidScroll:                   for each offset change while dragging
//     scrollViewWillEndDragging:withVelocity:targetContentOffset:   (velocity in points
//                                            per millisecond; the target may be changed)
//     scrollViewDidEndDragging:willDecelerate:
//     scrollViewWillBeginDecelerating:       when the content moves on
//     scrollViewDidScroll:                   for each step of the deceleration
//     scrollViewDidEndDecelerating:
//
// Deceleration and setContentOffset:animated: step on the process clock, sixty steps a
// second, so a virtual clock runs them deterministically; the animated setter ends with
// scrollViewDidEndScrollingAnimation:. With paging the content settles on a whole page
// (the bounds size): the next one in the direction of a flick, the nearest otherwise.
// Past the edges a bouncing scroll view follows the finger with growing resistance and
// springs back when released; one that does not bounce stops at the edge.

#include "foundation/RunLoop.h"
#include "uikit/UIGeometry.h"
#include "uikit/UIView.h"

struct UIScrollView : UIView {
    enum class Motion { None, Animating, Decelerating };

    CGSize m_contentSize = CGSizeZero;
    UIEdgeInsets m_contentInset = UIEdgeInsetsZero;
    bool m_pagingEnabled = false;
    bool m_bounces = true;
    bool m_scrollEnabled = true;
    id m_delegate = nil; // not retained, as on the platform

    bool m_tracking = false;
    bool m_dragging = false;
    CGPoint m_touchStart = CGPointZero;
    CGPoint m_offsetAtTouchStart = CGPointZero;
    struct TouchSample {
        CGPoint location;
        double time;
    };
    TouchSample m_previousTouch{};
    TouchSample m_lastTouch{};

    Motion m_motion = Motion::None;
    CGPoint m_motionFrom = CGPointZero;
    CGPoint m_motionTo = CGPointZero;
    double m_motionStart = 0;
    double m_motionDuration = 0;
    sim::RunLoop::SourceId m_stepTimer = 0;

    ~UIScrollView();

    static Class class_();

    CGPoint contentOffset() const { return bounds().origin; }
    CGPoint minimumContentOffset() const;
    CGPoint maximumContentOffset() const;

    // Touches, in the superview's coordinates, at times of the process clock.
    void touchBegan(CGPoint location, double time);
    void touchMoved(CGPoint location, double time);
    void touchEnded(CGPoint location, double time);

    // Moves the offset to `target` over `duration` seconds on the clock.
    void startMotion(Motion motion, CGPoint target, double duration);
    // Ends the motion where it is, telling nobody.
    void stopMotion();
    // One step of the motion at the present time; the last one tells the delegate.
    void step();
};

namespace sim {
// A finger on the scroll view: down, moved, lifted.
void dragScrollViewBegan(UIScrollView *scrollView, CGPoint location, double time);
void dragScrollViewMoved(UIScrollView *scrollView, CGPoint location, double time);
void dragScrollViewEnded(UIScrollView *scrollView, CGPoint location, double time);
} // namespace sim
