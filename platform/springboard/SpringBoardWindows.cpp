#include "springboard/SpringBoardWindows.h"

#include "springboard/Artwork.h"
#include "springboard/Generation.h"
#include "springboard/HostViews.h"
#include "springboard/SBIconController.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "springboard/status-bar/StatusBarViews.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImageView.h"
#include "uikit/UIScreen.h"

namespace sim {
namespace {

constexpr UIWindowLevel kWallpaperLevel = -2;
constexpr UIWindowLevel kLockScreenLevel = UIWindowLevelStatusBar - 1;

// How far iOS 7 turns a window for the interface orientation, in quarter turns
// (clockwise on screen).
int quarterTurnsFor(long orientation)
{
    switch (orientation) {
    case 2:
        return 2;
    case 3:
        return 1;
    case 4:
        return -1;
    default:
        return 0;
    }
}

// Quarter turns with exact sines and cosines, so that turned windows stay on whole
// pixels.
CGAffineTransform quarterTurns(int turns)
{
    CGFloat sine = turns == 1 ? 1 : turns == -1 ? -1 : 0;
    CGFloat cosine = turns == 0 ? 1 : turns == 2 ? -1 : 0;
    return {cosine, sine, -sine, cosine, 0, 0};
}

// Puts the window over `part` of the interface in that orientation.
void placeWindow(UIWindow *window, CGRect part, long orientation)
{
    if (!window)
        return;
    int turns = currentGeneration() == iOS7 ? quarterTurnsFor(orientation) : 0;
    msg<void, CGAffineTransform>(window, "setTransform:"_sel, CGAffineTransformIdentity);
    if (turns == 0)
        return setFrame(window, part);
    // The part's centre, measured from the interface's centre, turned onto the screen.
    CGAffineTransform turn = quarterTurns(turns);
    CGSize interface = SpringBoardMetrics::interfaceSize(orientation);
    CGRect screen = UIScreen::mainScreen()->bounds();
    CGFloat dx = part.origin.x + part.size.width / 2 - interface.width / 2;
    CGFloat dy = part.origin.y + part.size.height / 2 - interface.height / 2;
    CGPoint center = {screen.size.width / 2 + dx * turn.a + dy * turn.c,
                      screen.size.height / 2 + dx * turn.b + dy * turn.d};
    msg<void, CGRect>(window, "setBounds:"_sel, {{0, 0}, part.size});
    msg<void, CGPoint>(window, "setCenter:"_sel, center);
    msg<void, CGAffineTransform>(window, "setTransform:"_sel, turn);
}

// Runs the layout that the windows' changes asked for now, so that what the device tool
// reads or photographs right afterwards is already in place.
void layOutWindows(SpringBoardState &state)
{
    for (UIWindow *window : {state.wallpaperWindow.get(), state.homeScreenWindow.get(),
                             state.lockScreenWindow.get(), state.statusBarWindow.get()})
        msg<void>(window, "layoutIfNeeded"_sel);
}

StrongRef<UIWindow> newWindow(UIWindowLevel level)
{
    StrongRef<UIWindow> window = newView<UIWindow>(UIWindow::class_(), CGRectZero);
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, level);
    return window;
}

} // namespace

void buildSpringBoardWindows(SpringBoardState &state)
{
    state.wallpaperWindow = newWindow(kWallpaperLevel);
    auto wallpaper = StrongRef<UIImageView>::adopt(static_cast<UIImageView *>(msg<id, UIImage *>(
        msg<id>(UIImageView::class_(), "alloc"_sel), "initWithImage:"_sel, wallpaperImage())));
    addSubview(state.wallpaperWindow, wallpaper);

    state.homeScreenWindow = newWindow(UIWindowLevelNormal);
    auto *icons = static_cast<SBIconController *>(state.iconController.get());
    addSubview(state.homeScreenWindow, icons->rootFolderView());

    auto *lockScreen =
        static_cast<SBLockScreenViewController *>(state.lockScreenViewController.get());
    state.lockScreenWindow = newWindow(kLockScreenLevel);
    msg<void, id>(state.lockScreenWindow, "setRootViewController:"_sel, lockScreen);

    auto *aggregator =
        static_cast<SBStatusBarStateAggregator *>(state.statusBarStateAggregator.get());
    long orientation = UIApplication::sharedApplication()->statusBarOrientation();
    state.statusBarWindow = StrongRef<UIWindow>::adopt(
        createStatusBarWindow(aggregator, SpringBoardMetrics::interfaceSize(orientation).width));
    placeSpringBoardWindows(state, orientation);
}

void placeSpringBoardWindows(SpringBoardState &state, long orientation)
{
    CGSize interface = SpringBoardMetrics::interfaceSize(orientation);
    CGRect everything = {{0, 0}, interface};
    for (UIWindow *window :
         {state.wallpaperWindow.get(), state.homeScreenWindow.get(), state.lockScreenWindow.get()})
        placeWindow(window, everything, orientation);
    placeWindow(state.statusBarWindow, {{0, 0}, {interface.width, kStatusBarHeight}}, orientation);
    layOutStatusBar(state.statusBarWindow);
    // What fills a window follows it.
    if (!state.wallpaperWindow->m_subviews.empty())
        setFrame(state.wallpaperWindow->m_subviews.front(), everything);
    if (!state.lockScreenWindow->m_subviews.empty())
        setFrame(state.lockScreenWindow->m_subviews.front(), everything);
    layOutWindows(state);
}

void showSpringBoardWindows(SpringBoardState &state)
{
    setHidden(state.wallpaperWindow, false);
    setHidden(state.homeScreenWindow, state.locked);
    setHidden(state.lockScreenWindow, !state.locked);
    setHidden(state.statusBarWindow, false);
    msg<void>(state.locked ? state.lockScreenWindow : state.homeScreenWindow, "makeKeyWindow"_sel);
    layOutWindows(state);
}

} // namespace sim
