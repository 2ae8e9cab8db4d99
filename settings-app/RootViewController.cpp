#include "RootViewController.h"

#include "objc/runtime.h"

Class gCVRootListControllerClass = Nil;

namespace {

namespace imp {

// Made on first use and kept: launching again in the same process finds it.
PSListController *rootListController(RootViewController *self, SEL)
{
    if (!self->m_rootListController && gCVRootListControllerClass) {
        id specifier = msg<id>(msg<id>(PSSpecifier::class_(), "alloc"_sel), "init"_sel);
        msg<void>(specifier, "setTarget:"_sel, self);
        msg<void>(specifier, "setName:"_sel, "Corvane"_ns);
        id page = msg<id>(gCVRootListControllerClass, "alloc"_sel);
        page = msg<id, CGSize>(page, "initForContentSize:"_sel, CGSizeZero);
        msg<void>(page, "setRootController:"_sel, self);
        msg<void>(page, "setParentController:"_sel, self);
        msg<void>(page, "setSpecifier:"_sel, specifier);
        self->m_rootListController =
            StrongRef<PSListController>::adopt(static_cast<PSListController *>(page));
        objc_release(specifier);
    }
    return self->m_rootListController;
}

void loadView(RootViewController *self, SEL _cmd)
{
    msgSuper<void>(RootViewController::class_(), self, _cmd);
    // Without the panel's bundle there is no first page, and the window stays empty.
    if (PSListController *page = msg<PSListController *>(self, "rootListController"_sel))
        msg<void, id, BOOL>(self, "pushViewController:animated:"_sel, page, NO);
}

// Settings frameworks that lack contentView or topViewController offer view and
// lastController instead.
UIView *contentView(RootViewController *self, SEL _cmd)
{
    if (class_respondsToSelector(PSRootController::class_(), _cmd))
        return msgSuper<UIView *>(RootViewController::class_(), self, _cmd);
    return msgSuper<UIView *>(RootViewController::class_(), self, "view"_sel);
}

UIViewController *topViewController(RootViewController *self, SEL _cmd)
{
    if (class_respondsToSelector(PSRootController::class_(), _cmd))
        return msgSuper<UIViewController *>(RootViewController::class_(), self, _cmd);
    return msgSuper<UIViewController *>(RootViewController::class_(), self, "lastController"_sel);
}

} // namespace imp

const Class kRegistered = RootViewController::class_();

} // namespace

Class RootViewController::class_()
{
    static const Class cls = [] {
        PSRootController::class_();
        return ClassBuilder<RootViewController>("RootViewController", "PSRootController")
            .ivar("_rootListController", &RootViewController::m_rootListController)
            .method("rootListController", imp::rootListController)
            .method("loadView", imp::loadView)
            .method("contentView", imp::contentView)
            .method("topViewController", imp::topViewController)
            .registerClass();
    }();
    return cls;
}
