// The iOS 9 card deck: DeckSwitcherInit.

#include "springboard-extension/system-ui/AppSwitcher.h"

#include "foundation/NSArray.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/system-ui/AppSwitcherShared.h"

#include <functional>

namespace {

using RemovalCompletion = std::function<void(BOOL)>;

void removeInactiveDisplayItems(id self);

// --- Snapshots ---

id (*orig_SBAppSwitcherSnapshotView_snapshotView)(Class, SEL, id, NSInteger, BOOL, BOOL, id);
id SBAppSwitcherSnapshotView_snapshotView(Class self, SEL _cmd, id displayItem,
                                          NSInteger orientation, BOOL preferringDownscaled,
                                          BOOL loadAsync, id queue)
{
    id view = orig_SBAppSwitcherSnapshotView_snapshotView(self, _cmd, displayItem, orientation,
                                                          preferringDownscaled, loadAsync, queue);
    return CVAdjustSnapshotView(view, CVDisplayItemIsRunning(displayItem));
}

// --- The deck ---

void (*orig_SBDeckSwitcherViewController_viewWillAppear)(id, SEL, BOOL);
void SBDeckSwitcherViewController_viewWillAppear(id self, SEL _cmd, BOOL animated)
{
    if (gCVAppSlider.appsMode == kCVAppsModeHide)
        removeInactiveDisplayItems(self);
    orig_SBDeckSwitcherViewController_viewWillAppear(self, _cmd, animated);
}

// The removals go through removeDisplayItem:… (replaced below), as SpringBoard's own do.
void removeInactiveDisplayItems(id self)
{
    auto *items = msg<NSArray *>(self, "displayItems"_sel);
    if (!items)
        return;
    StrongRef<NSArray> copy = NSArray::arrayWithArray(items);
    for (id item : *copy) {
        id application = CVApplicationWithBundleIdentifier(msg<id>(item, "displayIdentifier"_sel));
        if (application && !CVApplicationIsRunning(application))
            msg<void, id, BOOL, NSInteger, RemovalCompletion>(
                self, "removeDisplayItem:updateScrollPosition:forReason:completion:"_sel, item, NO,
                kCVInactiveRemovalReason, RemovalCompletion{});
    }
}

CGFloat (*orig_SBDeckSwitcherViewController_scaleForPresentedProgress)(id, SEL, CGFloat);
CGFloat SBDeckSwitcherViewController_scaleForPresentedProgress(id self, SEL _cmd, CGFloat progress)
{
    CGFloat scale =
        orig_SBDeckSwitcherViewController_scaleForPresentedProgress(self, _cmd, progress);
    if (progress < 1.0)
        return scale;
    double factor = gCVAppSlider.pageScaleFactor;
    return factor > kCVDeckScaleLimit ? kCVDeckLimitedScale : factor * kCVDeckScaleMultiplier;
}

BOOL (*orig_SBDeckSwitcherViewController_isDisplayItemOfContainerRemovable)(id, SEL, id);
BOOL SBDeckSwitcherViewController_isDisplayItemOfContainerRemovable(id self, SEL _cmd, id container)
{
    if (CVHomeCardRemovable() && container &&
        CVIsHomeDisplayItem(msg<id>(container, "displayItem"_sel)))
        return YES;
    return orig_SBDeckSwitcherViewController_isDisplayItemOfContainerRemovable(self, _cmd,
                                                                               container);
}

void (*orig_SBDeckSwitcherViewController_removeDisplayItem)(id, SEL, id, BOOL, NSInteger,
                                                            RemovalCompletion);
void SBDeckSwitcherViewController_removeDisplayItem(id self, SEL _cmd, id displayItem,
                                                    BOOL updateScrollPosition, NSInteger reason,
                                                    RemovalCompletion completion)
{
    if (CVIsHomeDisplayItem(displayItem))
        CVRelaunchForHomeAction();
    orig_SBDeckSwitcherViewController_removeDisplayItem(
        self, _cmd, displayItem, updateScrollPosition, reason, std::move(completion));
}

// --- Titles and icons above the cards ---

void (*orig_SBDeckSwitcherItemContainer_setTitleOpacity)(id, SEL, CGFloat);
void SBDeckSwitcherItemContainer_setTitleOpacity(id self, SEL _cmd, CGFloat opacity)
{
    orig_SBDeckSwitcherItemContainer_setTitleOpacity(self, _cmd,
                                                     gCVAppSlider.hideIcons ? 0.0 : opacity);
}

void (*orig_SBDeckSwitcherItemContainer_setTitleAndIconOpacity)(id, SEL, CGFloat);
void SBDeckSwitcherItemContainer_setTitleAndIconOpacity(id self, SEL _cmd, CGFloat opacity)
{
    orig_SBDeckSwitcherItemContainer_setTitleAndIconOpacity(self, _cmd,
                                                            gCVAppSlider.hideIcons ? 0.0 : opacity);
}

CGFloat (*orig_SBDeckSwitcherItemContainer_titleOpacity)(id, SEL);
CGFloat SBDeckSwitcherItemContainer_titleOpacity(id self, SEL _cmd)
{
    return gCVAppSlider.hideIcons ? 0.0 : orig_SBDeckSwitcherItemContainer_titleOpacity(self, _cmd);
}

CGFloat (*orig_SBDeckSwitcherItemContainer_titleAndIconOpacity)(id, SEL);
CGFloat SBDeckSwitcherItemContainer_titleAndIconOpacity(id self, SEL _cmd)
{
    return gCVAppSlider.hideIcons
               ? 0.0
               : orig_SBDeckSwitcherItemContainer_titleAndIconOpacity(self, _cmd);
}

} // namespace

