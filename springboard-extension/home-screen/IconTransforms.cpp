#include "springboard-extension/home-screen/IconTransforms.h"

#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "objc/NSObject.h"
#include "quartzcore/CATransform3D.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/home-screen/IconLists.h"

#include <cmath>
#include <functional>

namespace {

// The associated object's key is the address of this string, never its text.
const char kCrossfadingStatusKey[] = "crossfadingStatusKey";

// The perspective term: the float with bits 0x3C44CFBE.
constexpr float kPerspectiveTerm = 0.01201242f;
// Icons right of the list's middle come this far towards the viewer.
constexpr float kRaisedDepth = 10000.0f;
constexpr float kEdgeScale = 1.1f;
constexpr float kScaleSlope = 1.9f;
// At or below this, an image alpha setting would hide icons altogether; it is ignored.
constexpr float kLowestImageAlpha = 0.02f;
// Layouts shorter than this are SpringBoard's immediate ones, which other triggers cover.
constexpr float kShortestAnimatedLayout = 0.001f;

bool isCrossfading(id iconView)
{
    auto *status =
        static_cast<NSNumber *>(objc_getAssociatedObject(iconView, kCrossfadingStatusKey));
    return status && status->boolValue();
}

void setCrossfading(id iconView, bool crossfading)
{
    objc_setAssociatedObject(iconView, kCrossfadingStatusKey, NSNumber::numberWithBool(crossfading),
                             OBJC_ASSOCIATION_RETAIN);
}

void resetLayerTransforms(id view)
{
    id layer = msg<id>(view, "layer"_sel);
    msg<void, CATransform3D>(layer, "setTransform:"_sel, CATransform3DIdentity);
    msg<void, CATransform3D>(layer, "setSublayerTransform:"_sel, CATransform3DIdentity);
}

bool anyCoverFlow()
{
    return gCVIcons.pages.coverflow.enabled || gCVIcons.dock.coverflow.enabled ||
           gCVIcons.folders.coverflow.enabled;
}

// Whether icon transforms are in use at all: one list kind resizing or in cover flow
// makes every list apply its own base transform.
bool anyIconTransform()
{
    return gCVIcons.pages.resize || gCVIcons.dock.resize || gCVIcons.folders.resize ||
           anyCoverFlow();
}

CATransform3D baseTransform(const CVIconListEntity &entity)
{
    if (!entity.resize)
        return CATransform3DIdentity;
    auto factor = static_cast<float>(entity.resizeFactor);
    return CATransform3DMakeScale(factor, factor, 1.0f);
}

// The base transform turned and scaled for an icon centred `centerX` points from the
// list's left edge (less the scroll offset), in a list `listWidth` points wide.
CATransform3D coverFlowTransform(CATransform3D base, const CVCoverFlowSettings &coverflow,
                                 float centerX, float scrollOffset, float listWidth)
{
    base.m34 = coverflow.outside ? -kPerspectiveTerm : kPerspectiveTerm;
    base.m43 = centerX > listWidth * 0.5f ? kRaisedDepth : 0.0f;
    float position = (centerX - scrollOffset) / listWidth;
    auto flowFactor = static_cast<float>(coverflow.flowFactor);
    float angle = position * flowFactor - flowFactor * 0.5f;
    CATransform3D turned = CATransform3DRotate(base, angle, 0, 1, 0);
    float distance = std::fabs(kScaleSlope * position - 1.0f);
    float scale =
        kEdgeScale * distance + static_cast<float>(coverflow.perspective) * (1.0f - distance);
    return CATransform3DScale(turned, scale, scale, 1.0f);
}

// What one update does to every icon view of a list, worked out once per list.
struct IconUpdate {
    const CVIconListEntity &entity;
    bool setsTransforms;
    CATransform3D base;
    float scrollOffset;
    float listWidth;
};

void updateIconView(id view, const IconUpdate &update)
{
    if (isCrossfading(view))
        return;
    if (update.setsTransforms) {
        id layer = msg<id>(view, "layer"_sel);
        CATransform3D transform = update.base;
        if (update.entity.coverflow.enabled && update.listWidth > 0) {
            auto centerX = static_cast<float>(msg<CGPoint>(view, "center"_sel).x);
            transform = coverFlowTransform(transform, update.entity.coverflow, centerX,
                                           update.scrollOffset, update.listWidth);
        }
        msg<void, CATransform3D>(layer, "setSublayerTransform:"_sel, transform);
    }
    msg<void, BOOL>(view, "setLabelHidden:"_sel, update.entity.hideLabels);
    auto imageAlpha = static_cast<float>(gCVIcons.iconImageAlpha);
    if (imageAlpha > kLowestImageAlpha)
        msg<void, CGFloat>(view, "setIconImageAlpha:"_sel, imageAlpha);
}

void updateIconsOnceInitialized(id list)
{
    if (CVExtensionInitialized)
        updateIconsOfList(list, NO, 0);
}

void (*orig_SBIconListView_layoutIconsIfNeededDomino)(id, SEL, NSTimeInterval, BOOL);
void SBIconListView_layoutIconsIfNeededDomino(id self, SEL _cmd, NSTimeInterval duration,
                                              BOOL domino)
{
    orig_SBIconListView_layoutIconsIfNeededDomino(self, _cmd, duration, domino);
    if (duration > static_cast<double>(kShortestAnimatedLayout))
        updateIconsOnceInitialized(self);
}

void (*orig_SBIconListView_setOrientation)(id, SEL, NSInteger);
void SBIconListView_setOrientation(id self, SEL _cmd, NSInteger orientation)
{
    orig_SBIconListView_setOrientation(self, _cmd, orientation);
    updateIconsOfList(self, NO, 0);
}

void (*orig_SBIconListView_updateEditingStateForIconsAnimated)(id, SEL, id, BOOL);
void SBIconListView_updateEditingStateForIconsAnimated(id self, SEL _cmd, id icons, BOOL animated)
{
    orig_SBIconListView_updateEditingStateForIconsAnimated(self, _cmd, icons, animated);
    updateIconsOnceInitialized(self);
}

void (*orig_SBIconListView_layoutIconsNow)(id, SEL);
void SBIconListView_layoutIconsNow(id self, SEL _cmd)
{
    orig_SBIconListView_layoutIconsNow(self, _cmd);
    updateIconsOnceInitialized(self);
}

NSArray *(*orig_SBIconListView_visibleIcons)(id, SEL);
NSArray *SBIconListView_visibleIcons(id self, SEL _cmd)
{
    NSArray *visible = orig_SBIconListView_visibleIcons(self, _cmd);
    updateIconsOnceInitialized(self);
    return visible;
}

void (*orig_SBIconListView_setFrame)(id, SEL, CGRect);
void SBIconListView_setFrame(id self, SEL _cmd, CGRect frame)
{
    orig_SBIconListView_setFrame(self, _cmd, frame);
    updateIconsOfList(self, NO, 0);
}

// The methods this group adds keep the literal type encodings the system has always given
// them. Their "c" is the BOOL of 32-bit ARM, a signed char; callers pass and receive one.
using AddedFlag = signed char;

void SBIconListView_CV_updateIcons(id self, SEL, AddedFlag force)
{
    if (CVExtensionInitialized)
        updateIconsOfList(self, force, 0);
}

void (*orig_UIScrollView_notifyDidScroll)(id, SEL);
void UIScrollView_notifyDidScroll(id self, SEL _cmd)
{
    orig_UIScrollView_notifyDidScroll(self, _cmd);
    id superview = msg<id>(self, "superview"_sel);
    if (!msg<BOOL, Class>(superview, "isKindOfClass:"_sel, gCVClasses.SBDockIconListView))
        return;
    auto offset = static_cast<float>(msg<CGPoint>(self, "contentOffset"_sel).x);
    updateIconsOfList(superview, NO, offset);
}

using CrossfadeCompletion = std::function<void(BOOL)>;
void (*orig_SBZoomableCrossfadeView_crossfadeWithCompletion)(id, SEL, CrossfadeCompletion);
void SBZoomableCrossfadeView_crossfadeWithCompletion(id self, SEL _cmd,
                                                     CrossfadeCompletion completion)
{
    orig_SBZoomableCrossfadeView_crossfadeWithCompletion(self, _cmd, std::move(completion));
    markCrossfading(self, NO);
}

void (*orig_SBZoomableCrossfadeView_layoutSubviews)(id, SEL);
void SBZoomableCrossfadeView_layoutSubviews(id self, SEL _cmd)
{
    markCrossfading(self, YES);
    orig_SBZoomableCrossfadeView_layoutSubviews(self, _cmd);
}

void (*orig_SBFolderIconView_setFloatyFolderCrossfadeFraction)(id, SEL, CGFloat);
void SBFolderIconView_setFloatyFolderCrossfadeFraction(id self, SEL _cmd, CGFloat fraction)
{
    SEL setStatus = "_CV_CrossfadingStatus_setIsCrossfading:"_sel;
    if (msg<BOOL, SEL>(self, "respondsToSelector:"_sel, setStatus))
        msg<void, AddedFlag>(self, setStatus, fraction > 0.0);
    if (fraction > 0.0)
        resetLayerTransforms(self);
    orig_SBFolderIconView_setFloatyFolderCrossfadeFraction(self, _cmd, fraction);
}

// On iOS 9 the image crossfade view sits inside the icon view, under the icon's sublayer
// transform; carrying its inverse, the crossfade draws as if the icon had none.
void (*orig_SBIconImageCrossfadeView_prepareGeometry)(id, SEL);
void SBIconImageCrossfadeView_prepareGeometry(id self, SEL _cmd)
{
    orig_SBIconImageCrossfadeView_prepareGeometry(self, _cmd);
    if (!anyCoverFlow() || CVRunningSystemGeneration() != CVSystemGenerationIOS9)
        return;
    id superlayer = msg<id>(msg<id>(self, "superview"_sel), "layer"_sel);
    CATransform3D iconTransform = msg<CATransform3D>(superlayer, "sublayerTransform"_sel);
    msg<void, CATransform3D>(msg<id>(self, "layer"_sel), "setTransform:"_sel,
                             CATransform3DInvert(iconTransform));
}

AddedFlag SBIconView_CV_isCrossfading(id self, SEL)
{
    return isCrossfading(self);
}

void SBIconView_CV_setIsCrossfading(id self, SEL, AddedFlag crossfading)
{
    setCrossfading(self, crossfading);
}

} // namespace

