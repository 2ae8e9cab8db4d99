#include "preferences/PSViewController.h"

namespace {
namespace imp {

id initForContentSize(PSViewController *self, SEL, CGSize)
{
    return msg<id>(self, "init"_sel);
}

PSSpecifier *specifier(PSViewController *self, SEL)
{
    return self->m_specifier;
}

void setSpecifier(PSViewController *self, SEL, PSSpecifier *specifier)
{
    self->m_specifier = specifier;
}

id rootController(PSViewController *self, SEL)
{
    return self->m_rootController;
}

void setRootController(PSViewController *self, SEL, id controller)
{
    self->m_rootController = controller;
}

id parentController(PSViewController *self, SEL)
{
    return self->m_parentController;
}

void setParentController(PSViewController *self, SEL, id controller)
{
    self->m_parentController = controller;
}

} // namespace imp

const Class kRegistered = PSViewController::class_();

} // namespace

Class PSViewController::class_()
{
    static const Class cls = [] {
        UIViewController::class_();
        return ClassBuilder<PSViewController>("PSViewController", "UIViewController")
            .method("initForContentSize:", imp::initForContentSize)
            .method("specifier", imp::specifier)
            .method("setSpecifier:", imp::setSpecifier)
            .method("rootController", imp::rootController)
            .method("setRootController:", imp::setRootController)
            .method("parentController", imp::parentController)
            .method("setParentController:", imp::setParentController)
            .registerClass();
    }();
    return cls;
}
