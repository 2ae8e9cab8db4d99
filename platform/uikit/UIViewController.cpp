#include "uikit/UIViewController.h"

#include "uikit/UIScreen.h"

namespace {
namespace imp {

UIView *view(UIViewController *self, SEL)
{
    if (!self->m_view) {
        msg<void>(self, "loadView"_sel);
        msg<void>(self, "viewDidLoad"_sel);
    }
    return self->m_view;
}

void setView(UIViewController *self, SEL, UIView *view)
{
    self->m_view = view;
}

BOOL isViewLoaded(UIViewController *self, SEL)
{
    return self->isViewLoaded();
}

void loadView(UIViewController *self, SEL)
{
    id view = msg<id, CGRect>(msg<id>(UIView::class_(), "alloc"_sel), "initWithFrame:"_sel,
                              UIScreen::mainScreen()->bounds());
    self->m_view = StrongRef<UIView>::adopt(static_cast<UIView *>(view));
}

void viewDidLoad(UIViewController *, SEL) {}

void appearance(UIViewController *, SEL, BOOL) {}

UIInterfaceOrientationMask supportedInterfaceOrientations(UIViewController *, SEL)
{
    return UIInterfaceOrientationMaskAll;
}

BOOL shouldAutorotate(UIViewController *, SEL)
{
    return YES;
}

} // namespace imp

const Class kRegistered = UIViewController::class_();

} // namespace

Class UIViewController::class_()
{
    static const Class cls =
        ClassBuilder<UIViewController>("UIViewController", "NSObject")
            .method("view", imp::view)
            .method("setView:", imp::setView)
            .method("isViewLoaded", imp::isViewLoaded)
            .method("loadView", imp::loadView)
            .method("viewDidLoad", imp::viewDidLoad)
            .method("viewWillAppear:", imp::appearance)
            .method("viewDidAppear:", imp::appearance)
            .method("viewWillDisappear:", imp::appearance)
            .method("viewDidDisappear:", imp::appearance)
            .method("supportedInterfaceOrientations", imp::supportedInterfaceOrientations)
            .method("shouldAutorotate", imp::shouldAutorotate)
            .registerClass();
    return cls;
}
