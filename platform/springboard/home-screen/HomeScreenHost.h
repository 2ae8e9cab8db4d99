#pragma once
// The device tool's entry points into the home screen's icons: dragging an icon in
// editing mode, and setting an application's badge. Each answers an empty string when it
// was done, or why it could not be.

#include <string>

namespace sim {

struct HomeScreenHost {
    // Drags the icon of the application (bundle identifier) or folder (its name) with a
    // finger, to the index-th place of its list (`to` a number from 0) or onto another
    // icon (`to` an identifier or folder name). Needs editing mode, as on the phone.
    static std::string dragIcon(const std::string &from, const std::string &to);
    // Sets the badge of the application's icon; empty text clears it.
    static std::string setBadge(const std::string &bundleIdentifier, const std::string &text);
    // Two fingers pinch inward on the open folder.
    static std::string pinchOpenFolder();
};

} // namespace sim
