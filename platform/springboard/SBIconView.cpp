#include "springboard/SBIconView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/home-screen/IconDragging.h"
#include "springboard/home-screen/JitterAnimation.h"
#include "springboard/home-screen/SBIconBadgeView.h"
#include "springboard/home-screen/SBIconModel.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UITouch.h"

namespace {

// The image format of icons on the home screen.
constexpr int kHomeScreenImageFormat = 2;
// The wiggle: a turn to each side and a small shake of the position, a few times a second.
constexpr CGFloat kJitterAngle = 0.035;
constexpr CGFloat kJitterShake = 0.6;
constexpr double kJitterPeriod = 0.26;
constexpr CGFloat kCloseBoxSide = 22;
constexpr CGFloat kUpdatedMarkSide = 8;
constexpr const char *kJitterPositionKey = "SBIconPosition";
constexpr const char *kJitterTransformKey = "SBIconTransform";

using sim::SpringBoardMetrics;

id iconController()
{
    return msg<id>(objc_getClass("SBIconController"), "sharedInstance"_sel);
}

SBApplication *applicationOf(SBIconView *self)
{
    if (!class_respondsToSelector(object_getClass(self->m_icon.get()), "application"_sel))
        return nil;
    return msg<SBApplication *>(self->m_icon.get(), "application"_sel);
}

void startJitter(SBIconView *self)
{
    Class cls = object_getClass(self);
    sim::addKeyframeAnimation(self->layer(),
                              msg<CAKeyframeAnimation *>(cls, "_jitterPositionAnimation"_sel),
                              kJitterPositionKey);
    sim::addKeyframeAnimation(self->layer(),
                              msg<CAKeyframeAnimation *>(cls, "_jitterTransformAnimation"_sel),
                              kJitterTransformKey);
}

void stopJitter(SBIconView *self)
{
    sim::removeKeyframeAnimation(self->layer(), kJitterPositionKey);
    sim::removeKeyframeAnimation(self->layer(), kJitterTransformKey);
}

UITouch *anyTouch(id touches)
{
    return static_cast<UITouch *>(msg<id>(touches, "anyObject"_sel));
}

namespace imp {

id initWithFrame(SBIconView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBIconView::class_(), self, _cmd, frame))
        return nil;
    CGFloat side = SpringBoardMetrics::iconImageSide();
    CGFloat labelHeight = SpringBoardMetrics::iconViewSize().height - side;
    self->m_iconImageView =
        sim::newView<UIImageView>(UIImageView::class_(), {{0, 0}, {side, side}});
    sim::addSubview(self, self->m_iconImageView);
    // The label may be wider than the icon: long names spread beyond it.
    self->m_labelView =
        sim::newLabel({{-side / 6, side}, {side * 4 / 3, labelHeight}}, nil,
                      UIFont::systemFontOfSize(SpringBoardMetrics::labelFontSize()));
    sim::addSubview(self, self->m_labelView);
    self->m_updatedMarkView = sim::newView(
        UIView::class_(),
        {{-side / 6 - kUpdatedMarkSide / 2, side + (labelHeight - kUpdatedMarkSide) / 2},
         {kUpdatedMarkSide, kUpdatedMarkSide}});
    msg<void, UIColor *>(self->m_updatedMarkView, "setBackgroundColor:"_sel,
                         UIColor::colorWithRedGreenBlueAlpha(0.2, 0.55, 1, 1));
    self->m_updatedMarkView->layer()->setCornerRadius(kUpdatedMarkSide / 2);
    sim::setHidden(self->m_updatedMarkView, true);
    sim::addSubview(self, self->m_updatedMarkView);
    self->m_closeBox = sim::newView(UIView::class_(), {{-kCloseBoxSide / 3, -kCloseBoxSide / 3},
                                                       {kCloseBoxSide, kCloseBoxSide}});
    msg<void, UIColor *>(self->m_closeBox, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(0.2, 0.8));
    self->m_closeBox->layer()->setCornerRadius(kCloseBoxSide / 2);
    sim::setHidden(self->m_closeBox, true);
    sim::addSubview(self, self->m_closeBox);
    self->m_badgeView = sim::newView(SBIconBadgeView::class_(), CGRectZero);
    sim::setHidden(self->m_badgeView, true);
    sim::addSubview(self, self->m_badgeView);
    return self;
}

