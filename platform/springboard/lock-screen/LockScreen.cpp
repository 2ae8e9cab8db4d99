#include "springboard/lock-screen/LockScreen.h"

#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/SpringBoardState.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/lock-screen/LockScreenServices.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"

#include <nlohmann/json.hpp>

namespace {

constexpr CGFloat kDateViewTop = 40;
constexpr CGFloat kDateViewHeight = 114;
constexpr CGFloat kSliderHeight = 30;
constexpr CGFloat kSliderBottomMargin = 60;
constexpr CGFloat kGrabberWidth = 36;
constexpr CGFloat kGrabberHeight = 5;
constexpr CGFloat kTopGrabberTop = 24; // below the status bar
constexpr CGFloat kCameraGrabberSide = 24;
constexpr CGFloat kArtworkSide = 180;

StrongRef<UIView> newGrabber(CGRect frame)
{
    StrongRef<UIView> grabber = sim::newView(UIView::class_(), frame);
    msg<void, UIColor *>(grabber, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(1, 0.6));
    return grabber;
}

// Hides or shows a part for one requester; the part shows while no one hides it.
void setHiddenFor(UIView *part, SBLockScreenHiders &hiders, BOOL hidden, id requester)
{
    std::string name = requester ? sim::describe(requester) : std::string();
    if (hidden)
        hiders.requesters.insert(name);
    else
        hiders.requesters.erase(name);
    if (part)
        sim::setHidden(part, !hiders.requesters.empty());
}

namespace imp {

id initWithFrame(SBLockScreenView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBLockScreenView::class_(), self, _cmd, frame))
        return nil;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(0, 0.25));
    self->m_dateView =
        sim::newView<SBFLockScreenDateView>(SBFLockScreenDateView::class_(), CGRectZero);
    if (sim::currentGeneration() != sim::iOS9)
        msg<void, id>(self->m_dateView, "setFormatter:"_sel,
                      msg<id>(SBDateLabelStringFormatCache::class_(), "sharedInstance"_sel));
    sim::addSubview(self, self->m_dateView);
    self->m_slideToUnlockView = sim::newLabel(CGRectZero, nil, UIFont::systemFontOfSize(24));
    sim::addSubview(self, self->m_slideToUnlockView);
    self->m_topGrabberView = newGrabber(CGRectZero);
    self->m_bottomGrabberView = newGrabber(CGRectZero);
    sim::addSubview(self, self->m_topGrabberView);
    sim::addSubview(self, self->m_bottomGrabberView);
    msg<void, NSString *>(self, "setCustomSlideToUnlockText:"_sel, nil);
    return self;
}

SBFLockScreenDateView *dateView(SBLockScreenView *self, SEL)
{
    return self->m_dateView;
}

NSString *defaultSlideToUnlockText(SBLockScreenView *, SEL)
{
    return "slide to unlock"_ns;
}

void setCustomSlideToUnlockText(SBLockScreenView *self, SEL, NSString *text)
{
    self->m_customSlideToUnlockText = text;
    NSString *shown = text ? text : msg<NSString *>(self, "_defaultSlideToUnlockText"_sel);
    msg<void, NSString *>(self->m_slideToUnlockView, "setText:"_sel, shown);
}

void setCustomSlideToUnlockTextAnimated(SBLockScreenView *self, SEL, NSString *text, BOOL)
{
    msg<void, NSString *>(self, "setCustomSlideToUnlockText:"_sel, text);
}

void setTopGrabberHidden(SBLockScreenView *self, SEL, BOOL hidden, id requester)
{
    setHiddenFor(self->m_topGrabberView, self->m_topGrabberHiders, hidden, requester);
}

void setBottomGrabberHidden(SBLockScreenView *self, SEL, BOOL hidden, id requester)
{
    setHiddenFor(self->m_bottomGrabberView, self->m_bottomGrabberHiders, hidden, requester);
}

void setCameraGrabberHidden(SBLockScreenView *self, SEL, BOOL hidden, id requester)
{
    setHiddenFor(self->m_cameraGrabberView, self->m_cameraGrabberHiders, hidden, requester);
}

void setSlideToUnlockHidden(SBLockScreenView *self, SEL, BOOL hidden, id requester)
{
    setHiddenFor(self->m_slideToUnlockView, self->m_slideToUnlockHiders, hidden, requester);
}

