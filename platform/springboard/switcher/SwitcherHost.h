#pragma once
// The app switcher as the device tool works it: a double press of the home button opens
// it (SBUIController's handleMenuDoubleTap), showing the home screen's page or card
// first (index 0) and the recently used applications after it, most recent first. A tap
// on a page closes the switcher and brings that application to the front (the home
// screen's page just closes it); swiping a page up removes it and ends its application,
// when SpringBoard lets it go; scrolling brings a page to the middle. The home button
// closes an open switcher. All of it belongs to the main thread.

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace sim {

struct SwitcherHost {
    // False, with a log line, while the device is locked. An application in front goes to
    // the background as the switcher opens.
    static bool open();
    static void close();
    static bool isOpen();
    // False, with a log line, when the switcher is closed or has no page at the index, and
    // for swipeUp when SpringBoard keeps the page. Scrolling past the last page is left to
    // the generation: the deck and the iOS 8 row stop at the last page, the iOS 7 slider
    // goes where it is asked.
    static bool tap(std::size_t index);
    static bool swipeUp(std::size_t index);
    static bool scroll(std::size_t index);
    // {"open": bool, and while open the generation's pages in order}.
    static nlohmann::json dump();
};

// What the home button does first: closes an open switcher, else sends the application in
// front to the background. False when neither was there: the press then acts on the home
// screen.
bool dismissSwitcherOrApplication();

// The switcher classes of the running generation, and the UI controller's answer to a
// double press of the home button.
void registerSwitcherClasses();

} // namespace sim
