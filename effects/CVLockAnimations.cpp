#include "effects/CVLockAnimations.h"

#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "quartzcore/CAFilter.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"
#include "uikit/UIViewAnimationOptions.h"

namespace {

constexpr CGFloat kBlurStartAlpha = 0.1;
constexpr double kBlurRadius = 8.0;
// The black halves of the old TV stop this far short of the middle, leaving a line of
// twice the gap.
constexpr CGFloat kOldTVLineHalfHeight = 2;
constexpr NSTimeInterval kOldTVShrinkDuration = 0.1;
// The slide-away tilt: a faint perspective, a quarter turn about x (in single precision,
// as the phone passes it), a fifth of the size and pushed back by 0.6 of the height.
constexpr CGFloat kSlideAwayPerspective = -0.0001;
constexpr CGFloat kSlideAwayTurn = 1.5707964f;
constexpr CGFloat kSlideAwayScale = 0.2;
constexpr CGFloat kSlideAwayDepthPerHeight = 0.6;

// --- Building the overlay ---------------------------------------------------------------

template <class T> T *newView(Class cls, CGRect frame)
{
    return static_cast<T *>(
        msg<id, CGRect>(msg<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame));
}

// A new window over `frame` at the overlay level, not shown yet; the caller owns it.
UIWindow *newOverlayWindow(CGRect frame)
{
    UIWindow *window = newView<UIWindow>(UIWindow::class_(), frame);
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, CVLockAnimationWindowLevel);
    return window;
}

// A new view filled with a colour; the caller owns it.
UIView *newColouredView(CGRect frame, UIColor *colour)
{
    UIView *view = newView<UIView>(UIView::class_(), frame);
    msg<void>(view, "setBackgroundColor:"_sel, colour);
    return view;
}

UIColor *blackColor()
{
    return msg<UIColor *>(UIColor::class_(), "blackColor"_sel);
}

UIColor *whiteColor()
{
    return msg<UIColor *>(UIColor::class_(), "whiteColor"_sel);
}

void setUserInteraction(UIView *view, BOOL enabled)
{
    msg<void, BOOL>(view, "setUserInteractionEnabled:"_sel, enabled);
}

void blur(UIView *view)
{
    CAFilter *filter =
        msg<CAFilter *>(CAFilter::class_(), "filterWithType:"_sel, "gaussianBlur"_ns);
    msg<void>(filter, "setValue:forKey:"_sel, NSNumber::numberWithDouble(kBlurRadius),
              "inputRadius"_ns);
    CALayer *layer = msg<CALayer *>(view, "layer"_sel);
    msg<void>(layer, "setFilters:"_sel, NSArray::arrayWithObjects({filter}));
    msg<void, BOOL>(layer, "setShouldRasterize:"_sel, YES);
}

// The screen snapshot, shown in a window of its own size with the given background (nil
// for none); neither takes touches, so a touch during the animation reaches nothing.
template <class Self> void prepareSnapshotOverlay(Self *self, UIColor *background)
{
    self->m_snapshotView = msg<UIImageView *>(UIScreen::class_(), "screenSnapshotView"_sel);
    UIImageView *snapshot = self->m_snapshotView;
    self->m_window =
        StrongRef<UIWindow>::adopt(newOverlayWindow(msg<CGRect>(snapshot, "frame"_sel)));
    UIWindow *window = self->m_window;
    if (background)
        msg<void>(window, "setBackgroundColor:"_sel, background);
    msg<void>(window, "addSubview:"_sel, snapshot);
    setUserInteraction(snapshot, NO);
    setUserInteraction(window, NO);
    msg<void>(window, "makeKeyAndVisible"_sel);
}

template <class Self> void removeSnapshotOverlay(Self *self, SEL)
{
    msg<void>(self->m_snapshotView, "removeFromSuperview"_sel);
    msg<void, BOOL>(self->m_window, "setHidden:"_sel, YES);
}

void setSnapshotTransform(UIView *snapshot, const CATransform3D &transform)
{
    msg<void, CATransform3D>(msg<CALayer *>(snapshot, "layer"_sel), "setTransform:"_sel, transform);
}

// --- CVLockAnimation: every step does nothing -------------------------------------------