void startAnimating(SBLockScreenView *self, SEL)
{
    self->m_animating = true;
}

void stopAnimating(SBLockScreenView *self, SEL)
{
    self->m_animating = false;
}

void layoutTimerView(SBLockScreenView *self, SEL)
{
    sim::setFrame(self->m_dateView,
                  {{0, kDateViewTop}, {self->bounds().size.width, kDateViewHeight}});
}

void layoutSubviews(SBLockScreenView *self, SEL)
{
    CGSize size = self->bounds().size;
    msg<void>(self, "_layoutTimerView"_sel);
    CGFloat sliderTop = size.height - kSliderBottomMargin - kSliderHeight;
    sim::setFrame(self->m_slideToUnlockView, {{0, sliderTop}, {size.width, kSliderHeight}});
    CGFloat grabberX = (size.width - kGrabberWidth) / 2;
    sim::setFrame(self->m_topGrabberView,
                  {{grabberX, kTopGrabberTop}, {kGrabberWidth, kGrabberHeight}});
    sim::setFrame(self->m_bottomGrabberView,
                  {{grabberX, size.height - 16}, {kGrabberWidth, kGrabberHeight}});
    if (self->m_cameraGrabberView)
        sim::setFrame(self->m_cameraGrabberView, {{size.width - kCameraGrabberSide - 12,
                                                   size.height - kCameraGrabberSide - 12},
                                                  {kCameraGrabberSide, kCameraGrabberSide}});
    if (self->m_pluginView)
        sim::setFrame(self->m_pluginView,
                      {{(size.width - kArtworkSide) / 2, 190}, {kArtworkSide, kArtworkSide}});
}

SBLockScreenViewController *sharedInstance(id, SEL)
{
    return static_cast<SBLockScreenViewController *>(
        sim::springBoardState().lockScreenViewController.get());
}

void loadView(SBLockScreenViewController *self, SEL)
{
    long orientation = UIApplication::sharedApplication()->statusBarOrientation();
    CGRect bounds = {{0, 0}, sim::SpringBoardMetrics::interfaceSize(orientation)};
    msg<void, UIView *>(self, "setView:"_sel,
                        sim::newView<SBLockScreenView>(SBLockScreenView::class_(), bounds));
    msg<void>(self, "_addCameraGrabberIfNecessary"_sel);
}

SBLockScreenView *lockScreenView(SBLockScreenViewController *self, SEL)
{
    return msg<SBLockScreenView *>(self, "view"_sel);
}

void addCameraGrabberIfNecessary(SBLockScreenViewController *self, SEL)
{
    SBLockScreenView *view = msg<SBLockScreenView *>(self, "lockScreenView"_sel);
    if (view->m_cameraGrabberView)
        return;
    view->m_cameraGrabberView = newGrabber(CGRectZero);
    sim::addSubview(view, view->m_cameraGrabberView);
}

void updateLockScreenDate(SBLockScreenViewController *self, SEL)
{
    SBLockScreenView *view = msg<SBLockScreenView *>(self, "lockScreenView"_sel);
    msg<void, NSDate *>(msg<SBFLockScreenDateView *>(view, "dateView"_sel), "setDate:"_sel,
                        NSDate::date());
}

// Whenever the lock screen appears its slider text is asked for afresh, it lays out again,
// the date view gets its formatter (iOS 7, 8) and the current date (the clock keeps it
// so); the grabbers and slider show unless someone hides them, and the artwork plug-in is
// asked again for the music that plays.
void viewWillAppear(SBLockScreenViewController *self, SEL, BOOL)
{
    SBLockScreenView *view = msg<SBLockScreenView *>(self, "lockScreenView"_sel);
    if (!view->m_customSlideToUnlockText)
        msg<void, NSString *>(view, "setCustomSlideToUnlockText:"_sel, nil);
    msg<void>(view, "setNeedsLayout"_sel);
    if (sim::currentGeneration() != sim::iOS9)
        msg<void, id>(view->m_dateView, "setFormatter:"_sel,
                      msg<id>(SBDateLabelStringFormatCache::class_(), "sharedInstance"_sel));
    msg<void>(self, "_updateLockScreenDate"_sel);
    self->m_clock.start([self] { msg<void>(self, "_updateLockScreenDate"_sel); });
    for (const char *part :
         {"setTopGrabberHidden:forRequester:", "setBottomGrabberHidden:forRequester:",
          "setCameraGrabberHidden:forRequester:", "setSlideToUnlockHidden:forRequester:"})
        msg<void, BOOL, id>(view, sel_registerName(part), NO, "SBLockScreen"_ns);
    sim::hideNowPlayingArtwork();
    sim::showNowPlayingArtworkIfPlaying();
    msg<void>(view, "startAnimating"_sel);
}

