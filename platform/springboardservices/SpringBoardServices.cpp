#include "springboardservices/SpringBoardServices.h"

#include "foundation/DeviceProfile.h"
#include "springboard/Artwork.h"

#include <optional>

namespace {

// Icons are drawn at the home screen's icon size.
constexpr CGFloat kIconSide = 60;

std::optional<sim::InstalledApplication> applicationWithIdentifier(CFStringRef identifier)
{
    if (!identifier)
        return std::nullopt;
    for (const auto &application : sim::DeviceProfile::current()->installedApplications)
        if (application.bundleIdentifier == identifier->str())
            return application;
    return std::nullopt;
}

} // namespace

CFArrayRef SBSCopyApplicationDisplayIdentifiers(bool onlyActive, bool)
{
    AutoreleasePool pool;
    NSMutableArray *identifiers = NSMutableArray::array();
    for (const auto &application : sim::DeviceProfile::current()->installedApplications)
        if (!onlyActive || application.running)
            identifiers->addObject(NSString::stringWithString(application.bundleIdentifier));
    return retain(NSArray::arrayWithArray(identifiers));
}

CFStringRef SBSCopyLocalizedApplicationNameForDisplayIdentifier(CFStringRef identifier)
{
    std::optional<sim::InstalledApplication> application = applicationWithIdentifier(identifier);
    if (!application)
        return nullptr;
    AutoreleasePool pool;
    return retain(NSString::stringWithString(application->displayName));
}

CFDataRef SBSCopyIconImagePNGDataForDisplayIdentifier(CFStringRef identifier)
{
    std::optional<sim::InstalledApplication> application = applicationWithIdentifier(identifier);
    if (!application)
        return nullptr;
    AutoreleasePool pool;
    UIImage *icon = sim::applicationIconImage(application->bundleIdentifier,
                                              application->displayName, kIconSide);
    return retain(UIImagePNGRepresentation(icon));
}
