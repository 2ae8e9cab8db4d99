// The home screen's scroll hooks: the effect step, the rest after deceleration, the
// Spotlight clamp, the folder icons' wallpaper clamp and iOS 9's return to the first page.

#include "springboard-extension/animations/IconsAnimation.h"

#include "darwin/CFNotificationCenter.h"
#include "effects/CVScreenMetrics.h"
#include "effects/CVScrollAnimations.h"
#include "foundation/NSArray.h"
#include "objc/NSObject.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/Replacement.h"
#include "uikit/UIScrollView.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace {

// "disableSpotlightValue": bit 1 the Spotlight page left of the first page, bit 2 the
// pull-down search.
constexpr std::uint32_t kLeftSpotlight = 1;
constexpr std::uint32_t kTopSpotlight = 2;

// Each animated page carries the side of the viewport it is on.
constexpr NSInteger kLeftPageTag = 1;
constexpr NSInteger kRightPageTag = 2;

using ScrollDelegateMethod = void (*)(UIView *, SEL, UIScrollView *);
ScrollDelegateMethod orig_SBFolderView_scrollViewDidScroll;
ScrollDelegateMethod orig_SBFolderView_scrollViewDidEndDecelerating;
ScrollDelegateMethod orig_SBFolderView_scrollViewWillBeginDragging;
void (*orig_SBFolderIconBackgroundView_setWallpaperRelativeCenter)(UIView *, SEL, CGPoint);

CVUIScrollAnimationFunction g_currentEffect;
bool g_observingLockComplete;

bool isIOS9()
{
    return CVRunningSystemGeneration() == CVSystemGenerationIOS9;
}

bool answers(id object, SEL selector)
{
    return msg<BOOL>(object, "respondsToSelector:"_sel, selector);
}

void chooseEffect()
{
    CVUIScrollAnimationID chosen = gCVAnimations.scrollAnimationType;
    g_currentEffect = chosen == CVUIScrollAnimationRandom ? CVUIRandomScrollAnimation()
                                                          : CVUIScrollAnimationForID(chosen);
}

// Keeps the user from scrolling onto the Spotlight page left of the first icon page.
void keepOffLeftSpotlight(UIView *folderView, UIScrollView *scrollView)
{
    if ((gCVIcons.disableSpotlightValue & ~kTopSpotlight) != kLeftSpotlight ||
        !answers(folderView, "_scrollOffsetForFirstListView"_sel))
        return;
    CGFloat firstList = msg<CGFloat>(folderView, "_scrollOffsetForFirstListView"_sel);
    CGPoint offset = msg<CGPoint>(scrollView, "contentOffset"_sel);
    if (offset.x < firstList)
        msg<void, CGPoint, BOOL>(scrollView, "setContentOffset:animated:"_sel,
                                 {firstList, offset.y}, NO);
}

// A whole page number in the 8 bits pages are counted in (−1 becomes 255).
std::uint8_t pageNumber(CGFloat whole)
{
    return static_cast<std::uint8_t>(static_cast<int>(std::fmod(whole, 256.0)));
}

struct VisiblePages {
    std::uint8_t left;
    std::uint8_t right;
};

// The pages at the left and right of the viewport for the icon-page position x; nothing
// when SpringBoard cannot say.
std::optional<VisiblePages> visiblePages(UIView *folderView, CGFloat x, CGFloat width)
{
    if (isIOS9()) {
        if (!answers(folderView, "currentPageIndex"_sel))
            return std::nullopt;
        auto left = static_cast<std::uint8_t>(msg<NSInteger>(folderView, "currentPageIndex"_sel));
        return VisiblePages{left, static_cast<std::uint8_t>(left + 1)};
    }
    CGFloat position = x / width;
    return VisiblePages{pageNumber(std::floor(position)), pageNumber(std::ceil(position))};
}

void animatePage(NSArray *lists, std::uint8_t index, NSInteger tag, CGFloat x, CGSize size)
{
    auto *page = static_cast<UIView *>(lists->objectAtIndex(index));
    msg<void, NSInteger>(page, "setTag:"_sel, tag);
    g_currentEffect(page, static_cast<float>(x - index * size.width), size);
}

void playEffect(UIView *folderView, UIScrollView *scrollView)
{
    if (!g_currentEffect || msg<BOOL>(folderView, "isEditing"_sel))
        return;
    CGFloat x = msg<CGPoint>(scrollView, "contentOffset"_sel).x;
    CGSize size = msg<CGRect>(scrollView, "frame"_sel).size;
    // A scroll view without width shows no page, and its position has no page number.
    if (!(size.width > 0) || !std::isfinite(x))
        return;
    if (isIOS9()) {
        // The first icon page does not start at 0: the Spotlight page comes before it.
        if (!answers(folderView, "_scrollOffsetForFirstListView"_sel))
            return;
        x -= msg<CGFloat>(folderView, "_scrollOffsetForFirstListView"_sel);
    }
    if (!answers(folderView, "iconListViews"_sel))
        return;
    NSArray *lists = msg<NSArray *>(folderView, "iconListViews"_sel);
    auto count = static_cast<std::uint8_t>(lists->count());
    std::optional<VisiblePages> pages = visiblePages(folderView, x, size.width);
    if (!pages)
        return;
    if (pages->left < count)
        animatePage(lists, pages->left, kLeftPageTag, x, size);
    if (pages->right != pages->left && pages->right < count)
        animatePage(lists, pages->right, kRightPageTag, x, size);
}

