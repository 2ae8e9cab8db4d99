#include "springboard/home-screen/SBIconModel.h"

#include "foundation/DeviceProfile.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"

namespace {

bool isSystemIdentifier(const std::string &identifier)
{
    return identifier.starts_with("com.apple.");
}

namespace imp {

NSString *bundleIdentifier(SBApplication *self, SEL)
{
    return self->m_bundleIdentifier;
}

BOOL isRecentlyUpdated(SBApplication *self, SEL)
{
    return self->m_recentlyUpdated;
}

NSArray *visibleIconIdentifiers(SBIconModel *self, SEL)
{
    return NSArray::arrayWithArray(self->m_identifiers);
}

BOOL isIconVisible(SBIconModel *, SEL, id icon)
{
    return icon != nil;
}

} // namespace imp

} // namespace

Class SBApplication::class_()
{
    return objc_getClass("SBApplication");
}

SBApplication *SBApplication::create(const std::string &bundleIdentifier)
{
    auto *application = sim::create<SBApplication>(class_());
    application->m_bundleIdentifier = NSString::stringWithString(bundleIdentifier);
    application->m_recentlyUpdated = !isSystemIdentifier(bundleIdentifier);
    return application;
}

Class SBIconModel::class_()
{
    return objc_getClass("SBIconModel");
}

SBIconModel *SBIconModel::create()
{
    auto *model = sim::create<SBIconModel>(class_());
    NSMutableArray *identifiers = NSMutableArray::array();
    for (const auto &application : sim::DeviceProfile::current()->installedApplications)
        identifiers->addObject(NSString::stringWithString(application.bundleIdentifier));
    model->m_identifiers = identifiers;
    return model;
}

SBIconModel *SBIconModel::shared()
{
    return static_cast<SBIconModel *>(sim::springBoardState().iconModel.get());
}

namespace sim {

void registerIconModelAndApplicationClasses()
{
    HostClass<SBApplication>("SBApplication", "NSObject")
        .method("bundleIdentifier", imp::bundleIdentifier)
        .method("_isRecentlyUpdated", imp::isRecentlyUpdated)
        .onGenerations(iOS8 | iOS9)
        .registerClass();
    HostClass<SBIconModel>("SBIconModel", "NSObject")
        .method("visibleIconIdentifiers", imp::visibleIconIdentifiers)
        .method("isIconVisible:", imp::isIconVisible)
        .registerClass();
}

} // namespace sim
