#include "springboard/CrossfadeViews.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/backlight/Backlight.h"
#include "uikit/ViewAnimation.h"

namespace {

// Where `view` lies in `container`'s space.
CGRect frameIn(UIView *container, UIView *view)
{
    CGRect bounds = view->bounds();
    CGPoint topLeft = view->convertPointToView(bounds.origin, container);
    return {topLeft, bounds.size};
}

StrongRef<UIView> pictureOf(UIView *view)
{
    return StrongRef<UIView>(msg<UIView *, BOOL>(view, "snapshotViewAfterScreenUpdates:"_sel, YES));
}

namespace imp {

id initWithStartViewEndView(SBZoomableCrossfadeView *self, SEL, UIView *start, UIView *end)
{
    if (!msg<id, CGRect>(self, "initWithFrame:"_sel, CGRectZero))
        return nil;
    self->m_startView = start;
    self->m_endView = end;
    self->m_startPicture = pictureOf(start);
    self->m_endPicture = pictureOf(end);
    sim::addSubview(self, self->m_startPicture);
    sim::addSubview(self, self->m_endPicture);
    return self;
}

// Both pictures fill the view at every step of its growth.
void layoutSubviews(SBZoomableCrossfadeView *self, SEL)
{
    sim::setFrame(self->m_startPicture, self->bounds());
    sim::setFrame(self->m_endPicture, self->bounds());
}

// From the start view's place to the end view's, fading the one picture into the other;
// the completion hears whether the crossfade ran to its end.
void crossfadeWithCompletion(SBZoomableCrossfadeView *self, SEL,
                             std::function<void(BOOL)> completion)
{
    UIView *container = self->superview();
    sim::setFrame(self, frameIn(container, self->m_startView));
    sim::setAlpha(self->m_endPicture, 0);
    msg<void>(self, "layoutIfNeeded"_sel);
    StrongRef<SBZoomableCrossfadeView> view(self);
    CGRect target = frameIn(container, self->m_endView);
    msg<void, NSTimeInterval, NSTimeInterval, UIViewAnimationOptions, std::function<void()>,
        std::function<void(BOOL)>>(
        UIView::class_(), "animateWithDuration:delay:options:animations:completion:"_sel,
        sim::springBoardAnimationDuration(sim::kFolderCrossfadeDuration), 0,
        UIViewAnimationOptionLayoutSubviews,
        [view, target] {
            sim::setFrame(view, target);
            sim::setAlpha(view->m_startPicture, 0);
            sim::setAlpha(view->m_endPicture, 1);
        },
        std::move(completion));
}

void prepareGeometry(SBIconImageCrossfadeView *self, SEL)
{
    sim::setFrame(self, self->m_iconImageView->frame());
}

} // namespace imp

} // namespace

Class SBZoomableCrossfadeView::class_()
{
    return objc_getClass("SBZoomableCrossfadeView");
}

Class SBIconImageCrossfadeView::class_()
{
    return objc_getClass("SBIconImageCrossfadeView");
}

namespace sim {

SBZoomableCrossfadeView *createZoomableCrossfade(UIView *container, UIView *from, UIView *to)
{
    id view = msg<id>(SBZoomableCrossfadeView::class_(), "alloc"_sel);
    view = msg<id, UIView *, UIView *>(view, "initWithStartView:endView:"_sel, from, to);
    sim::addSubview(container, static_cast<UIView *>(view));
    return static_cast<SBZoomableCrossfadeView *>(view);
}

SBIconImageCrossfadeView *createIconImageCrossfade(UIView *iconView, UIView *iconImageView)
{
    StrongRef<SBIconImageCrossfadeView> crossfade =
        newView<SBIconImageCrossfadeView>(SBIconImageCrossfadeView::class_(), CGRectZero);
    crossfade->m_iconImageView = iconImageView;
    sim::addSubview(crossfade, pictureOf(iconImageView));
    sim::addSubview(iconView, crossfade);
    msg<void>(crossfade, "prepareGeometry"_sel);
    return crossfade.leak();
}

void registerCrossfadeViewClasses()
{
    HostClass<SBZoomableCrossfadeView>("SBZoomableCrossfadeView", "UIView")
        .ivar("_startView", &SBZoomableCrossfadeView::m_startView)
        .ivar("_endView", &SBZoomableCrossfadeView::m_endView)
        .method("initWithStartView:endView:", imp::initWithStartViewEndView)
        .method("layoutSubviews", imp::layoutSubviews)
        .method("crossfadeWithCompletion:", imp::crossfadeWithCompletion)
        .registerClass();
    HostClass<SBIconImageCrossfadeView>("SBIconImageCrossfadeView", "UIView")
        .method("prepareGeometry", imp::prepareGeometry)
        .registerClass();
}

} // namespace sim
