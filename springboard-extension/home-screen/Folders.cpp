#include "springboard-extension/home-screen/Folders.h"

#include "foundation/CoreFoundation.h"
#include "objc/NSObject.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Replacement.h"

#include <functional>

namespace {

constexpr double kLastIOS7_0Version = 847.21;

using FolderCompletion = std::function<void()>;

BOOL (*orig_SBIconController_icon_canReceiveGrabbedIcon)(id, SEL, id, id);
BOOL SBIconController_icon_canReceiveGrabbedIcon(id self, SEL _cmd, id icon, id grabbedIcon)
{
    return gCVFolders.nestedFolders
               ? YES
               : orig_SBIconController_icon_canReceiveGrabbedIcon(self, _cmd, icon, grabbedIcon);
}

void (*orig_SBIconController__animateFolder_open_animated_withCompletion)(id, SEL, id, BOOL, BOOL,
                                                                          FolderCompletion);
void SBIconController__animateFolder_open_animated_withCompletion(id self, SEL _cmd, id folder,
                                                                  BOOL open, BOOL animated,
                                                                  FolderCompletion completion)
{
    orig_SBIconController__animateFolder_open_animated_withCompletion(
        self, _cmd, folder, open, gCVFolders.fastOpen ? NO : animated, std::move(completion));
}

BOOL (*orig_SBFolder_canEditDisplayName)(id, SEL);
BOOL SBFolder_canEditDisplayName(id self, SEL _cmd)
{
    return gCVFolders.lockFolderNames ? NO : orig_SBFolder_canEditDisplayName(self, _cmd);
}

// --- Pinch to close ---

// The folder views that already carry the group's pinch recognizer.
const char kPinchAddedKey = 0;

// SpringBoard configures a folder's gestures again when the folder turns; the pinch is
// added once per folder view, so recognizers do not pile up on it.
void addPinchToClose(id folderView)
{
    if (objc_getAssociatedObject(folderView, &kPinchAddedKey))
        return;
    id pinch =
        msg<id, id, SEL>(msg<id>(objc_getClass("UIPinchGestureRecognizer"), "alloc"_sel),
                         "initWithTarget:action:"_sel, folderView, "_handlePinchGesture:"_sel);
    msg<void, id>(pinch, "setDelegate:"_sel, folderView);
    msg<void, id>(folderView, "addGestureRecognizer:"_sel, pinch);
    objc_setAssociatedObject(folderView, &kPinchAddedKey, pinch, OBJC_ASSOCIATION_ASSIGN);
    objc_release(pinch);
}

void (*orig_SBFloatyFolderView__configureGestures)(id, SEL);
void SBFloatyFolderView__configureGestures(id self, SEL _cmd)
{
    orig_SBFloatyFolderView__configureGestures(self, _cmd);
    if (gCVFolders.pinchToClose)
        addPinchToClose(self);
}

BOOL (*orig_SBFolderIconBackgroundView_wantsBlur)(id, SEL, id);
BOOL SBFolderIconBackgroundView_wantsBlur(id self, SEL _cmd, id argument)
{
    return gCVFolders.unblurredIconBackground
               ? NO
               : orig_SBFolderIconBackgroundView_wantsBlur(self, _cmd, argument);
}

// --- Title ---

void setTitleHidden(id folderView, BOOL hidden)
{
    msg<void, BOOL>(CVGetIvar<id>(folderView, "_titleTextField"), "setHidden:"_sel, hidden);
}

void (*orig_SBFolderView_layoutSubviews)(id, SEL);
void SBFolderView_layoutSubviews(id self, SEL _cmd)
{
    orig_SBFolderView_layoutSubviews(self, _cmd);
    if (gCVFolders.hideTitle)
        setTitleHidden(self, !CVGetIvar<BOOL>(self, "_isEditing"));
}

void (*orig_SBFolderView_setEditing_animated)(id, SEL, BOOL, BOOL);
void SBFolderView_setEditing_animated(id self, SEL _cmd, BOOL editing, BOOL animated)
{
    orig_SBFolderView_setEditing_animated(self, _cmd, editing, animated);
    if (gCVFolders.hideTitle)
        setTitleHidden(self, !editing);
}

// --- The open folder's backdrop ---

void (*orig_SBFolderBackgroundView__configureBackground)(id, SEL);
void SBFolderBackgroundView__configureBackground(id self, SEL _cmd)
{
    if (!gCVFolders.transparentBackground)
        orig_SBFolderBackgroundView__configureBackground(self, _cmd);
}

void (*orig_SBFolderBackgroundView__configureAccessibilityBackground)(id, SEL);
void SBFolderBackgroundView__configureAccessibilityBackground(id self, SEL _cmd)
{
    if (!gCVFolders.transparentBackground)
        orig_SBFolderBackgroundView__configureAccessibilityBackground(self, _cmd);
}

BOOL (*orig_SBFolderBackgroundView__shouldUseDarkBackground)(id, SEL);
BOOL SBFolderBackgroundView__shouldUseDarkBackground(id self, SEL _cmd)
{
    return gCVFolders.darkBackground
               ? YES
               : orig_SBFolderBackgroundView__shouldUseDarkBackground(self, _cmd);
}

void installBackdrop()
{
    Class backdrop = objc_getClass("SBFolderBackgroundView");
    if (kCFCoreFoundationVersionNumber <= kLastIOS7_0Version) {
        ReplaceMethod(backdrop, "_configureBackground"_sel,
                      SBFolderBackgroundView__configureBackground,
                      &orig_SBFolderBackgroundView__configureBackground);
        return;
    }
    ReplaceMethod(backdrop, "_configureAccessibilityBackground"_sel,
                  SBFolderBackgroundView__configureAccessibilityBackground,
                  &orig_SBFolderBackgroundView__configureAccessibilityBackground);
    ReplaceMethod(backdrop, "_shouldUseDarkBackground"_sel,
                  SBFolderBackgroundView__shouldUseDarkBackground,
                  &orig_SBFolderBackgroundView__shouldUseDarkBackground);
}

} // namespace

void FoldersInit()
{
    Class controller = objc_getClass("SBIconController");
    ReplaceMethod(controller, "icon:canReceiveGrabbedIcon:"_sel,
                  SBIconController_icon_canReceiveGrabbedIcon,
                  &orig_SBIconController_icon_canReceiveGrabbedIcon);
    ReplaceMethod(controller, "_animateFolder:open:animated:withCompletion:"_sel,
                  SBIconController__animateFolder_open_animated_withCompletion,
                  &orig_SBIconController__animateFolder_open_animated_withCompletion);
    ReplaceMethod(objc_getClass("SBFolder"), "canEditDisplayName"_sel, SBFolder_canEditDisplayName,
                  &orig_SBFolder_canEditDisplayName);
    ReplaceMethod(objc_getClass("SBFloatyFolderView"), "_configureGestures"_sel,
                  SBFloatyFolderView__configureGestures,
                  &orig_SBFloatyFolderView__configureGestures);
    ReplaceMethod(objc_getClass("SBFolderIconBackgroundView"), "wantsBlur:"_sel,
                  SBFolderIconBackgroundView_wantsBlur, &orig_SBFolderIconBackgroundView_wantsBlur);
    Class folderView = objc_getClass("SBFolderView");
    ReplaceMethod(folderView, "layoutSubviews"_sel, SBFolderView_layoutSubviews,
                  &orig_SBFolderView_layoutSubviews);
    ReplaceMethod(folderView, "setEditing:animated:"_sel, SBFolderView_setEditing_animated,
                  &orig_SBFolderView_setEditing_animated);
    installBackdrop();
}
