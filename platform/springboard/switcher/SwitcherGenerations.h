#pragma once
// The switcher of each generation behind SwitcherHost: the same gestures, worked on the
// generation's own classes. Each generation's file provides its table; SwitcherHost
// picks the running generation's. Cards and pages are counted from the home screen's, 0.

#include "springboard/switcher/SwitcherSnapshots.h"
#include "uikit/UIImage.h"
#include "uikit/UIWindow.h"

#include <nlohmann/json_fwd.hpp>

namespace sim {

struct SwitcherGeneration {
    // The generation's switcher controller; the caller owns it.
    NSObject *(*create)();
    // Builds the pages for the home screen and the recently used applications and shows
    // them; a shown switcher is built afresh.
    void (*present)(NSObject *controller);
    void (*dismiss)(NSObject *controller);
    bool (*isPresented)(NSObject *controller);
    NSUInteger (*count)(NSObject *controller);
    // The display identifier of the page at the index.
    std::string (*identifierAt)(NSObject *controller, NSUInteger index);
    // A tap on the page, through the generation's own tap handling.
    void (*tap)(NSObject *controller, NSUInteger index);
    // Swiping the page up: false when SpringBoard does not let it go.
    bool (*swipeUp)(NSObject *controller, NSUInteger index);
    void (*scroll)(NSObject *controller, NSUInteger index);
    // The pages in order, as the dump shows them.
    nlohmann::json (*dump)(NSObject *controller);
};

const SwitcherGeneration &appSliderGeneration();
const SwitcherGeneration &appSwitcherGeneration();
const SwitcherGeneration &deckSwitcherGeneration();

// What a tap on a page leads to: the switcher closes and the application of the page, if
// any, comes to the front.
void switchToDisplayIdentifier(const std::string &displayIdentifier);

// A window over everything but alerts, placed as the home screen's window; shown.
StrongRef<UIWindow> newSwitcherWindow();
// Takes a switcher off the screen: hides its window, empties the controller's view and
// takes the view out of the window, and lets the window go.
void closeSwitcherWindow(id controller, StrongRef<UIWindow> &window);
// The dark backdrop behind the pages: the wallpaper, dimmed.
StrongRef<UIView> newSwitcherBackdrop(CGRect frame);
// The application's icon image, `side` points square (autoreleased).
UIImage *switcherIconImage(const std::string &displayIdentifier, CGFloat side);
// Scales a view about its centre.
void setScale(UIView *view, CGFloat scale);

// The row of pages of iOS 7 and 8: the centre of the index-th page when the focused one
// is in the middle of the screen, pages `scale` of the screen's size; and the centre of
// its icon beneath it.
CGPoint pageRowCentre(NSUInteger index, CGFloat focused, CGSize screen, CGFloat scale);
CGPoint pageRowIconCentre(NSUInteger index, CGFloat focused, CGSize screen, CGFloat scale);
inline constexpr CGFloat kPageRowIconSide = 60;

} // namespace sim
