#include "springboard/SBFolderController.h"

#include "springboard/HostClass.h"

namespace {

namespace imp {

BOOL isOpen(SBFolderController *self, SEL)
{
    return self->m_contentView && self->m_contentView->window();
}

} // namespace imp

} // namespace

Class SBFolderController::class_()
{
    return objc_getClass("SBFolderController");
}

Class SBRootFolderController::class_()
{
    return objc_getClass("SBRootFolderController");
}

SBFolderController *SBFolderController::create(Class cls, SBFolder *folder, SBFolderView *view)
{
    auto *controller = sim::create<SBFolderController>(cls);
    controller->m_folder = folder;
    controller->m_contentView = view;
    return controller;
}

namespace sim {

void registerFolderControllerClasses()
{
    HostClass<SBFolderController>("SBFolderController", "NSObject")
        .ivar("_contentView", &SBFolderController::m_contentView)
        .getter<&SBFolderController::m_contentView>("contentView")
        .getter<&SBFolderController::m_folder>("folder")
        .method("isOpen", imp::isOpen)
        .registerClass();
    HostClass<SBRootFolderController>("SBRootFolderController", "SBFolderController")
        .registerClass();
}

} // namespace sim