void updateIconsOfList(id list, BOOL force, float scrollOffset)
{
    NSArray *icons = msg<NSArray *>(list, "icons"_sel);
    if (!icons)
        return;
    const CVIconListEntity &entity = entityForList(list);
    IconUpdate update{entity, force || anyIconTransform(), baseTransform(entity), scrollOffset, 0};
    if (update.setsTransforms && entity.coverflow.enabled)
        update.listWidth = static_cast<float>(msg<CGRect>(list, "frame"_sel).size.width);
    id viewMap = msg<id>(list, "viewMap"_sel);
    for (id icon : *icons)
        if (id view = msg<id, id>(viewMap, "mappedIconViewForIcon:"_sel, icon))
            updateIconView(view, update);
}

void markCrossfading(id crossfadeView, BOOL crossfading)
{
    id view = CVGetIvar<id>(crossfadeView, "_startView");
    while (view && object_getClass(view) != gCVClasses.SBIconView)
        view = msg<id>(view, "superview"_sel);
    if (!view)
        return;
    setCrossfading(view, crossfading);
    if (crossfading)
        resetLayerTransforms(view);
}

void applyIconListSettings()
{
    id controller = msg<id>(objc_getClass("SBIconController"), "sharedInstance"_sel);
    id rootFolderView =
        msg<id>(msg<id>(controller, "_rootFolderController"_sel), "contentView"_sel);
    id dockList = msg<id>(msg<id>(rootFolderView, "dockView"_sel), "dockListView"_sel);
    updateIconsOfList(dockList, YES, 0);
    msg<void>(controller, "relayout"_sel);
}