id initWithDefaultSize(SBIconView *self, SEL)
{
    return msg<id, CGRect>(self, "initWithFrame:"_sel,
                           {{0, 0}, SpringBoardMetrics::iconViewSize()});
}

SBIcon *icon(SBIconView *self, SEL)
{
    return self->m_icon;
}

void setIcon(SBIconView *self, SEL, SBIcon *icon)
{
    self->m_icon = icon;
    msg<void>(self, "_updateIconImageView"_sel);
    msg<void>(self, "_updateLabel"_sel);
    msg<void>(self, "_updateBadge"_sel);
    msg<void>(self, "_updateUpdatedMark"_sel);
}

// An icon that draws its own image (the live clock) gets the image view it asks for, in
// the same place; every other icon's image is its home-screen image.
void updateIconImageView(SBIconView *self, SEL)
{
    Class wanted =
        msg<Class, NSInteger>(self->m_icon.get(), "iconImageViewClassForLocation:"_sel, 0);
    if (wanted && object_getClass(self->m_iconImageView.get()) != wanted) {
        StrongRef<UIImageView> old = self->m_iconImageView;
        self->m_iconImageView = sim::newView<UIImageView>(wanted, old->frame());
        msg<void, UIView *, NSInteger>(self, "insertSubview:atIndex:"_sel, self->m_iconImageView,
                                       0);
        old->removeFromSuperview();
    }
    if (msg<BOOL, SEL>(self->m_iconImageView, "respondsToSelector:"_sel, "contentsImage"_sel))
        return;
    msg<void, UIImage *>(
        self->m_iconImageView, "setImage:"_sel,
        msg<UIImage *, int>(self->m_icon.get(), "getIconImage:"_sel, kHomeScreenImageFormat));
}

// The label's font is what a fresh set of label image parameters says.
void updateLabel(SBIconView *self, SEL)
{
    auto parameters = StrongRef<NSObject>::adopt(static_cast<NSObject *>(
        msg<id>(msg<id>(objc_getClass("SBIconLabelImageParameters"), "alloc"_sel), "init"_sel)));
    if (UIFont *font = msg<UIFont *>(parameters.get(), "font"_sel))
        msg<void, UIFont *>(self->m_labelView, "setFont:"_sel, font);
    msg<void, NSString *>(self->m_labelView, "setText:"_sel,
                          msg<NSString *>(self->m_icon.get(), "displayName"_sel));
}

// A badge shows when the icon has one and the icon controller lets this view display it.
void updateBadge(SBIconView *self, SEL)
{
    auto *badge = msg<NSString *>(self->m_icon.get(), "badgeNumberOrString"_sel);
    bool shown =
        badge && msg<BOOL, SBIconView *>(iconController(), "iconViewDisplaysBadges:"_sel, self);
    sim::setHidden(self->m_badgeView, !shown);
    if (!shown)
        return;
    msg<void, NSString *>(self->m_badgeView, "setText:"_sel, badge);
    CGRect frame = self->m_badgeView->frame();
    CGFloat side = SpringBoardMetrics::iconImageSide();
    sim::setFrame(
        self->m_badgeView,
        {{side + frame.size.height / 2 - frame.size.width, -frame.size.height / 2}, frame.size});
}

