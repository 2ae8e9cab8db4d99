#include "springboard-extension/system-ui/AppSwitcherShared.h"

#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "quartzcore/CAFilter.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Replacement.h"
#include "uikit/UIApplication.h"
#include "uikit/UIView.h"

namespace {

Class applicationControllerClass()
{
    static Class cls = objc_getClass("SBApplicationController");
    return cls;
}

void blur(UIView *view)
{
    id filter = msg<id>(CAFilter::class_(), "filterWithName:"_sel, "gaussianBlur"_ns);
    if (!filter)
        return;
    msg<void>(filter, "setValue:forKey:"_sel, NSNumber::numberWithDouble(kCVInactiveBlurRadius),
              "inputRadius"_ns);
    CALayer *layer = msg<CALayer *>(view, "layer"_sel);
    msg<void>(layer, "setFilters:"_sel, NSArray::arrayWithObjects({filter}));
    msg<void, BOOL>(layer, "setShouldRasterize:"_sel, YES);
}

void darken(UIView *view)
{
    if (auto *container = CVGetIvar<UIView *>(view, "_containerView"))
        msg<void, CGFloat>(container, "setAlpha:"_sel, kCVInactiveDarkening);
}

} // namespace

id CVApplicationWithBundleIdentifier(id identifier)
{
    id controller = msg<id>(applicationControllerClass(), "sharedInstance"_sel);
    return identifier ? msg<id, id>(controller, "applicationWithBundleIdentifier:"_sel, identifier)
                      : nil;
}

bool CVApplicationIsRunning(id application)
{
    return application && msg<BOOL>(application, "isRunning"_sel);
}

bool CVDisplayItemIsRunning(id displayItem)
{
    id identifier = displayItem ? msg<id>(displayItem, "displayIdentifier"_sel) : nil;
    return CVApplicationIsRunning(CVApplicationWithBundleIdentifier(identifier));
}

bool CVIsHomeDisplayItem(id displayItem)
{
    auto *identifier =
        displayItem ? msg<NSString *>(displayItem, "displayIdentifier"_sel) : nullptr;
    return identifier && identifier->str() == kCVHomeDisplayIdentifier;
}

id CVAdjustSnapshotView(id snapshotView, bool running)
{
    if (running || !snapshotView)
        return snapshotView;
    if (gCVAppSlider.appsMode == kCVAppsModeDarken)
        darken(static_cast<UIView *>(snapshotView));
    else if (gCVAppSlider.appsMode == kCVAppsModeBlur)
        blur(static_cast<UIView *>(snapshotView));
    return snapshotView;
}

void CVRelaunchForHomeAction()
{
    if (gCVAppSlider.homeAction == 1)
        msg<void>(msg<id>(UIApplication::class_(), "sharedApplication"_sel),
                  "_relaunchSpringBoardNow"_sel);
}

bool CVHomeCardRemovable()
{
    return gCVAppSlider.homeAction != 0;
}
