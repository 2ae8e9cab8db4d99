// The switcher's entry points, its window, and what the generations share.

#include "springboard/switcher/SwitcherHost.h"

#include "foundation/NSLog.h"
#include "foundation/NSNumber.h"
#include "quartzcore/CAFilter.h"
#include "springboard/Artwork.h"
#include "springboard/Generation.h"
#include "springboard/HostViews.h"
#include "springboard/SBUIController.h"
#include "springboard/SpringBoardState.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SBAppSliderController.h"
#include "springboard/switcher/SBAppSwitcherController.h"
#include "springboard/switcher/SBDeckSwitcherViewController.h"
#include "springboard/switcher/SwitcherGenerations.h"
#include "uikit/UIImageView.h"

#include <nlohmann/json.hpp>

namespace sim {
namespace {

// Over the status bar, which the switcher covers, and under alerts.
constexpr UIWindowLevel kSwitcherLevel = UIWindowLevelStatusBar + 1;
constexpr CGFloat kBackdropDimming = 0.6;
// Pages of a row lie this far apart and their centres this far down the screen.
constexpr CGFloat kPageRowGap = 16;
constexpr CGFloat kPageRowHeightShare = 0.42;

const SwitcherGeneration &runningGeneration()
{
    switch (currentGeneration()) {
    case iOS7:
        return appSliderGeneration();
    case iOS8:
        return appSwitcherGeneration();
    default:
        return deckSwitcherGeneration();
    }
}

// The generation's controller, made on first use while SpringBoard runs.
NSObject *switcherController()
{
    SpringBoardState &state = springBoardState();
    if (!state.switcherController && state.running)
        state.switcherController = StrongRef<NSObject>::adopt(runningGeneration().create());
    return state.switcherController;
}

NSObject *presentedController()
{
    NSObject *controller = switcherController();
    return controller && runningGeneration().isPresented(controller) ? controller : nil;
}

// The presented controller with a page at the index, or nil after a log line.
NSObject *controllerWithPage(std::size_t index, const char *gesture)
{
    NSObject *controller = presentedController();
    if (!controller) {
        NSLog("SpringBoard: the switcher is closed; nothing to %s", gesture);
        return nil;
    }
    if (index >= runningGeneration().count(controller)) {
        NSLog("SpringBoard: the switcher has no page %zu to %s", index, gesture);
        return nil;
    }
    return controller;
}

nlohmann::json snapshotFilters(CALayer *layer)
{
    nlohmann::json filters = nlohmann::json::array();
    if (NSArray *list = layer->filters())
        for (id object : *list) {
            auto *filter = static_cast<CAFilter *>(object);
            nlohmann::json entry = {{"name", filter->name() ? filter->name()->str() : ""}};
            if (id radius = filter->valueForKey("inputRadius"_ns))
                entry["inputRadius"] = static_cast<NSNumber *>(radius)->doubleValue();
            filters.push_back(entry);
        }
    return filters;
}

template <class SnapshotView> void addSnapshotAttributes(UIView *view, nlohmann::json &node)
{
    auto *snapshot = static_cast<SnapshotView *>(view);
    if (snapshot->m_displayIdentifier)
        node["displayIdentifier"] = snapshot->m_displayIdentifier->str();
    node["containerAlpha"] = snapshot->m_containerView ? snapshot->m_containerView->alpha() : 1.0;
    node["rasterized"] = snapshot->layer()->shouldRasterize();
    node["snapshotFilters"] = snapshotFilters(snapshot->layer());
}

namespace imp {

void handleMenuDoubleTap(SBUIController *, SEL)
{
    SwitcherHost::open();
}

} // namespace imp

} // namespace

bool SwitcherHost::open()
{
    if (springBoardState().locked) {
        NSLog("SpringBoard: the device is locked; the switcher does not open");
        return false;
    }
    NSObject *controller = switcherController();
    if (!controller)
        return false;
    suspendFrontmostApplication();
    if (runningGeneration().isPresented(controller))
        runningGeneration().dismiss(controller);
    runningGeneration().present(controller);
    return true;
}

void SwitcherHost::close()
{
    if (NSObject *controller = presentedController())
        runningGeneration().dismiss(controller);
}

bool SwitcherHost::isOpen()
{
    return presentedController() != nil;
}

bool SwitcherHost::tap(std::size_t index)
{
    NSObject *controller = controllerWithPage(index, "tap");
    if (controller)
        runningGeneration().tap(controller, index);
    return controller;
}

bool SwitcherHost::swipeUp(std::size_t index)
{
    NSObject *controller = controllerWithPage(index, "swipe up");
    if (!controller)
        return false;
    std::string identifier = runningGeneration().identifierAt(controller, index);
    if (runningGeneration().swipeUp(controller, index))
        return true;
    NSLog("SpringBoard: the switcher keeps %s", identifier.c_str());
    return false;
}

// Each generation decides what an index past the last page means.
bool SwitcherHost::scroll(std::size_t index)
{
    NSObject *controller = presentedController();
    if (!controller) {
        NSLog("SpringBoard: the switcher is closed; nothing to scroll");
        return false;
    }
    runningGeneration().scroll(controller, index);
    return true;
}

nlohmann::json SwitcherHost::dump()
{
    NSObject *controller = presentedController();
    nlohmann::json section = {{"open", controller != nil}};
    if (controller)
        section.update(runningGeneration().dump(controller));
    return section;
}

bool dismissSwitcherOrApplication()
{
    if (SwitcherHost::isOpen()) {
        SwitcherHost::close();
        return true;
    }
    return suspendFrontmostApplication();
}

void switchToDisplayIdentifier(const std::string &displayIdentifier)
{
    // Found first: closing the switcher lets go of its pages, the identifier's owners.
    SBApplication *application = applicationForDisplayIdentifier(displayIdentifier);
    SwitcherHost::close();
    if (application)
        activateApplication(application);
}

void closeSwitcherWindow(id controller, StrongRef<UIWindow> &window)
{
    if (window)
        setHidden(window, true);
    UIView *view = msg<UIView *>(controller, "view"_sel);
    while (!view->m_subviews.empty())
        view->m_subviews.back()->removeFromSuperview();
    view->removeFromSuperview();
    window = nullptr;
}

StrongRef<UIWindow> newSwitcherWindow()
{
    UIWindow *home = springBoardState().homeScreenWindow;
    StrongRef<UIWindow> window = newView<UIWindow>(UIWindow::class_(), CGRectZero);
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, kSwitcherLevel);
    msg<void, CGRect>(window, "setBounds:"_sel, home->bounds());
    msg<void, CGPoint>(window, "setCenter:"_sel, home->center());
    msg<void, CGAffineTransform>(window, "setTransform:"_sel, home->transform());
    msg<void, UIColor *>(window, "setBackgroundColor:"_sel, UIColor::blackColor());
    setHidden(window, false);
    return window;
}