namespace base {

void step(id, SEL) {}

BOOL usesViewAnimation(id, SEL)
{
    return YES;
}

void animateWithDuration(id, SEL, float) {}

} // namespace base

// --- CVBlurLockAnimation ----------------------------------------------------------------

namespace blurAnimation {

using Self = CVBlurLockAnimation;

void prepare(Self *self, SEL)
{
    prepareSnapshotOverlay(self, nil);
    msg<void, CGFloat>(self->m_snapshotView, "setAlpha:"_sel, kBlurStartAlpha);
    blur(self->m_snapshotView);
}

// The blurred screen fades in over the live one.
void animate(Self *self, SEL)
{
    msg<void, CGFloat>(self->m_snapshotView, "setAlpha:"_sel, 1.0);
}

} // namespace blurAnimation

// --- CVOldTVLockAnimation ---------------------------------------------------------------

namespace oldTV {

using Self = CVOldTVLockAnimation;

CGSize windowSize(Self *self)
{
    return msg<CGRect>(self->m_window, "bounds"_sel).size;
}

void prepare(Self *self, SEL)
{
    CGRect screen = msg<CGRect>(msg<id>(UIScreen::class_(), "mainScreen"_sel), "bounds"_sel);
    self->m_window = StrongRef<UIWindow>::adopt(newOverlayWindow(screen));
    UIWindow *window = self->m_window;
    msg<void>(window, "makeKeyAndVisible"_sel);
    CGSize size = windowSize(self);
    CGFloat w = size.width, h = size.height;
    self->m_flashView =
        StrongRef<UIView>::adopt(newColouredView(msg<CGRect>(window, "bounds"_sel), whiteColor()));
    msg<void, CGFloat>(self->m_flashView, "setAlpha:"_sel, 0);
    self->m_topView = StrongRef<UIView>::adopt(newColouredView({{0, -h}, {w, h}}, blackColor()));
    self->m_bottomView = StrongRef<UIView>::adopt(newColouredView({{0, h}, {w, h}}, blackColor()));
    for (UIView *view : {self->m_flashView.get(), self->m_topView.get(), self->m_bottomView.get()})
        msg<void>(window, "addSubview:"_sel, view);
}

// The black halves close to a white line across the middle.
void animate(Self *self, SEL)
{
    CGSize size = windowSize(self);
    CGFloat w = size.width, h = size.height;
    msg<void, CGRect>(self->m_topView, "setFrame:"_sel,
                      {{0, -h / 2 - kOldTVLineHalfHeight}, {w, h}});
    msg<void, CGRect>(self->m_bottomView, "setFrame:"_sel,
                      {{0, h / 2 + kOldTVLineHalfHeight}, {w, h}});
    msg<void, CGFloat>(self->m_flashView, "setAlpha:"_sel, 1.0);
}

// The line shrinks to the centre, over black.
void finish(Self *self, SEL)
{
    CGSize size = windowSize(self);
    StrongRef<Self> keep(self);
    std::function<void()> shrink = [keep, size] {
        msg<void>(keep->m_window, "setBackgroundColor:"_sel, blackColor());
        msg<void, CGRect>(keep->m_flashView, "setFrame:"_sel,
                          {{size.width / 2, 0}, {0, size.height}});
    };
    msg<void, NSTimeInterval, NSTimeInterval, UIViewAnimationOptions, std::function<void()>,
        std::function<void(BOOL)>>(
        UIView::class_(), "animateWithDuration:delay:options:animations:completion:"_sel,
        kOldTVShrinkDuration, 0.0, UIViewAnimationOptionCurveEaseIn, shrink, [](BOOL) {});
}

void cleanup(Self *self, SEL)
{
    msg<void, BOOL>(self->m_window, "setHidden:"_sel, YES);
}

} // namespace oldTV

// --- CVZoomOutLockAnimation and CVSlideAwayLockAnimation --------------------------------

namespace zoomOut {

using Self = CVZoomOutLockAnimation;

void prepare(Self *self, SEL)
{
    prepareSnapshotOverlay(self, blackColor());
}

// The screen shrinks to nothing about its centre.
void animate(Self *self, SEL)
{
    setSnapshotTransform(self->m_snapshotView,
                         CATransform3DMakeAffineTransform(CGAffineTransformMakeScale(0, 0)));
}

} // namespace zoomOut

