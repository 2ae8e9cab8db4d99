#include "springboard/home-screen/SBIconModel.h"

#include "foundation/DeviceProfile.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"
#include "springboard/home-screen/Newsstand.h"

namespace {

namespace imp {

NSArray *visibleIconIdentifiers(SBIconModel *self, SEL)
{
    return NSArray::arrayWithArray(self->m_identifiers);
}

BOOL isIconVisible(SBIconModel *, SEL, id icon)
{
    return icon != nil;
}

void addNewsstandIcon(SBIconModel *self, SEL)
{
    if (!self->m_newsstandIcon)
        self->m_newsstandIcon = StrongRef<SBIcon>::adopt(SBNewsstandIcon::create());
}

} // namespace imp

} // namespace

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

void registerIconModelClass()
{
    HostClass<SBIconModel>("SBIconModel", "NSObject")
        .method("visibleIconIdentifiers", imp::visibleIconIdentifiers)
        .method("isIconVisible:", imp::isIconVisible)
        .method("_addNewsstandIcon", imp::addNewsstandIcon)
        .onGenerations(iOS7 | iOS8)
        .registerClass();
}

} // namespace sim