void viewDidDisappear(SBLockScreenViewController *self, SEL, BOOL)
{
    self->m_clock.stop();
    sim::hideNowPlayingArtwork();
    msg<void>(msg<SBLockScreenView *>(self, "lockScreenView"_sel), "stopAnimating"_sel);
}

} // namespace imp

void dumpLockScreenView(UIView *view, nlohmann::json &node)
{
    auto *lockScreen = static_cast<SBLockScreenView *>(view);
    UILabel *slider = lockScreen->m_slideToUnlockView;
    node["slideToUnlockText"] = slider->m_text ? slider->m_text->str() : "";
    node["animating"] = lockScreen->m_animating;
}

void dumpDateView(UIView *view, nlohmann::json &node)
{
    auto *dateView = static_cast<SBFLockScreenDateView *>(view);
    UIColor *color = msg<UIColor *>(dateView, "textColor"_sel);
    node["textColor"] = {color->m_red, color->m_green, color->m_blue, color->m_alpha};
    node["timeFontSize"] = dateView->m_timeLabel->m_font->pointSize();
    node["dateFontSize"] = dateView->m_dateLabel->m_font->pointSize();
}

} // namespace

Class SBLockScreenView::class_()
{
    return objc_getClass("SBLockScreenView");
}

Class SBLockScreenViewController::class_()
{
    return objc_getClass("SBLockScreenViewController");
}

namespace sim {

void registerLockScreenClasses()
{
    registerDateViewClasses();
    registerLockScreenServiceClasses();
    HostClass<SBLockScreenView>("SBLockScreenView", "UIView")
        .ivar("_dateView", &SBLockScreenView::m_dateView)
        .ivar("_slideToUnlockView", &SBLockScreenView::m_slideToUnlockView)
        .ivar("_customSlideToUnlockText", &SBLockScreenView::m_customSlideToUnlockText)
        .ivar("_topGrabberView", &SBLockScreenView::m_topGrabberView)
        .ivar("_bottomGrabberView", &SBLockScreenView::m_bottomGrabberView)
        .ivar("_cameraGrabberView", &SBLockScreenView::m_cameraGrabberView)
        .ivar("_pluginView", &SBLockScreenView::m_pluginView)
        .method("initWithFrame:", imp::initWithFrame)
        .method("dateView", imp::dateView)
        .method("_defaultSlideToUnlockText", imp::defaultSlideToUnlockText)
        .method("setCustomSlideToUnlockText:", imp::setCustomSlideToUnlockText)
        .method("setCustomSlideToUnlockText:animated:", imp::setCustomSlideToUnlockTextAnimated)
        .onGenerations(iOS8 | iOS9)
        .method("setTopGrabberHidden:forRequester:", imp::setTopGrabberHidden)
        .method("setBottomGrabberHidden:forRequester:", imp::setBottomGrabberHidden)
        .method("setCameraGrabberHidden:forRequester:", imp::setCameraGrabberHidden)
        .method("setSlideToUnlockHidden:forRequester:", imp::setSlideToUnlockHidden)
        .method("startAnimating", imp::startAnimating)
        .method("stopAnimating", imp::stopAnimating)
        .method("_layoutTimerView", imp::layoutTimerView)
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
    HostClass<SBLockScreenViewController>("SBLockScreenViewController", "UIViewController")
        .classMethod("sharedInstance", imp::sharedInstance)
        .method("loadView", imp::loadView)
        .method("lockScreenView", imp::lockScreenView)
        .method("_addCameraGrabberIfNecessary", imp::addCameraGrabberIfNecessary)
        .method("_updateLockScreenDate", imp::updateLockScreenDate)
        .method("viewWillAppear:", imp::viewWillAppear)
        .method("viewDidDisappear:", imp::viewDidDisappear)
        .registerClass();
    addViewDumpAttributes("SBLockScreenView", dumpLockScreenView);
    addViewDumpAttributes("SBFLockScreenDateView", dumpDateView);
}

} // namespace sim
