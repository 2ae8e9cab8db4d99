#include "springboard/apps/SBApplication.h"

#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"

#include <algorithm>

namespace {

bool sameText(NSString *text, const std::string &wanted)
{
    return text && text->str() == wanted;
}

namespace imp {

NSString *bundleIdentifier(SBApplication *self, SEL)
{
    return self->m_bundleIdentifier;
}

SBApplicationController *sharedInstance(id, SEL)
{
    return SBApplicationController::shared();
}

SBApplication *applicationWithBundleIdentifier(SBApplicationController *self, SEL,
                                               NSString *identifier)
{
    return identifier ? self->applicationWithBundleIdentifier(identifier->str()) : nil;
}

NSArray *allApplications(SBApplicationController *self, SEL)
{
    return NSArray::arrayWithArray(self->m_applications);
}

} // namespace imp

} // namespace

Class SBApplication::class_()
{
    return objc_getClass("SBApplication");
}

SBApplication *SBApplication::create(const sim::InstalledApplication &installed)
{
    auto *application = sim::create<SBApplication>(class_());
    application->m_bundleIdentifier = NSString::stringWithString(installed.bundleIdentifier);
    application->m_displayName = NSString::stringWithString(installed.displayName);
    application->m_running = installed.running;
    application->m_recentlyUpdated = !installed.bundleIdentifier.starts_with("com.apple.");
    return application;
}

Class SBApplicationController::class_()
{
    return objc_getClass("SBApplicationController");
}

SBApplicationController *SBApplicationController::shared()
{
    sim::SpringBoardState &state = sim::springBoardState();
    if (!state.applicationController && class_()) {
        auto *controller = sim::create<SBApplicationController>(class_());
        controller->m_applications = NSMutableArray::array();
        controller->m_recentApplications = NSMutableArray::array();
        for (const sim::InstalledApplication &installed :
             sim::DeviceProfile::current()->installedApplications) {
            auto application = StrongRef<SBApplication>::adopt(SBApplication::create(installed));
            controller->m_applications->addObject(application);
            if (installed.running)
                controller->m_recentApplications->addObject(application);
        }
        state.applicationController = StrongRef<NSObject>::adopt(controller);
    }
    return static_cast<SBApplicationController *>(state.applicationController.get());
}

SBApplication *
SBApplicationController::applicationWithBundleIdentifier(const std::string &bundleIdentifier) const
{
    for (id object : *m_applications) {
        auto *application = static_cast<SBApplication *>(object);
        if (sameText(application->m_bundleIdentifier, bundleIdentifier))
            return application;
    }
    return nil;
}

std::vector<SBApplication *> SBApplicationController::recentApplications() const
{
    std::vector<SBApplication *> recent;
    for (id object : *m_recentApplications)
        recent.push_back(static_cast<SBApplication *>(object));
    return recent;
}

void SBApplicationController::noteUsed(SBApplication *application)
{
    StrongRef<SBApplication> keep = application;
    m_recentApplications->removeObject(application);
    m_recentApplications->insertObjectAtIndex(application, 0);
}

void SBApplicationController::forget(SBApplication *application)
{
    m_recentApplications->removeObject(application);
}

namespace sim {

void registerApplicationModelClasses()
{
    HostClass<SBApplication>("SBApplication", "NSObject")
        .ivar("_bundleIdentifier", &SBApplication::m_bundleIdentifier)
        .ivar("_displayName", &SBApplication::m_displayName)
        .method("bundleIdentifier", imp::bundleIdentifier)
        // iOS 7 still named applications by display identifier: the same text.
        .method("displayIdentifier", imp::bundleIdentifier)
        .onGenerations(iOS7 | iOS8)
        .getter<&SBApplication::m_displayName>("displayName")
        .getter<&SBApplication::m_running>("isRunning")
        .getter<&SBApplication::m_recentlyUpdated>("_isRecentlyUpdated")
        .onGenerations(iOS8 | iOS9)
        .registerClass();

    HostClass<SBApplicationController>("SBApplicationController", "NSObject")
        .classMethod("sharedInstance", imp::sharedInstance)
        .method("applicationWithBundleIdentifier:", imp::applicationWithBundleIdentifier)
        .method("applicationWithDisplayIdentifier:", imp::applicationWithBundleIdentifier)
        .onGenerations(iOS7)
        .method("allApplications", imp::allApplications)
        .registerClass();
}

} // namespace sim