// iOS 7 asks its class whether the dot may show and hides it by message; later systems
// ask the application alone.
void updateUpdatedMark(SBIconView *self, SEL)
{
    SBApplication *application = applicationOf(self);
    if (sim::currentGeneration() == sim::iOS7) {
        bool shown = application && application->m_recentlyUpdated &&
                     msg<BOOL>(object_getClass(self), "canShowUpdatedMark"_sel);
        return msg<void, BOOL>(self, "setUpdatedMarkHidden:"_sel, !shown);
    }
    self->m_updatedMarkHidden = !(application && msg<BOOL>(application, "_isRecentlyUpdated"_sel));
    sim::setHidden(self->m_updatedMarkView, self->m_updatedMarkHidden);
}

void setUpdatedMarkHidden(SBIconView *self, SEL, BOOL hidden)
{
    self->m_updatedMarkHidden = hidden;
    sim::setHidden(self->m_updatedMarkView, hidden);
}

BOOL canShowUpdatedMark(id, SEL)
{
    return YES;
}

// A shake of the icon's place, as offsets from it (an additive animation).
CAKeyframeAnimation *jitterPositionAnimation(id, SEL)
{
    CAKeyframeAnimation *shake =
        sim::keyframeAnimation(sim::AnimatedProperty::Position,
                               {CGPoint{0, 0}, CGPoint{kJitterShake, -kJitterShake},
                                CGPoint{-kJitterShake, kJitterShake}, CGPoint{0, 0}},
                               kJitterPeriod * 1.3);
    shake->m_additive = true;
    return shake;
}

CAKeyframeAnimation *jitterTransformAnimation(id, SEL)
{
    return sim::keyframeAnimation(sim::AnimatedProperty::Transform,
                                  {CATransform3DMakeRotation(-kJitterAngle, 0, 0, 1),
                                   CATransform3DMakeRotation(kJitterAngle, 0, 0, 1),
                                   CATransform3DMakeRotation(-kJitterAngle, 0, 0, 1)},
                                  kJitterPeriod);
}

void setLabelHidden(SBIconView *self, SEL, BOOL hidden)
{
    self->m_labelHidden = hidden;
    sim::setHidden(self->m_labelView, hidden);
}

CGFloat iconImageAlpha(SBIconView *self, SEL)
{
    return self->m_iconImageView->alpha();
}

void setIconImageAlpha(SBIconView *self, SEL, CGFloat alpha)
{
    sim::setAlpha(self->m_iconImageView, alpha);
}

// Only icons that may be deleted show a close box.
void setIsJittering(SBIconView *self, SEL, BOOL jittering)
{
    if (self->m_isJittering == bool(jittering))
        return;
    self->m_isJittering = jittering;
    bool removable = msg<BOOL>(self->m_icon.get(), "allowsUninstall"_sel);
    sim::setHidden(self->m_closeBox, !(jittering && removable));
    jittering ? startJitter(self) : stopJitter(self);
}

// A finger on a jittering icon grabs it; otherwise touches go on to the list.
void touchesBegan(SBIconView *self, SEL _cmd, id touches, id event)
{
    if (!self->m_isJittering)
        return msgSuper<void, id, id>(SBIconView::class_(), self, _cmd, touches, event);
    self->m_grabbed = true;
    self->m_dragged = false;
    CGPoint inView = anyTouch(touches)->locationInView(self);
    CGSize size = self->bounds().size;
    self->m_grabOffset = {inView.x - size.width / 2, inView.y - size.height / 2};
    msg<void, UIView *>(self->superview(), "bringSubviewToFront:"_sel, self);
}

void touchesMoved(SBIconView *self, SEL _cmd, id touches, id event)
{
    if (!self->m_grabbed)
        return msgSuper<void, id, id>(SBIconView::class_(), self, _cmd, touches, event);
    self->m_dragged = true;
    CGPoint point = anyTouch(touches)->locationInView(self->superview());
    msg<void, CGPoint>(self, "setCenter:"_sel,
                       {point.x - self->m_grabOffset.x, point.y - self->m_grabOffset.y});
}

