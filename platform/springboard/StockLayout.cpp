#include "springboard/StockLayout.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

constexpr std::array<const char *, 4> kDockApplications = {
    "com.apple.mobilephone", "com.apple.mobilemail", "com.apple.mobilesafari", "com.apple.Music"};
constexpr std::size_t kFolderSize = 4;
constexpr std::size_t kFolderThreshold = 8;
constexpr const char *kFolderName = "Extras";

bool isSystemApplication(const InstalledApplication &application)
{
    return application.bundleIdentifier.starts_with("com.apple.");
}

StrongRef<SBIcon> iconFor(const InstalledApplication &application)
{
    return StrongRef<SBIcon>::adopt(
        SBApplicationIcon::create(application.bundleIdentifier, application.displayName));
}

// Appends the icons to the pages, starting a new page whenever the last one is full.
void fillPages(std::vector<StrongRef<NSArray>> &pages, const std::vector<StrongRef<SBIcon>> &icons,
               std::size_t iconsPerPage)
{
    for (SBIcon *icon : icons) {
        if (pages.empty() || pages.back()->count() >= iconsPerPage)
            pages.emplace_back(NSMutableArray::array());
        static_cast<NSMutableArray *>(pages.back().get())->addObject(icon);
    }
}

} // namespace

StockLayout makeStockLayout(const std::vector<InstalledApplication> &applications,
                            std::size_t iconsPerPage, SBIcon *newsstand)
{
    iconsPerPage = std::max<std::size_t>(iconsPerPage, 1);
    StockLayout layout;
    NSMutableArray *dock = NSMutableArray::array();
    for (const char *identifier : kDockApplications)
        for (const InstalledApplication &application : applications)
            if (application.bundleIdentifier == identifier)
                dock->addObject(iconFor(application));
    layout.dockIcons = dock;

    std::vector<StrongRef<SBIcon>> system;
    std::vector<StrongRef<SBIcon>> installed;
    for (const InstalledApplication &application : applications) {
        auto inDock = std::find(kDockApplications.begin(), kDockApplications.end(),
                                application.bundleIdentifier);
        if (inDock != kDockApplications.end())
            continue;
        (isSystemApplication(application) ? system : installed).push_back(iconFor(application));
    }

    if (system.size() > kFolderThreshold) {
        NSMutableArray *contents = NSMutableArray::array();
        for (auto it = system.end() - kFolderSize; it != system.end(); ++it)
            contents->addObject(*it);
        system.resize(system.size() - kFolderSize);
        auto folder = StrongRef<SBFolder>::adopt(SBFolder::create(kFolderName, contents));
        auto folderIcon = StrongRef<SBIcon>::adopt(SBFolderIcon::create(folder));
        // The folder's icon is on the first page, after the applications that fit there.
        auto position = std::min(system.size(), iconsPerPage - 1);
        system.insert(system.begin() + static_cast<std::ptrdiff_t>(position), folderIcon);
    }
    if (newsstand)
        system.emplace_back(newsstand);
    fillPages(layout.pages, system, iconsPerPage);
    if (!installed.empty())
        layout.pages.emplace_back(NSMutableArray::array());
    fillPages(layout.pages, installed, iconsPerPage);
    if (layout.pages.empty())
        layout.pages.emplace_back(NSArray::array());
    return layout;
}

} // namespace sim
