#include "uikit/UIViewController.h"

#include "uikit/UINavigationController.h"
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

NSString *title(UIViewController *self, SEL)
{
    return self->m_title;
}

// The title is also the navigation item's.
void setTitle(UIViewController *self, SEL, NSString *title)
{
    self->m_title = StrongRef<NSString>::adopt(msg<NSString *>(title, "copy"_sel));
    msg<void, NSString *>(self->navigationItem(), "setTitle:"_sel, self->m_title);
}

UINavigationItem *navigationItem(UIViewController *self, SEL)
{
    return self->navigationItem();
}

UINavigationController *navigationController(UIViewController *self, SEL)
{
    for (UIViewController *parent = self->m_parentViewController; parent;
         parent = parent->m_parentViewController)
        if (msg<BOOL>(parent, "isKindOfClass:"_sel, UINavigationController::class_()))
            return static_cast<UINavigationController *>(parent);
    return nil;
}

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
            .method("title", imp::title)
            .method("setTitle:", imp::setTitle)
            .method("navigationItem", imp::navigationItem)
            .getter<&UIViewController::m_parentViewController>("parentViewController")
            .method("navigationController", imp::navigationController)
            .method("viewWillAppear:", imp::appearance)
            .method("viewDidAppear:", imp::appearance)
            .method("viewWillDisappear:", imp::appearance)
            .method("viewDidDisappear:", imp::appearance)
            .method("supportedInterfaceOrientations", imp::supportedInterfaceOrientations)
            .method("shouldAutorotate", imp::shouldAutorotate)
            .registerClass();
    return cls;
}

UINavigationItem *UIViewController::navigationItem()
{
    if (!m_navigationItem) {
        m_navigationItem = StrongRef<UINavigationItem>::adopt(
            sim::create<UINavigationItem>(UINavigationItem::class_()));
        m_navigationItem->m_title = m_title;
    }
    return m_navigationItem;
}