void SBFolderView_scrollViewDidScroll(UIView *self, SEL _cmd, UIScrollView *scrollView)
{
    orig_SBFolderView_scrollViewDidScroll(self, _cmd, scrollView);
    keepOffLeftSpotlight(self, scrollView);
    playEffect(self, scrollView);
}

// The pages are at rest again: so are their transforms. "Random" draws the effect of the
// next swipe now.
void SBFolderView_scrollViewDidEndDecelerating(UIView *self, SEL _cmd, UIScrollView *scrollView)
{
    orig_SBFolderView_scrollViewDidEndDecelerating(self, _cmd, scrollView);
    if (!g_currentEffect)
        return;
    CVUIResetScrollAnimations(scrollView);
    if (gCVAnimations.scrollAnimationType == CVUIScrollAnimationRandom)
        g_currentEffect = CVUIRandomScrollAnimation();
}

// On iOS 9 a drag can begin before the previous swipe came to rest (no deceleration end,
// so no reset): SpringBoard puts its icon lists back first.
void SBFolderView_scrollViewWillBeginDragging(UIView *self, SEL _cmd, UIScrollView *scrollView)
{
    orig_SBFolderView_scrollViewWillBeginDragging(self, _cmd, scrollView);
    if (isIOS9() && g_currentEffect && answers(self, "resetIconListViews"_sel))
        msg<void>(self, "resetIconListViews"_sel);
}

// The bounds are not symmetric: the centre keeps half the view's length from the top and
// left edges of the screen but a whole length from the right and bottom ones, as the
// wallpaper sampling of folder icons has always been bounded.
CGFloat keptOnScreen(CGFloat value, CGFloat viewLength, CGFloat screenLength)
{
    if (value < viewLength * 0.5)
        return viewLength * 0.5;
    if (value > screenLength - viewLength)
        return screenLength - viewLength;
    return value;
}

// A page that an effect moves far off (or turns) would have its folder icons sample
// wallpaper outside the screen.
void SBFolderIconBackgroundView_setWallpaperRelativeCenter(UIView *self, SEL _cmd, CGPoint center)
{
    CGSize screen = CVScreenMetrics::screenSize();
    CGSize size = msg<CGRect>(self, "frame"_sel).size;
    CGPoint kept = {keptOnScreen(center.x, size.width, screen.width),
                    keptOnScreen(center.y, size.height, screen.height)};
    orig_SBFolderIconBackgroundView_setWallpaperRelativeCenter(self, _cmd, kept);
}

void returnToFirstPageAfterLock(CFNotificationCenterRef, void *, CFNotificationName, const void *,
                                CFDictionaryRef)
{
    if (!gCVIcons.returnToFirstPage)
        return;
    static Class iconController = objc_getClass("SBIconController");
    id controller = msg<id>(iconController, "sharedInstance"_sel);
    msg<void, NSInteger, BOOL>(controller, "scrollToIconListAtIndex:animate:"_sel, 0, NO);
}

CFNotificationName lockCompleteNotification()
{
    return "com.apple.springboard.lockcomplete"_ns;
}

// The observation calls into this image, so it must not outlive it: SpringBoard unloads
// its extensions when it relaunches within one process.
void stopObservingLockComplete()
{
    if (g_observingLockComplete)
        CFNotificationCenterRemoveObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                           lockCompleteNotification(), nullptr);
    g_observingLockComplete = false;
}

} // namespace

void IconsAnimationInit()
{
    chooseEffect();
    gCVAnimations.changeCallback = chooseEffect;
    if (isIOS9()) {
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                        returnToFirstPageAfterLock, lockCompleteNotification(),
                                        nullptr, CFNotificationSuspensionBehaviorCoalesce);
        g_observingLockComplete = true;
        CVRegisterFeatureExit(stopObservingLockComplete);
    }
    Class folderView = objc_getClass("SBFolderView");
    ReplaceMethod(folderView, "scrollViewDidScroll:"_sel, SBFolderView_scrollViewDidScroll,
                  &orig_SBFolderView_scrollViewDidScroll);
    ReplaceMethod(folderView, "scrollViewDidEndDecelerating:"_sel,
                  SBFolderView_scrollViewDidEndDecelerating,
                  &orig_SBFolderView_scrollViewDidEndDecelerating);
    ReplaceMethod(folderView, "scrollViewWillBeginDragging:"_sel,
                  SBFolderView_scrollViewWillBeginDragging,
                  &orig_SBFolderView_scrollViewWillBeginDragging);
    ReplaceMethod(objc_getClass("SBFolderIconBackgroundView"), "setWallpaperRelativeCenter:"_sel,
                  SBFolderIconBackgroundView_setWallpaperRelativeCenter,
                  &orig_SBFolderIconBackgroundView_setWallpaperRelativeCenter);
}
