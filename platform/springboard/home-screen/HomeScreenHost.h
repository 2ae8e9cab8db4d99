#pragma once
// The device tool's entry points into the home screen's icons: dragging an icon in
// editing mode, and setting an application's badge. Each answers an empty string when it
// was done, or why it could not be.

#include <nlohmann/json_fwd.hpp>

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
    // Pulls the pull-down Spotlight open (its sections asked afresh) or pushes it closed.
    // False when the pages would not move (`_canScrollY` NO).
    static bool setSpotlightOpen(bool open);
    // The pull-down Spotlight: whether it is open, and on iOS 9 its sections as its table
    // methods give them ({"header": title or null for an empty header, "rows": count}).
    static nlohmann::json spotlightDump();
};

} // namespace sim
