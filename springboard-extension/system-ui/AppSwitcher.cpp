// The iOS 8 app switcher: AppSwitcherInit.

#include "springboard-extension/system-ui/AppSwitcher.h"

#include "foundation/NSArray.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/system-ui/AppSwitcherShared.h"

namespace {

// --- Snapshots and icons ---

id (*orig_SBAppSwitcherSnapshotView_snapshotView)(Class, SEL, id, NSInteger, BOOL, id, id);
id SBAppSwitcherSnapshotView_snapshotView(Class self, SEL _cmd, id displayItem,
                                          NSInteger orientation, BOOL loadAsync, id queue,
                                          id statusBarCache)
{
    id view = orig_SBAppSwitcherSnapshotView_snapshotView(self, _cmd, displayItem, orientation,
                                                          loadAsync, queue, statusBarCache);
    return CVAdjustSnapshotView(view, CVDisplayItemIsRunning(displayItem));
}

BOOL (*orig_SBAppSwitcherIconController_isIndexVisible)(id, SEL, NSUInteger, BOOL);
BOOL SBAppSwitcherIconController_isIndexVisible(id self, SEL _cmd, NSUInteger index, BOOL padding)
{
    if (gCVAppSlider.hideIcons)
        return NO;
    return orig_SBAppSwitcherIconController_isIndexVisible(self, _cmd, index, padding);
}

// --- Page scale ---

CGFloat (*orig_SBAppSwitcherController_scaleForFullscreenPageView)(id, SEL);
CGFloat SBAppSwitcherController_scaleForFullscreenPageView(id self, SEL _cmd)
{
    CGFloat scale = orig_SBAppSwitcherController_scaleForFullscreenPageView(self, _cmd);
    double factor = gCVAppSlider.pageScaleFactor;
    return factor > kCVPageScaleThreshold ? scale / factor : scale;
}

void (*orig_SBAppSwitcherController_updatePageViewScale)(id, SEL, CGFloat, CGFloat);
void SBAppSwitcherController_updatePageViewScale(id self, SEL _cmd, CGFloat scale,
                                                 CGFloat xTranslation)
{
    double factor = gCVAppSlider.pageScaleFactor;
    orig_SBAppSwitcherController_updatePageViewScale(
        self, _cmd, factor > kCVPageScaleThreshold ? scale * factor : scale, xTranslation);
}

// --- The home screen's page ---

BOOL (*orig_SBAppSwitcherController_isDisplayItemRemovable)(id, SEL, id, id);
BOOL SBAppSwitcherController_isDisplayItemRemovable(id self, SEL _cmd, id scroller, id displayItem)
{
    if (CVHomeCardRemovable() && CVIsHomeDisplayItem(displayItem))
        return YES;
    return orig_SBAppSwitcherController_isDisplayItemRemovable(self, _cmd, scroller, displayItem);
}

void (*orig_SBAppSwitcherController_displayItemWantsToBeRemoved)(id, SEL, id, id);
void SBAppSwitcherController_displayItemWantsToBeRemoved(id self, SEL _cmd, id scroller,
                                                         id displayItem)
{
    if (CVIsHomeDisplayItem(displayItem))
        CVRelaunchForHomeAction();
    orig_SBAppSwitcherController_displayItemWantsToBeRemoved(self, _cmd, scroller, displayItem);
}

// --- Leaving inactive apps out ---

// Only pages of a single application are left out; pages showing several stay.
bool isSingleInactiveApplication(id item)
{
    auto *displayItems = msg<NSArray *>(item, "displayItems"_sel);
    if (!displayItems || displayItems->count() != 1)
        return false;
    id application = CVApplicationWithBundleIdentifier(
        msg<id>(displayItems->firstObject(), "displayIdentifier"_sel));
    return application && !CVApplicationIsRunning(application);
}

void (*orig_SBAppSwitcherController_layout)(id, SEL);
void SBAppSwitcherController_layout(id self, SEL _cmd)
{
    auto *list = CVGetIvar<NSMutableArray *>(self, "_appList_use_block_accessor");
    if (gCVAppSlider.appsMode == kCVAppsModeHide && list) {
        StrongRef<NSMutableArray> inactive = NSMutableArray::array();
        for (id item : *list)
            if (isSingleInactiveApplication(item))
                inactive->addObject(item);
        for (id item : *inactive)
            list->removeObject(item);
    }
    orig_SBAppSwitcherController_layout(self, _cmd);
}

} // namespace

void AppSwitcherInit()
{
    Class snapshotView = objc_getClass("SBAppSwitcherSnapshotView");
    ReplaceMethod(snapshotView ? object_getClass(snapshotView) : Nil,
                  "appSwitcherSnapshotViewForDisplayItem:orientation:loadAsync:withQueue:"
                  "statusBarCache:"_sel,
                  SBAppSwitcherSnapshotView_snapshotView,
                  &orig_SBAppSwitcherSnapshotView_snapshotView);

    ReplaceMethod(objc_getClass("SBAppSwitcherIconController"), "_isIndexVisible:withPadding:"_sel,
                  SBAppSwitcherIconController_isIndexVisible,
                  &orig_SBAppSwitcherIconController_isIndexVisible);

    Class controller = objc_getClass("SBAppSwitcherController");
    ReplaceMethod(controller, "_scaleForFullscreenPageView"_sel,
                  SBAppSwitcherController_scaleForFullscreenPageView,
                  &orig_SBAppSwitcherController_scaleForFullscreenPageView);
    ReplaceMethod(controller, "_updatePageViewScale:xTranslation:"_sel,
                  SBAppSwitcherController_updatePageViewScale,
                  &orig_SBAppSwitcherController_updatePageViewScale);
    ReplaceMethod(controller, "switcherScroller:isDisplayItemRemovable:"_sel,
                  SBAppSwitcherController_isDisplayItemRemovable,
                  &orig_SBAppSwitcherController_isDisplayItemRemovable);
    ReplaceMethod(controller, "switcherScroller:displayItemWantsToBeRemoved:"_sel,
                  SBAppSwitcherController_displayItemWantsToBeRemoved,
                  &orig_SBAppSwitcherController_displayItemWantsToBeRemoved);
    ReplaceMethod(controller, "_layout"_sel, SBAppSwitcherController_layout,
                  &orig_SBAppSwitcherController_layout);
}
