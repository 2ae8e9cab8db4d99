// The iOS 7 app slider: AppSliderInit.

#include "springboard-extension/system-ui/AppSwitcher.h"

#include "foundation/NSArray.h"
#include "foundation/NSLog.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/system-ui/AppSwitcherShared.h"

#include <functional>

namespace {

using OffsetCompletion = std::function<void()>;

// The home screen's page comes first in the slider.
constexpr NSUInteger kHomePageIndex = 0;

// --- Snapshots ---

id (*orig_SBAppSliderSnapshotView_snapshotView)(Class, SEL, id, NSInteger, BOOL, id, id);
id SBAppSliderSnapshotView_snapshotView(Class self, SEL _cmd, id application, NSInteger orientation,
                                        BOOL loadAsync, id queue, id statusBarCache)
{
    id view = orig_SBAppSliderSnapshotView_snapshotView(self, _cmd, application, orientation,
                                                        loadAsync, queue, statusBarCache);
    return CVAdjustSnapshotView(view, CVApplicationIsRunning(application));
}

// --- Scrolling stays within the pages that are left ---

void (*orig_SBAppSliderScrollingViewController_setOffsetToIndex)(id, SEL, NSInteger, BOOL,
                                                                 OffsetCompletion);
void SBAppSliderScrollingViewController_setOffsetToIndex(id self, SEL _cmd, NSInteger index,
                                                         BOOL animated, OffsetCompletion completion)
{
    auto *items = CVGetIvar<NSArray *>(self, "_items");
    auto count = static_cast<NSInteger>(items ? items->count() : 0);
    if (index >= count)
        index = count > 0 ? count - 1 : 0;
    orig_SBAppSliderScrollingViewController_setOffsetToIndex(self, _cmd, index, animated,
                                                             std::move(completion));
}

// --- Taps ---

void (*orig_SBAppSliderController_itemTapped)(id, SEL, id, NSUInteger);
void SBAppSliderController_itemTapped(id self, SEL _cmd, id scroller, NSUInteger index)
{
    NSLog("-[<SBAppSliderController: %p> sliderScroller:%@ itemTapped:%u]", self, scroller,
          static_cast<unsigned>(index));
    auto *items = CVGetIvar<NSArray *>(scroller, "_items");
    id item = items && index < items->count() ? items->objectAtIndex(index) : nil;
    if (item && !msg<BOOL>(item, "isUserInteractionEnabled"_sel))
        return;
    orig_SBAppSliderController_itemTapped(self, _cmd, scroller, index);
}

// --- Leaving inactive apps out ---

void (*orig_SBAppSliderController_layout)(id, SEL);
void SBAppSliderController_layout(id self, SEL _cmd)
{
    orig_SBAppSliderController_layout(self, _cmd);
    auto *list = CVGetIvar<NSMutableArray *>(self, "_appList");
    if (gCVAppSlider.appsMode != kCVAppsModeHide || !list)
        return;
    msg<void>(self, "_beginAppListAccess"_sel);
    StrongRef<NSArray> copy = NSArray::arrayWithArray(list);
    id controller = msg<id>(objc_getClass("SBApplicationController"), "sharedInstance"_sel);
    for (id identifier : *copy) {
        id application =
            msg<id, id>(controller, "applicationWithDisplayIdentifier:"_sel, identifier);
        if (application && !CVApplicationIsRunning(application))
            list->removeObject(identifier);
    }
    msg<void>(self, "_endAppListAccess"_sel);
}

// --- Page scale ---

CGFloat (*orig_SBAppSliderController_scaleForFullscreenPageView)(id, SEL);
CGFloat SBAppSliderController_scaleForFullscreenPageView(id self, SEL _cmd)
{
    CGFloat scale = orig_SBAppSliderController_scaleForFullscreenPageView(self, _cmd);
    double factor = gCVAppSlider.pageScaleFactor;
    return factor > kCVPageScaleThreshold ? scale / factor : scale;
}

void (*orig_SBAppSliderController_updatePageViewScale)(id, SEL, CGFloat, CGFloat);
void SBAppSliderController_updatePageViewScale(id self, SEL _cmd, CGFloat scale,
                                               CGFloat xTranslation)
{
    double factor = gCVAppSlider.pageScaleFactor;
    orig_SBAppSliderController_updatePageViewScale(
        self, _cmd, factor > kCVPageScaleThreshold ? scale * factor : scale, xTranslation);
}

// --- The home screen's page ---

BOOL (*orig_SBAppSliderController_isIndexRemovable)(id, SEL, id, NSUInteger);
BOOL SBAppSliderController_isIndexRemovable(id self, SEL _cmd, id scroller, NSUInteger index)
{
    if (index == kHomePageIndex && CVHomeCardRemovable())
        return YES;
    return orig_SBAppSliderController_isIndexRemovable(self, _cmd, scroller, index);
}

void (*orig_SBAppSliderController_itemWantsToBeRemoved)(id, SEL, id, NSUInteger);
void SBAppSliderController_itemWantsToBeRemoved(id self, SEL _cmd, id scroller, NSUInteger index)
{
    if (index == kHomePageIndex)
        CVRelaunchForHomeAction();
    orig_SBAppSliderController_itemWantsToBeRemoved(self, _cmd, scroller, index);
}

// --- Icons ---

BOOL (*orig_SBAppSliderIconController_isIndexVisible)(id, SEL, NSUInteger, BOOL);
BOOL SBAppSliderIconController_isIndexVisible(id self, SEL _cmd, NSUInteger index, BOOL padding)
{
    if (gCVAppSlider.hideIcons)
        return NO;
    return orig_SBAppSliderIconController_isIndexVisible(self, _cmd, index, padding);
}

} // namespace