void InstallCrossfadeReplacements()
{
    Class zoomable = objc_getClass("SBZoomableCrossfadeView");
    ReplaceMethod(zoomable, "crossfadeWithCompletion:"_sel,
                  SBZoomableCrossfadeView_crossfadeWithCompletion,
                  &orig_SBZoomableCrossfadeView_crossfadeWithCompletion);
    ReplaceMethod(zoomable, "layoutSubviews"_sel, SBZoomableCrossfadeView_layoutSubviews,
                  &orig_SBZoomableCrossfadeView_layoutSubviews);
    ReplaceMethod(objc_getClass("SBFolderIconView"), "setFloatyFolderCrossfadeFraction:"_sel,
                  SBFolderIconView_setFloatyFolderCrossfadeFraction,
                  &orig_SBFolderIconView_setFloatyFolderCrossfadeFraction);
}

void InstallIconListTriggerReplacements()
{
    Class list = objc_getClass("SBIconListView");
    ReplaceMethod(list, "layoutIconsIfNeeded:domino:"_sel, SBIconListView_layoutIconsIfNeededDomino,
                  &orig_SBIconListView_layoutIconsIfNeededDomino);
    ReplaceMethod(list, "setOrientation:"_sel, SBIconListView_setOrientation,
                  &orig_SBIconListView_setOrientation);
    ReplaceMethod(list, "_updateEditingStateForIcons:animated:"_sel,
                  SBIconListView_updateEditingStateForIconsAnimated,
                  &orig_SBIconListView_updateEditingStateForIconsAnimated);
    ReplaceMethod(list, "layoutIconsNow"_sel, SBIconListView_layoutIconsNow,
                  &orig_SBIconListView_layoutIconsNow);
    ReplaceMethod(list, "visibleIcons"_sel, SBIconListView_visibleIcons,
                  &orig_SBIconListView_visibleIcons);
    ReplaceMethod(list, "setFrame:"_sel, SBIconListView_setFrame, &orig_SBIconListView_setFrame);
}

void AddUpdateIconsMethod()
{
    AddMethod(objc_getClass("SBIconListView"), "CV_updateIcons:"_sel, SBIconListView_CV_updateIcons,
              "v@:c");
}

void InstallDockScrollTrigger()
{
    ReplaceMethod(objc_getClass("UIScrollView"), "_notifyDidScroll"_sel,
                  UIScrollView_notifyDidScroll, &orig_UIScrollView_notifyDidScroll);
}

void InstallImageCrossfadeReplacement()
{
    ReplaceMethod(objc_getClass("SBIconImageCrossfadeView"), "prepareGeometry"_sel,
                  SBIconImageCrossfadeView_prepareGeometry,
                  &orig_SBIconImageCrossfadeView_prepareGeometry);
}

void AddCrossfadingStatusMethods()
{
    Class iconView = objc_getClass("SBIconView");
    AddMethod(iconView, "_CV_CrossfadingStatus_isCrossfading"_sel, SBIconView_CV_isCrossfading,
              "c@:");
    AddMethod(iconView, "_CV_CrossfadingStatus_setIsCrossfading:"_sel,
              SBIconView_CV_setIsCrossfading, "v@:c");
}
