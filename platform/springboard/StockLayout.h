#pragma once
// Where a freshly set-up phone puts its applications. The dock holds the phone, mail,
// browser and music applications, when they are installed. The system's own applications
// (identifiers beginning "com.apple.") fill the first pages; once there are more than
// eight of them the last four go into an "Extras" folder, whose icon is on the first
// page. Applications the user installed start on a page of their own after those. Pages
// hold `iconsPerPage` icons each; a phone with no applications still has one, empty, page.
// A Newsstand icon, when SpringBoard has one, follows the system's applications.

#include "foundation/DeviceProfile.h"
#include "springboard/SBIcon.h"

#include <vector>

namespace sim {

struct StockLayout {
    StrongRef<NSArray> dockIcons;
    std::vector<StrongRef<NSArray>> pages;
};

StockLayout makeStockLayout(const std::vector<InstalledApplication> &applications,
                            std::size_t iconsPerPage, SBIcon *newsstand = nil);

} // namespace sim
