#include "preferences/PSViewController.h"

namespace {
namespace imp {

id initForContentSize(PSViewController *self, SEL, CGSize)
{
    return msg<id>(self, "init"_sel);
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
            .property<&PSViewController::m_specifier>("specifier")
            .property<&PSViewController::m_rootController>("rootController")
            .property<&PSViewController::m_parentController>("parentController")
            .registerClass();
    }();
    return cls;
}
