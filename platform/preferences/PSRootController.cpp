#include "preferences/PSRootController.h"

namespace {
namespace imp {

id initWithTitleIdentifier(PSRootController *self, SEL, NSString *title, NSString *identifier)
{
    msg<id>(self, "init"_sel);
    msg<void, NSString *>(self, "setTitle:"_sel, title);
    self->m_identifier = StrongRef<NSString>::adopt(msg<NSString *>(identifier, "copy"_sel));
    return self;
}

NSString *identifier(PSRootController *self, SEL)
{
    return self->m_identifier;
}

UIView *contentView(PSRootController *self, SEL)
{
    return msg<UIView *>(self, "view"_sel);
}

UIViewController *lastController(PSRootController *self, SEL)
{
    return msg<UIViewController *>(self, "topViewController"_sel);
}

} // namespace imp

const Class kRegistered = PSRootController::class_();

} // namespace

Class PSRootController::class_()
{
    static const Class cls = [] {
        UINavigationController::class_();
        return ClassBuilder<PSRootController>("PSRootController", "UINavigationController")
            .method("initWithTitle:identifier:", imp::initWithTitleIdentifier)
            .method("identifier", imp::identifier)
            .method("contentView", imp::contentView)
            .method("lastController", imp::lastController)
            .registerClass();
    }();
    return cls;
}