StrongRef<UIView> newSwitcherBackdrop(CGRect frame)
{
    StrongRef<UIView> backdrop = newView(UIView::class_(), frame);
    auto wallpaper = StrongRef<UIImageView>::adopt(static_cast<UIImageView *>(msg<id, UIImage *>(
        msg<id>(UIImageView::class_(), "alloc"_sel), "initWithImage:"_sel, wallpaperImage())));
    setFrame(wallpaper, frame);
    addSubview(backdrop, wallpaper);
    StrongRef<UIView> dimming = newView(UIView::class_(), frame);
    msg<void, UIColor *>(dimming, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(0, kBackdropDimming));
    addSubview(backdrop, dimming);
    return backdrop;
}

UIImage *switcherIconImage(const std::string &displayIdentifier, CGFloat side)
{
    SBApplication *application = applicationForDisplayIdentifier(displayIdentifier);
    return applicationIconImage(displayIdentifier,
                                application ? application->displayName() : "Home", side);
}

void setScale(UIView *view, CGFloat scale)
{
    msg<void, CGAffineTransform>(view, "setTransform:"_sel,
                                 CGAffineTransformMakeScale(scale, scale));
}

CGPoint pageRowCentre(NSUInteger index, CGFloat focused, CGSize screen, CGFloat scale)
{
    CGFloat step = screen.width * scale + kPageRowGap;
    return {screen.width / 2 + (static_cast<CGFloat>(index) - focused) * step,
            screen.height * kPageRowHeightShare};
}

CGPoint pageRowIconCentre(NSUInteger index, CGFloat focused, CGSize screen, CGFloat scale)
{
    CGPoint page = pageRowCentre(index, focused, screen, scale);
    return {page.x, page.y + screen.height * scale / 2 + kPageRowGap + kPageRowIconSide / 2};
}

void registerSwitcherClasses()
{
    registerSwitcherItemClasses();
    registerSwitcherSnapshotClasses();
    registerAppSliderClasses();
    registerAppSwitcherClasses();
    registerDeckSwitcherClasses();
    addViewDumpAttributes("SBAppSliderSnapshotView",
                          addSnapshotAttributes<SBAppSliderSnapshotView>);
    addViewDumpAttributes("SBAppSwitcherSnapshotView",
                          addSnapshotAttributes<SBAppSwitcherSnapshotView>);
    class_addMethod(SBUIController::class_(), "handleMenuDoubleTap"_sel,
                    reinterpret_cast<IMP>(imp::handleMenuDoubleTap),
                    encodeImplementation(imp::handleMenuDoubleTap).c_str());
}

} // namespace sim