void AppSliderInit()
{
    Class snapshotView = objc_getClass("SBAppSliderSnapshotView");
    ReplaceMethod(snapshotView ? object_getClass(snapshotView) : Nil,
                  "appSliderSnapshotViewForApplication:orientation:loadAsync:withQueue:"
                  "statusBarCache:"_sel,
                  SBAppSliderSnapshotView_snapshotView, &orig_SBAppSliderSnapshotView_snapshotView);

    ReplaceMethod(objc_getClass("SBAppSliderScrollingViewController"),
                  "setOffsetToIndex:animated:completion:"_sel,
                  SBAppSliderScrollingViewController_setOffsetToIndex,
                  &orig_SBAppSliderScrollingViewController_setOffsetToIndex);

    Class controller = objc_getClass("SBAppSliderController");
    ReplaceMethod(controller, "sliderScroller:itemTapped:"_sel, SBAppSliderController_itemTapped,
                  &orig_SBAppSliderController_itemTapped);
    ReplaceMethod(controller, "_layout"_sel, SBAppSliderController_layout,
                  &orig_SBAppSliderController_layout);
    ReplaceMethod(controller, "_scaleForFullscreenPageView"_sel,
                  SBAppSliderController_scaleForFullscreenPageView,
                  &orig_SBAppSliderController_scaleForFullscreenPageView);
    ReplaceMethod(controller, "_updatePageViewScale:xTranslation:"_sel,
                  SBAppSliderController_updatePageViewScale,
                  &orig_SBAppSliderController_updatePageViewScale);
    ReplaceMethod(controller, "sliderScroller:isIndexRemovable:"_sel,
                  SBAppSliderController_isIndexRemovable,
                  &orig_SBAppSliderController_isIndexRemovable);
    ReplaceMethod(controller, "sliderScroller:itemWantsToBeRemoved:"_sel,
                  SBAppSliderController_itemWantsToBeRemoved,
                  &orig_SBAppSliderController_itemWantsToBeRemoved);

    ReplaceMethod(objc_getClass("SBAppSliderIconController"), "_isIndexVisible:withPadding:"_sel,
                  SBAppSliderIconController_isIndexVisible,
                  &orig_SBAppSliderIconController_isIndexVisible);
}