// An icon that was carried is dropped where the finger lifts; one that was only held goes
// back to its place at the next layout.
void touchesEnded(SBIconView *self, SEL _cmd, id touches, id event)
{
    if (!self->m_grabbed)
        return msgSuper<void, id, id>(SBIconView::class_(), self, _cmd, touches, event);
    bool dragged = self->m_dragged;
    self->m_grabbed = self->m_dragged = false;
    auto *list = static_cast<SBIconListView *>(self->superview());
    if (dragged)
        sim::dropIconView(self, list, anyTouch(touches)->locationInView(list));
    msg<void>(list, "layoutIconsNow"_sel);
}

void touchesCancelled(SBIconView *self, SEL _cmd, id touches, id event)
{
    self->m_grabbed = self->m_dragged = false;
    msgSuper<void, id, id>(SBIconView::class_(), self, _cmd, touches, event);
}

} // namespace imp

} // namespace

Class SBIconView::class_()
{
    return objc_getClass("SBIconView");
}

SBIconView *SBIconView::create(Class cls, SBIcon *icon)
{
    auto *view =
        static_cast<SBIconView *>(msg<id>(msg<id>(cls, "alloc"_sel), "initWithDefaultSize"_sel));
    msg<void, SBIcon *>(view, "setIcon:"_sel, icon);
    return view;
}

bool SBIconView::showsBadge() const
{
    return m_badgeView && !m_badgeView->isHidden();
}

bool SBIconView::showsUpdatedMark() const
{
    return m_updatedMarkView && !m_updatedMarkView->isHidden();
}

namespace sim {

void registerIconViewClass()
{
    HostClass<SBIconView>("SBIconView", "UIView")
        .ivar("_icon", &SBIconView::m_icon)
        .ivar("_iconImageView", &SBIconView::m_iconImageView)
        .ivar("_labelView", &SBIconView::m_labelView)
        .ivar("_closeBox", &SBIconView::m_closeBox)
        .ivar("_badgeView", &SBIconView::m_badgeView)
        .ivar("_updatedMarkView", &SBIconView::m_updatedMarkView)
        .ivar("_isJittering", &SBIconView::m_isJittering)
        .method("initWithFrame:", imp::initWithFrame)
        .method("initWithDefaultSize", imp::initWithDefaultSize)
        .method("icon", imp::icon)
        .method("setIcon:", imp::setIcon)
        .method("_updateIconImageView", imp::updateIconImageView)
        .method("_updateLabel", imp::updateLabel)
        .method("_updateBadge", imp::updateBadge)
        .method("_updateUpdatedMark", imp::updateUpdatedMark)
        .method("setUpdatedMarkHidden:", imp::setUpdatedMarkHidden)
        .onGenerations(iOS7)
        .classMethod("canShowUpdatedMark", imp::canShowUpdatedMark)
        .onGenerations(iOS7)
        .classMethod("_jitterPositionAnimation", imp::jitterPositionAnimation)
        .classMethod("_jitterTransformAnimation", imp::jitterTransformAnimation)
        .getter<&SBIconView::m_iconImageView>("_iconImageView")
        .getter<&SBIconView::m_labelView>("labelView")
        .getter<&SBIconView::m_labelHidden>("isLabelHidden")
        .method("setLabelHidden:", imp::setLabelHidden)
        .method("iconImageAlpha", imp::iconImageAlpha)
        .method("setIconImageAlpha:", imp::setIconImageAlpha)
        .getter<&SBIconView::m_isJittering>("isJittering")
        .method("setIsJittering:", imp::setIsJittering)
        .method("touchesBegan:withEvent:", imp::touchesBegan)
        .method("touchesMoved:withEvent:", imp::touchesMoved)
        .method("touchesEnded:withEvent:", imp::touchesEnded)
        .method("touchesCancelled:withEvent:", imp::touchesCancelled)
        .registerClass();
}

} // namespace sim