void DeckSwitcherInit()
{
    Class snapshotView = objc_getClass("SBAppSwitcherSnapshotView");
    ReplaceMethod(snapshotView ? object_getClass(snapshotView) : Nil,
                  "appSwitcherSnapshotViewForDisplayItem:orientation:preferringDownscaledSnapshot:"
                  "loadAsync:withQueue:"_sel,
                  SBAppSwitcherSnapshotView_snapshotView,
                  &orig_SBAppSwitcherSnapshotView_snapshotView);

    Class deck = objc_getClass("SBDeckSwitcherViewController");
    ReplaceMethod(deck, "viewWillAppear:"_sel, SBDeckSwitcherViewController_viewWillAppear,
                  &orig_SBDeckSwitcherViewController_viewWillAppear);
    ReplaceMethod(deck, "_scaleForPresentedProgress:"_sel,
                  SBDeckSwitcherViewController_scaleForPresentedProgress,
                  &orig_SBDeckSwitcherViewController_scaleForPresentedProgress);
    ReplaceMethod(deck, "isDisplayItemOfContainerRemovable:"_sel,
                  SBDeckSwitcherViewController_isDisplayItemOfContainerRemovable,
                  &orig_SBDeckSwitcherViewController_isDisplayItemOfContainerRemovable);
    ReplaceMethod(deck, "removeDisplayItem:updateScrollPosition:forReason:completion:"_sel,
                  SBDeckSwitcherViewController_removeDisplayItem,
                  &orig_SBDeckSwitcherViewController_removeDisplayItem);

    Class container = objc_getClass("SBDeckSwitcherItemContainer");
    ReplaceMethod(container, "setTitleOpacity:"_sel, SBDeckSwitcherItemContainer_setTitleOpacity,
                  &orig_SBDeckSwitcherItemContainer_setTitleOpacity);
    ReplaceMethod(container, "setTitleAndIconOpacity:"_sel,
                  SBDeckSwitcherItemContainer_setTitleAndIconOpacity,
                  &orig_SBDeckSwitcherItemContainer_setTitleAndIconOpacity);
    ReplaceMethod(container, "titleOpacity"_sel, SBDeckSwitcherItemContainer_titleOpacity,
                  &orig_SBDeckSwitcherItemContainer_titleOpacity);
    ReplaceMethod(container, "titleAndIconOpacity"_sel,
                  SBDeckSwitcherItemContainer_titleAndIconOpacity,
                  &orig_SBDeckSwitcherItemContainer_titleAndIconOpacity);
}