namespace slideAway {

using Self = CVSlideAwayLockAnimation;

void prepare(Self *self, SEL)
{
    prepareSnapshotOverlay(self, blackColor());
}

// The screen tips over backwards about its middle and recedes.
void animate(Self *self, SEL)
{
    CGFloat height = msg<CGRect>(self->m_snapshotView, "frame"_sel).size.height;
    CATransform3D t = CATransform3DIdentity;
    t.m34 = kSlideAwayPerspective;
    t = CATransform3DRotate(t, kSlideAwayTurn, 1, 0, 0);
    t = CATransform3DScale(t, kSlideAwayScale, kSlideAwayScale, 1);
    t = CATransform3DTranslate(t, 0, 0, kSlideAwayDepthPerHeight * height);
    setSnapshotTransform(self->m_snapshotView, t);
}

} // namespace slideAway

const Class kRegistered[] = {CVBlurLockAnimation::class_(), CVOldTVLockAnimation::class_(),
                             CVZoomOutLockAnimation::class_(), CVSlideAwayLockAnimation::class_()};

} // namespace

Class CVLockAnimation::class_()
{
    static const Class cls = ClassBuilder<CVLockAnimation>("CVLockAnimation", "NSObject")
                                 .method("prepare", base::step)
                                 .method("animate", base::step)
                                 .method("finish", base::step)
                                 .method("cleanup", base::step)
                                 .method("usesViewAnimation", base::usesViewAnimation)
                                 .method("animateWithDuration:", base::animateWithDuration)
                                 .registerClass();
    return cls;
}

Class CVBlurLockAnimation::class_()
{
    static const Class cls = [] {
        CVLockAnimation::class_();
        return ClassBuilder<CVBlurLockAnimation>("CVBlurLockAnimation", "CVLockAnimation")
            .ivar("_window", &CVBlurLockAnimation::m_window)
            .ivar("_snapshotView", &CVBlurLockAnimation::m_snapshotView)
            .method("prepare", blurAnimation::prepare)
            .method("animate", blurAnimation::animate)
            .method("cleanup", removeSnapshotOverlay<CVBlurLockAnimation>)
            .registerClass();
    }();
    return cls;
}

Class CVOldTVLockAnimation::class_()
{
    static const Class cls = [] {
        CVLockAnimation::class_();
        return ClassBuilder<CVOldTVLockAnimation>("CVOldTVLockAnimation", "CVLockAnimation")
            .ivar("_window", &CVOldTVLockAnimation::m_window)
            .ivar("_topView", &CVOldTVLockAnimation::m_topView)
            .ivar("_bottomView", &CVOldTVLockAnimation::m_bottomView)
            .ivar("_flashView", &CVOldTVLockAnimation::m_flashView)
            .method("prepare", oldTV::prepare)
            .method("animate", oldTV::animate)
            .method("finish", oldTV::finish)
            .method("cleanup", oldTV::cleanup)
            .registerClass();
    }();
    return cls;
}

Class CVZoomOutLockAnimation::class_()
{
    static const Class cls = [] {
        CVLockAnimation::class_();
        return ClassBuilder<CVZoomOutLockAnimation>("CVZoomOutLockAnimation", "CVLockAnimation")
            .ivar("_window", &CVZoomOutLockAnimation::m_window)
            .ivar("_snapshotView", &CVZoomOutLockAnimation::m_snapshotView)
            .method("prepare", zoomOut::prepare)
            .method("animate", zoomOut::animate)
            .method("cleanup", removeSnapshotOverlay<CVZoomOutLockAnimation>)
            .registerClass();
    }();
    return cls;
}

Class CVSlideAwayLockAnimation::class_()
{
    static const Class cls = [] {
        CVLockAnimation::class_();
        return ClassBuilder<CVSlideAwayLockAnimation>("CVSlideAwayLockAnimation", "CVLockAnimation")
            .ivar("_window", &CVSlideAwayLockAnimation::m_window)
            .ivar("_snapshotView", &CVSlideAwayLockAnimation::m_snapshotView)
            .method("prepare", slideAway::prepare)
            .method("animate", slideAway::animate)
            .method("cleanup", removeSnapshotOverlay<CVSlideAwayLockAnimation>)
            .registerClass();
    }();
    return cls;
}
