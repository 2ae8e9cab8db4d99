#include "uikit/UIScrollView.h"

#include "foundation/Clock.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStepInterval = 1.0 / 60;
constexpr double kAnimatedScrollDuration = 0.3;
constexpr double kPageSettleDuration = 0.3;
constexpr double kBounceBackDuration = 0.3;
// The platform's normal deceleration: the velocity keeps this share per millisecond.
constexpr double kDecelerationRate = 0.998;
// Below this speed (points per millisecond) deceleration is over.
constexpr double kRestingVelocity = 0.05;
// A release at least this fast (points per millisecond) turns a paging view's page.
constexpr double kPageFlickVelocity = 0.3;
// How hard the content resists being pulled past an edge.
constexpr double kRubberBandCoefficient = 0.55;

bool differs(CGPoint a, CGPoint b)
{
    return std::abs(a.x - b.x) > 0.5 || std::abs(a.y - b.y) > 0.5;
}

void setOffset(UIScrollView *view, CGPoint offset)
{
    msg<void, CGPoint>(view, "setContentOffset:"_sel, offset);
}

void tellDelegate(UIScrollView *view, SEL selector)
{
    id delegate = view->m_delegate;
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, selector))
        msg<void>(delegate, selector, view);
}

// The offset a finger that moved `pull` points past an edge shows: ever slower, never
// more than a screen away.
CGFloat rubberBanded(CGFloat pull, CGFloat dimension)
{
    if (dimension <= 0)
        return 0;
    return (1 - 1 / (pull * kRubberBandCoefficient / dimension + 1)) * dimension;
}

CGFloat followFinger(CGFloat raw, CGFloat minimum, CGFloat maximum, CGFloat dimension, bool bounces)
{
    if (raw < minimum)
        return bounces ? minimum - rubberBanded(minimum - raw, dimension) : minimum;
    if (raw > maximum)
        return bounces ? maximum + rubberBanded(raw - maximum, dimension) : maximum;
    return raw;
}

CGFloat pageTarget(CGFloat offset, CGFloat velocity, CGFloat minimum, CGFloat maximum, CGFloat page)
{
    if (page <= 0)
        return std::clamp(offset, minimum, maximum);
    double position = (offset - minimum) / page;
    double index = std::round(position);
    if (velocity >= kPageFlickVelocity)
        index = std::ceil(position);
    else if (velocity <= -kPageFlickVelocity)
        index = std::floor(position);
    return std::clamp(minimum + index * page, minimum, maximum);
}

CGFloat coastTarget(CGFloat offset, CGFloat velocity, CGFloat minimum, CGFloat maximum)
{
    if (offset < minimum || offset > maximum)
        return std::clamp(offset, minimum, maximum);
    return std::clamp(offset + velocity * kDecelerationRate / (1 - kDecelerationRate), minimum,
                      maximum);
}

// How long the content takes to come to rest from `velocity` (points per millisecond).
double coastDuration(double velocity)
{
    double speed = std::abs(velocity);
    if (speed <= kRestingVelocity)
        return kBounceBackDuration;
    double milliseconds = std::log(kRestingVelocity / speed) / std::log(kDecelerationRate);
    return std::max(kBounceBackDuration, milliseconds / 1000);
}

// Ease-out: the content leaves fast and settles softly, as decelerating content does.
double easeOut(double fraction)
{
    double remaining = 1 - std::clamp(fraction, 0.0, 1.0);
    return 1 - remaining * remaining * remaining;
}

