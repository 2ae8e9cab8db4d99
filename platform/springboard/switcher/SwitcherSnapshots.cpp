#include "springboard/switcher/SwitcherSnapshots.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardState.h"
#include "springboard/apps/ApplicationsHost.h"
#include "uikit/Snapshot.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImageView.h"

namespace {

CGRect screenBounds()
{
    return sim::springBoardState().homeScreenWindow->bounds();
}

// A plain view of the screen's size holding the application's screen in its container.
template <class SnapshotView> SnapshotView *snapshotOf(Class cls, SBApplication *application)
{
    StrongRef<SnapshotView> view = sim::newView<SnapshotView>(cls, screenBounds());
    view->m_displayIdentifier = application->m_bundleIdentifier;
    view->m_containerView = sim::newView(UIView::class_(), screenBounds());
    sim::addSubview(view->m_containerView, sim::applicationScreenView(application, screenBounds()));
    sim::addSubview(view, view->m_containerView);
    return autorelease(view.leak());
}

namespace imp {

UIView *appSliderSnapshotView(id cls, SEL, SBApplication *application, NSInteger, BOOL, id, id)
{
    return application
               ? snapshotOf<SBAppSliderSnapshotView>(reinterpret_cast<Class>(cls), application)
               : nil;
}

SBApplication *applicationOf(SBDisplayItem *item)
{
    return item ? sim::applicationForDisplayIdentifier(item->identifier()) : nil;
}

UIView *appSwitcherSnapshotView(id cls, SEL, SBDisplayItem *item, NSInteger, BOOL, id, id)
{
    SBApplication *application = applicationOf(item);
    return application
               ? snapshotOf<SBAppSwitcherSnapshotView>(reinterpret_cast<Class>(cls), application)
               : nil;
}

UIView *deckSnapshotView(id cls, SEL, SBDisplayItem *item, NSInteger, BOOL, BOOL, id)
{
    SBApplication *application = applicationOf(item);
    return application
               ? snapshotOf<SBAppSwitcherSnapshotView>(reinterpret_cast<Class>(cls), application)
               : nil;
}

} // namespace imp

} // namespace

Class SBAppSliderSnapshotView::class_()
{
    return objc_getClass("SBAppSliderSnapshotView");
}

Class SBAppSwitcherSnapshotView::class_()
{
    return objc_getClass("SBAppSwitcherSnapshotView");
}

namespace sim {

UIView *applicationSnapshotView(SBApplication *application)
{
    NSInteger orientation = UIApplication::sharedApplication()->statusBarOrientation();
    switch (currentGeneration()) {
    case iOS7:
        return msg<UIView *, SBApplication *, NSInteger, BOOL, id, id>(
            SBAppSliderSnapshotView::class_(),
            "appSliderSnapshotViewForApplication:orientation:loadAsync:withQueue:statusBarCache:"_sel,
            application, orientation, NO, nil, nil);
    case iOS8:
        return msg<UIView *, SBDisplayItem *, NSInteger, BOOL, id, id>(
            SBAppSwitcherSnapshotView::class_(),
            "appSwitcherSnapshotViewForDisplayItem:orientation:loadAsync:withQueue:statusBarCache:"_sel,
            SBDisplayItem::itemWithIdentifier(application->bundleIdentifier()), orientation, NO,
            nil, nil);
    default:
        return msg<UIView *, SBDisplayItem *, NSInteger, BOOL, BOOL, id>(
            SBAppSwitcherSnapshotView::class_(),
            "appSwitcherSnapshotViewForDisplayItem:orientation:preferringDownscaledSnapshot:"
            "loadAsync:withQueue:"_sel,
            SBDisplayItem::itemWithIdentifier(application->bundleIdentifier()), orientation, NO, NO,
            nil);
    }
}

UIView *homeScreenSnapshotView()
{
    SpringBoardState &state = springBoardState();
    StrongRef<UIView> page = newView(UIView::class_(), screenBounds());
    auto wallpaper = StrongRef<UIImageView>::adopt(static_cast<UIImageView *>(msg<id, UIImage *>(
        msg<id>(UIImageView::class_(), "alloc"_sel), "initWithImage:"_sel, wallpaperImage())));
    setFrame(wallpaper, screenBounds());
    addSubview(page, wallpaper);
    if (!state.homeScreenWindow->m_subviews.empty())
        addSubview(page, snapshotView(state.homeScreenWindow->m_subviews.front(), true));
    return autorelease(page.leak());
}

void registerSwitcherSnapshotClasses()
{
    HostClass<SBAppSliderSnapshotView>("SBAppSliderSnapshotView", "UIView")
        .onGenerations(iOS7)
        .ivar("_containerView", &SBAppSliderSnapshotView::m_containerView)
        .classMethod(
            "appSliderSnapshotViewForApplication:orientation:loadAsync:withQueue:statusBarCache:",
            imp::appSliderSnapshotView)
        .registerClass();

    HostClass<SBAppSwitcherSnapshotView>("SBAppSwitcherSnapshotView", "UIView")
        .onGenerations(iOS8 | iOS9)
        .ivar("_containerView", &SBAppSwitcherSnapshotView::m_containerView)
        .classMethod(
            "appSwitcherSnapshotViewForDisplayItem:orientation:loadAsync:withQueue:statusBarCache:",
            imp::appSwitcherSnapshotView)
        .onGenerations(iOS8)
        .classMethod("appSwitcherSnapshotViewForDisplayItem:orientation:"
                     "preferringDownscaledSnapshot:loadAsync:withQueue:",
                     imp::deckSnapshotView)
        .onGenerations(iOS9)
        .registerClass();
}

} // namespace sim
