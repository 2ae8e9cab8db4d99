#pragma once
// A small settings panel for the application's tests, standing in for the real panel's
// bundle: a root page with a switch, a slider that shows its value, a text row and a
// link to a page that draws its own view (as the colour editor does) and records the
// touches it gets. Values live in a map; every setter call is recorded.

#include "foundation/NSNumber.h"
#include "preferences/Preferences.h"
#include "uikit/UITouch.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sample {

struct Panel {
    std::map<std::string, StrongRef<objc_object>> values;
    std::vector<std::pair<std::string, StrongRef<objc_object>>> writes;
    int rootPagesMade = 0;
    std::vector<std::pair<std::string, CGPoint>> touches; // phase, point on the drawn page
};

// The panel's state, reset for each test.
Panel &panel();

// Registers the classes once: "SampleRootPage" (a PSListController) and "SampleDrawnPage".
void registerClasses();

} // namespace sample