namespace imp {

CGPoint contentOffset(UIScrollView *self, SEL)
{
    return self->contentOffset();
}

void setContentOffset(UIScrollView *self, SEL, CGPoint offset)
{
    CGRect bounds = self->bounds();
    bounds.origin = offset;
    msg<void, CGRect>(self, "setBounds:"_sel, bounds);
}

void setContentOffsetAnimated(UIScrollView *self, SEL, CGPoint offset, BOOL animated)
{
    if (self->m_motion == UIScrollView::Motion::Animating)
        self->stopMotion();
    if (!animated)
        return setOffset(self, offset);
    if (differs(offset, self->contentOffset()))
        self->startMotion(UIScrollView::Motion::Animating, offset, kAnimatedScrollDuration);
}

void setBounds(UIScrollView *self, SEL _cmd, CGRect bounds)
{
    CGPoint before = self->contentOffset();
    msgSuper<void, CGRect>(UIScrollView::class_(), self, _cmd, bounds);
    if (!CGPointEqualToPoint(before, self->contentOffset()))
        msg<void>(self, "_notifyDidScroll"_sel);
}

void notifyDidScroll(UIScrollView *self, SEL)
{
    tellDelegate(self, "scrollViewDidScroll:"_sel);
}

#define CV_SCROLL_FLAG(getter, setter, member)                                                     \
    BOOL getter(UIScrollView *self, SEL)                                                           \
    {                                                                                              \
        return self->member;                                                                       \
    }                                                                                              \
    void setter(UIScrollView *self, SEL, BOOL value)                                               \
    {                                                                                              \
        self->member = value;                                                                      \
    }
CV_SCROLL_FLAG(isPagingEnabled, setPagingEnabled, m_pagingEnabled)
CV_SCROLL_FLAG(bounces, setBounces, m_bounces)
CV_SCROLL_FLAG(isScrollEnabled, setScrollEnabled, m_scrollEnabled)
#undef CV_SCROLL_FLAG

BOOL isDecelerating(UIScrollView *self, SEL)
{
    return self->m_motion == UIScrollView::Motion::Decelerating;
}

id delegate(UIScrollView *self, SEL)
{
    return self->m_delegate;
}

void setDelegate(UIScrollView *self, SEL, id delegate)
{
    self->m_delegate = delegate;
}

} // namespace imp

const Class kRegistered = UIScrollView::class_();

} // namespace

Class UIScrollView::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UIScrollView>("UIScrollView", "UIView")
            .method("contentOffset", imp::contentOffset)
            .method("setContentOffset:", imp::setContentOffset)
            .method("setContentOffset:animated:", imp::setContentOffsetAnimated)
            .method("setBounds:", imp::setBounds)
            .method("_notifyDidScroll", imp::notifyDidScroll)
            .property<&UIScrollView::m_contentSize>("contentSize")
            .property<&UIScrollView::m_contentInset>("contentInset")
            .method("isPagingEnabled", imp::isPagingEnabled)
            .method("setPagingEnabled:", imp::setPagingEnabled)
            .method("bounces", imp::bounces)
            .method("setBounces:", imp::setBounces)
            .method("isScrollEnabled", imp::isScrollEnabled)
            .method("setScrollEnabled:", imp::setScrollEnabled)
            .getter<&UIScrollView::m_tracking>("isTracking")
            .getter<&UIScrollView::m_dragging>("isDragging")
            .method("isDecelerating", imp::isDecelerating)
            .method("delegate", imp::delegate)
            .method("setDelegate:", imp::setDelegate)
            .registerClass();
    }();
    return cls;
}

UIScrollView::~UIScrollView()
{
    stopMotion();
}

CGPoint UIScrollView::minimumContentOffset() const
{
    return {-m_contentInset.left, -m_contentInset.top};
}

CGPoint UIScrollView::maximumContentOffset() const
{
    CGPoint minimum = minimumContentOffset();
    CGSize size = bounds().size;
    return {std::max(minimum.x, m_contentSize.width + m_contentInset.right - size.width),
            std::max(minimum.y, m_contentSize.height + m_contentInset.bottom - size.height)};
}

void UIScrollView::touchBegan(CGPoint location, double time)
{
    if (m_motion == Motion::Decelerating)
        stopMotion(); // a finger on moving content catches it
    m_tracking = true;
    m_touchStart = location;
    m_offsetAtTouchStart = contentOffset();
    m_previousTouch = m_lastTouch = {location, time};
}

void UIScrollView::touchMoved(CGPoint location, double time)
{
    if (!m_tracking || !m_scrollEnabled)
        return;
    m_previousTouch = m_lastTouch;
    m_lastTouch = {location, time};
    if (!m_dragging) {
        m_dragging = true;
        tellDelegate(this, "scrollViewWillBeginDragging:"_sel);
    }
    CGPoint minimum = minimumContentOffset();
    CGPoint maximum = maximumContentOffset();
    CGSize size = bounds().size;
    CGPoint raw = {m_offsetAtTouchStart.x - (location.x - m_touchStart.x),
                   m_offsetAtTouchStart.y - (location.y - m_touchStart.y)};
    CGPoint offset = contentOffset();
    if (maximum.x > minimum.x || m_pagingEnabled)
        offset.x = followFinger(raw.x, minimum.x, maximum.x, size.width, m_bounces);
    if (maximum.y > minimum.y)
        offset.y = followFinger(raw.y, minimum.y, maximum.y, size.height, m_bounces);
    setOffset(this, offset);
}

