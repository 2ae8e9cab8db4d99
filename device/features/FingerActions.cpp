// A finger at a point of the screen, inside SpringBoard (FingerCommands.cpp checked the
// arguments). The point is in screen points; the topmost visible window under it is what
// the finger touches, as on the phone. On the home screen's pages (nothing in front of
// them, no folder open) the finger drags the pages as `swipe-pages` does, so the page-
// scroll effect follows it; a tap on an icon does what `launch` and `open-folder` do.

#include "features/FeatureLists.h"

#include "foundation/Clock.h"
#include "springboard/SBIcon.h"
#include "springboard/SBIconController.h"
#include "springboard/SBIconView.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/SpringBoardState.h"
#include "springboard/apps/ApplicationsHost.h"
#include "uikit/GestureInput.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIWindow.h"

#include <algorithm>

namespace sim {

namespace {

using Arguments = std::vector<std::string>;

// What the finger that is down holds: the pages, or the view it touched in a window.
struct Finger {
    enum class Holds { Nothing, Pages, Touch } holds = Holds::Nothing;
    StrongRef<UIWindow> window;
};

// Kept for the life of the process, as SpringBoard's own state is.
Finger &finger()
{
    static Finger *held = new Finger;
    return *held;
}

CGPoint pointOf(const Arguments &arguments, std::size_t first)
{
    return {std::stod(arguments[first]), std::stod(arguments[first + 1])};
}

bool contains(CGRect rect, CGPoint point)
{
    return point.x >= rect.origin.x && point.y >= rect.origin.y &&
           point.x < rect.origin.x + rect.size.width && point.y < rect.origin.y + rect.size.height;
}

// The topmost visible window under the screen point.
UIWindow *windowAt(CGPoint point)
{
    std::vector<UIWindow *> windows = visibleWindowsBottomUp();
    auto found = std::find_if(windows.rbegin(), windows.rend(), [&](UIWindow *window) {
        return window->alpha() > 0 && contains(window->frame(), point);
    });
    return found == windows.rend() ? nullptr : *found;
}

CGPoint inWindow(UIWindow *window, CGPoint screenPoint)
{
    CGRect frame = window->frame();
    return {screenPoint.x - frame.origin.x, screenPoint.y - frame.origin.y};
}

bool showsOnScreen(UIView *view)
{
    return view->alpha() > 0 && !view->isHidden();
}

// The deepest icon view under the point (in `window`), searching the frontmost views first.
SBIconView *iconViewAt(UIView *view, UIWindow *window, CGPoint windowPoint)
{
    if (!showsOnScreen(view))
        return nullptr;
    for (auto sub = view->m_subviews.rbegin(); sub != view->m_subviews.rend(); ++sub)
        if (SBIconView *found = iconViewAt(sub->get(), window, windowPoint))
            return found;
    if (!msg<BOOL>(view, "isKindOfClass:"_sel, SBIconView::class_()))
        return nullptr;
    CGPoint local = view->convertPointFromView(windowPoint, window);
    return contains(view->bounds(), local) ? static_cast<SBIconView *>(view) : nullptr;
}

SBIconController *iconController()
{
    return msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
}

// The home screen's page scroll view when the finger lands on it with nothing in front.
UIScrollView *pagesUnder(UIWindow *window, CGPoint screenPoint)
{
    SBIconController *icons = iconController();
    SpringBoardState &state = springBoardState();
    if (!icons || icons->m_openFolderController || window != state.homeScreenWindow.get())
        return nullptr;
    UIScrollView *scroll = icons->rootFolderView()->m_scrollView;
    CGPoint local = scroll->convertPointFromView(inWindow(window, screenPoint), window);
    return contains(scroll->bounds(), local) ? scroll : nullptr;
}

CGPoint inSuperview(UIScrollView *scroll, UIWindow *window, CGPoint screenPoint)
{
    return scroll->superview()->convertPointFromView(inWindow(window, screenPoint), window);
}

UIScrollView *homeScrollView()
{
    SBIconController *icons = iconController();
    return icons ? icons->rootFolderView()->m_scrollView : nullptr;
}

void fingerDown(CGPoint point)
{
    Finger &held = finger();
    held = {};
    UIWindow *window = windowAt(point);
    if (!window)
        return;
    held.window = window;
    SpringBoardState &state = springBoardState();
    if (UIScrollView *scroll = pagesUnder(window, point)) {
        // A finger that `swipe-pages --hold` left on the pages is this one, moved here.
        state.fingerLocation = inSuperview(scroll, window, point);
        if (state.fingerDown)
            dragScrollViewMoved(scroll, state.fingerLocation, now());
        else
            dragScrollViewBegan(scroll, state.fingerLocation, now());
        state.fingerDown = true;
        held.holds = Finger::Holds::Pages;
    } else if (touchDown(window, inWindow(window, point))) {
        held.holds = Finger::Holds::Touch;
    }
}

void fingerMoved(CGPoint point, bool lifts)
{
    Finger &held = finger();
    SpringBoardState &state = springBoardState();
    UIScrollView *scroll = homeScrollView();
    if (held.holds == Finger::Holds::Pages && scroll && state.fingerDown) {
        state.fingerLocation = inSuperview(scroll, held.window.get(), point);
        dragScrollViewMoved(scroll, state.fingerLocation, now());
        if (lifts) {
            dragScrollViewEnded(scroll, state.fingerLocation, now());
            state.fingerDown = false;
        }
    } else if (held.holds == Finger::Holds::Touch) {
        CGPoint local = inWindow(held.window.get(), point);
        lifts ? touchUp(local) : touchMove(local);
    }
    if (lifts)
        held = {};
}

ControlReply fingerAction(const Arguments &arguments)
{
    CGPoint point = pointOf(arguments, 1);
    if (arguments[0] == "down")
        fingerDown(point);
    else
        fingerMoved(point, arguments[0] == "up");
    return commandDone();
}

// An icon's own tap: its application comes to the front, or its folder opens.
ControlReply tapIcon(SBIconView *view)
{
    SBIconController *icons = iconController();
    if (icons->m_isEditing)
        return commandDone("the icons are being edited: a tap opens nothing\n");
    SBIcon *icon = view->m_icon.get();
    if (msg<BOOL>(icon, "isKindOfClass:"_sel, SBFolderIcon::class_())) {
        std::vector<SBIcon *> folders = icons->folderIcons();
        auto found = std::find(folders.begin(), folders.end(), icon);
        if (found == folders.end())
            return commandFailed("the folder is not on the home screen's pages");
        SpringBoardHost::openFolder(int(found - folders.begin()));
        return commandDone();
    }
    if (!msg<BOOL>(icon, "isKindOfClass:"_sel, SBApplicationIcon::class_()))
        return commandDone();
    std::string identifier = static_cast<SBApplicationIcon *>(icon)->m_bundleIdentifier->str();
    if (!ApplicationsHost::launch(identifier))
        return commandFailed(identifier + " cannot be launched");
    return commandDone();
}

ControlReply tap(const Arguments &arguments)
{
    CGPoint point = pointOf(arguments, 0);
    UIWindow *window = windowAt(point);
    if (!window)
        return commandDone("nothing on screen there\n");
    CGPoint local = inWindow(window, point);
    if (SBIconView *icon = iconViewAt(window, window, local))
        return tapIcon(icon);
    tapAt(window, local);
    return commandDone();
}

constexpr FeatureAction kActions[] = {
    {"finger", fingerAction},
    {"tap", tap},
};

} // namespace

std::span<const FeatureAction> fingerActions()
{
    return kActions;
}

} // namespace sim
