// The device tool's hands on SpringBoard: the home button, the lock button, turning the
// device, a finger on the pages, editing and folders.

#include "springboard/SpringBoardHost.h"

#include "darwin/notify.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "springboard/SBIconController.h"
#include "springboard/SBUIController.h"
#include "springboard/SpringBoardWindows.h"
#include "springboard/backlight/Backlight.h"
#include "springboard/backlight/BacklightHost.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr double kFingerStep = 1.0 / 60;
constexpr double kRotationDuration = 0.3;
// How long a swipe takes: a moment, and a little more for each page it crosses.
constexpr double kSwipeBase = 0.3;
constexpr double kSwipePerPage = 0.1;
// How long the pages may take to come to rest before the swipe gives up waiting.
constexpr double kRestingLimit = 5;

SBIconController *iconController()
{
    return msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
}

// Lets time pass as it does on the device: the virtual clock is advanced, the real one
// waited for while the main run loop does its work.
void letTimePass(double seconds)
{
    if (isVirtualClock())
        advanceVirtualClock(seconds);
    else
        RunLoop::main().runInMode(kDefaultMode, seconds, false);
}

// A finger that stays down comes to a stop where it ends: most of its way in the middle
// of the swipe, little at the end. A finger that lets go moves at a steady pace and
// lifts while still moving, short of the page, so the pages decelerate onto it.
double heldFingerProgress(double fraction)
{
    return fraction * fraction * (3 - 2 * fraction);
}

constexpr double kFlickShare = 0.9; // of the way, before the finger lifts

// Locking darkens the screen and unlocking lights it, both through SpringBoard's backlight
// controller. The lock waits for the backlight request to return, as an extension may
// play something first, and an unlock whose request was dropped leaves the device
// locked and dark, as the phone would stay.
void setLocked(bool locked)
{
    SpringBoardState &state = springBoardState();
    if (!state.running || state.locked == locked)
        return;
    if (locked)
        BacklightHost::turnOff();
    else if (!BacklightHost::turnOn(SBBacklightChangeSourceUnlock))
        return;
    // A lock may have happened while the backlight request ran the loop.
    if (state.locked == locked)
        return;
    BacklightHost::cancelIdleDim();
    state.locked = locked;
    showSpringBoardWindows(state);
    publishLockState(state);
    notify_post("com.apple.springboard.lockstate");
    if (locked)
        notify_post("com.apple.springboard.lockcomplete");
}

} // namespace

void SpringBoardHost::pressHome()
{
    id controller = msg<id>(SBUIController::class_(), "sharedInstance"_sel);
    msg<void>(controller, "clickedMenuButton"_sel);
}

void SpringBoardHost::lock()
{
    setLocked(true);
}

void SpringBoardHost::unlock()
{
    setLocked(false);
}

bool SpringBoardHost::rotate(int orientation)
{
    if (orientation < 1 || orientation > 4) {
        NSLog("SpringBoard: %d is not an interface orientation (1 to 4)", orientation);
        return false;
    }
    SpringBoardState &state = springBoardState();
    DeviceProfile profile = *DeviceProfile::current();
    profile.orientation = orientation;
    DeviceProfile::setCurrent(profile);
    if (!state.running)
        return true;
    AutoreleasePool pool;
    placeSpringBoardWindows(state, orientation);
    if (SBIconController *icons = iconController())
        icons->rotate(orientation, kRotationDuration);
    return true;
}

void SpringBoardHost::swipePages(double toPage, bool hold)
{
    SBIconController *icons = iconController();
    if (!icons)
        return;
    if (!std::isfinite(toPage)) {
        NSLog("SpringBoard: cannot swipe to page position %f", toPage);
        return;
    }
    AutoreleasePool pool;
    SpringBoardState &state = springBoardState();
    SBRootFolderView *root = icons->rootFolderView();
    // A finger cannot pull the pages further than a page past either end.
    toPage = std::clamp(toPage, -double(root->m_leadingPageCount) - 1,
                        double(root->m_iconListViews->count()));
    UIScrollView *scroll = root->m_scrollView;
    CGRect frame = scroll->frame();
    if (!state.fingerDown) {
        state.fingerLocation = {frame.origin.x + frame.size.width / 2,
                                frame.origin.y + frame.size.height / 2};
        dragScrollViewBegan(scroll, state.fingerLocation, now());
        state.fingerDown = true;
    }
    double pages = toPage - root->iconListPosition();
    // The finger moves against the content: to see later pages it moves left.
    CGPoint start = state.fingerLocation;
    CGFloat travel = -pages * frame.size.width * (hold ? 1 : kFlickShare);
    auto steps =
        static_cast<int>(std::ceil((kSwipeBase + kSwipePerPage * std::abs(pages)) / kFingerStep));
    for (int step = 1; step <= steps; ++step) {
        letTimePass(kFingerStep);
        double fraction = double(step) / steps;
        double progress = hold ? heldFingerProgress(fraction) : fraction;
        state.fingerLocation = {start.x + travel * progress, start.y};
        dragScrollViewMoved(scroll, state.fingerLocation, now());
    }
    if (hold)
        return;
    dragScrollViewEnded(scroll, state.fingerLocation, now());
    state.fingerDown = false;
    for (double waited = 0;
         waited < kRestingLimit && scroll->m_motion != UIScrollView::Motion::None;
         waited += kFingerStep)
        letTimePass(kFingerStep);
}

void SpringBoardHost::setEditing(bool editing)
{
    msg<void, BOOL>(iconController(), "setIsEditing:"_sel, editing);
}

bool SpringBoardHost::openFolder(int index)
{
    SBIconController *icons = iconController();
    std::vector<SBIcon *> folders = icons ? icons->folderIcons() : std::vector<SBIcon *>{};
    if (index < 0 || static_cast<std::size_t>(index) >= folders.size()) {
        NSLog("SpringBoard: there is no folder %d on the home screen (%zu folders)", index,
              folders.size());
        return false;
    }
    SBFolder *folder = msg<SBFolder *>(folders[static_cast<std::size_t>(index)], "folder"_sel);
    msg<void, SBFolder *, BOOL>(icons, "openFolder:animated:"_sel, folder, YES);
    return true;
}

void SpringBoardHost::closeFolder()
{
    msg<void, BOOL>(iconController(), "closeFolderAnimated:"_sel, YES);
}

} // namespace sim