void UIScrollView::touchEnded(CGPoint location, double time)
{
    if (!m_tracking)
        return;
    if (differs(location, m_lastTouch.location))
        touchMoved(location, time);
    m_tracking = false;
    if (!m_dragging)
        return;
    double elapsed = (m_lastTouch.time - m_previousTouch.time) * 1000;
    CGPoint velocity = CGPointZero; // of the offset, in points per millisecond
    if (elapsed > 0)
        velocity = {-(m_lastTouch.location.x - m_previousTouch.location.x) / elapsed,
                    -(m_lastTouch.location.y - m_previousTouch.location.y) / elapsed};

    CGPoint offset = contentOffset();
    CGPoint minimum = minimumContentOffset();
    CGPoint maximum = maximumContentOffset();
    CGSize page = bounds().size;
    CGPoint target =
        m_pagingEnabled
            ? CGPoint{pageTarget(offset.x, velocity.x, minimum.x, maximum.x, page.width),
                      pageTarget(offset.y, velocity.y, minimum.y, maximum.y, page.height)}
            : CGPoint{coastTarget(offset.x, velocity.x, minimum.x, maximum.x),
                      coastTarget(offset.y, velocity.y, minimum.y, maximum.y)};
    SEL willEnd = "scrollViewWillEndDragging:withVelocity:targetContentOffset:"_sel;
    if (m_delegate && msg<BOOL>(m_delegate, "respondsToSelector:"_sel, willEnd))
        msg<void, UIScrollView *, CGPoint, CGPoint *>(m_delegate, willEnd, this, velocity, &target);

    bool decelerate = differs(target, offset);
    SEL didEnd = "scrollViewDidEndDragging:willDecelerate:"_sel;
    if (m_delegate && msg<BOOL>(m_delegate, "respondsToSelector:"_sel, didEnd))
        msg<void, UIScrollView *, BOOL>(m_delegate, didEnd, this, decelerate);
    m_dragging = false;
    if (!decelerate)
        return;
    tellDelegate(this, "scrollViewWillBeginDecelerating:"_sel);
    double duration =
        m_pagingEnabled ? kPageSettleDuration : coastDuration(std::hypot(velocity.x, velocity.y));
    startMotion(Motion::Decelerating, target, duration);
}

void UIScrollView::startMotion(Motion motion, CGPoint target, double duration)
{
    stopMotion();
    m_motion = motion;
    m_motionFrom = contentOffset();
    m_motionTo = target;
    m_motionStart = sim::now();
    m_motionDuration = duration;
    StrongRef<UIScrollView> self(this); // moving content stays alive until it rests
    m_stepTimer =
        sim::RunLoop::main().addTimer(m_motionStart + kStepInterval, kStepInterval, [self] {
            StrongRef<UIScrollView> keep = self;
            keep->step();
        });
}

void UIScrollView::stopMotion()
{
    if (m_stepTimer)
        sim::RunLoop::main().removeSource(m_stepTimer);
    m_stepTimer = 0;
    m_motion = Motion::None;
}

void UIScrollView::step()
{
    double fraction = m_motionDuration > 0 ? (sim::now() - m_motionStart) / m_motionDuration : 1;
    if (fraction < 1) {
        double progress = easeOut(fraction);
        setOffset(this, {m_motionFrom.x + (m_motionTo.x - m_motionFrom.x) * progress,
                         m_motionFrom.y + (m_motionTo.y - m_motionFrom.y) * progress});
        return;
    }
    Motion finished = m_motion;
    stopMotion();
    setOffset(this, m_motionTo);
    if (finished == Motion::Decelerating)
        tellDelegate(this, "scrollViewDidEndDecelerating:"_sel);
    else
        tellDelegate(this, "scrollViewDidEndScrollingAnimation:"_sel);
}

namespace sim {

void dragScrollViewBegan(UIScrollView *scrollView, CGPoint location, double time)
{
    if (scrollView)
        scrollView->touchBegan(location, time);
}

void dragScrollViewMoved(UIScrollView *scrollView, CGPoint location, double time)
{
    if (scrollView)
        scrollView->touchMoved(location, time);
}

void dragScrollViewEnded(UIScrollView *scrollView, CGPoint location, double time)
{
    if (scrollView)
        scrollView->touchEnded(location, time);
}

} // namespace sim
