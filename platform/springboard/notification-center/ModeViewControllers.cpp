// Notification Center's mode view controller and the views it shows (NotificationCenter.h).

#include "springboard/notification-center/NotificationCenter.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"

namespace {

constexpr CGFloat kTabHeight = 44;
constexpr CGFloat kRowHeight = 44;

std::vector<sim::Bulletin> g_bulletins;

NSArray *controllersOf(SBModeViewController *self)
{
    return static_cast<NSArray *>(self->m_viewControllers.get());
}

void removeLabels(std::vector<StrongRef<UILabel>> &labels)
{
    for (const auto &label : labels)
        msg<void>(label, "removeFromSuperview"_sel);
    labels.clear();
}

namespace imp {

// --- The notifications ---

NSString *contentUnavailableText(SBNotificationsViewController *, SEL)
{
    return "No Notifications"_ns;
}

// One row per notification, newest first, or the text for none.
void reloadRows(SBNotificationsViewController *self, SEL)
{
    removeLabels(self->m_rows);
    UIView *view = msg<UIView *>(self, "view"_sel);
    UIFont *font = UIFont::systemFontOfSize(16);
    if (g_bulletins.empty())
        self->m_rows.push_back(
            sim::newLabel(CGRectZero, msg<NSString *>(self, "contentUnavailableText"_sel), font));
    for (auto it = g_bulletins.rbegin(); it != g_bulletins.rend(); ++it)
        self->m_rows.push_back(sim::newLabel(
            CGRectZero, NSString::stringWithString(it->bundleIdentifier + ": " + it->text), font));
    for (const auto &row : self->m_rows)
        sim::addSubview(view, row);
    msg<void>(self, "viewDidLayoutSubviews"_sel);
}

void notificationsViewWillAppear(SBNotificationsViewController *self, SEL, BOOL)
{
    msg<void>(self, "_reloadRows"_sel);
}

void notificationsDidLayout(SBNotificationsViewController *self, SEL)
{
    CGFloat width = msg<UIView *>(self, "view"_sel)->bounds().size.width;
    for (std::size_t i = 0; i < self->m_rows.size(); ++i)
        sim::setFrame(self->m_rows[i], {{0, 12 + i * kRowHeight}, {width, kRowHeight}});
}

void todayViewDidLoad(UIViewController *self, SEL)
{
    UIView *view = msg<UIView *>(self, "view"_sel);
    StrongRef<UILabel> label =
        sim::newLabel({{0, 12}, {0, kRowHeight}}, "Today"_ns, UIFont::systemFontOfSize(22));
    sim::addSubview(view, label);
}

void todayDidLayout(UIViewController *self, SEL)
{
    UIView *view = msg<UIView *>(self, "view"_sel);
    for (const auto &subview : view->m_subviews)
        sim::setFrame(subview, {{0, 12}, {view->bounds().size.width, kRowHeight}});
}

// --- The modes ---

id modeInit(SBModeViewController *self, SEL _cmd)
{
    if (!msgSuper<id>(SBModeViewController::class_(), self, _cmd))
        return nil;
    self->m_viewControllers = StrongRef<NSObject>(NSArray::array());
    return self;
}

NSArray *viewControllers(SBModeViewController *self, SEL)
{
    return controllersOf(self);
}

void setViewControllers(SBModeViewController *self, SEL, NSArray *controllers)
{
    self->m_viewControllers = StrongRef<NSObject>(NSArray::arrayWithArray(controllers));
    if (self->isViewLoaded())
        msg<void>(self, "_layoutModes"_sel);
}

void addViewController(SBModeViewController *self, SEL, UIViewController *controller)
{
    if (!controller)
        return;
    NSMutableArray *controllers = NSMutableArray::arrayWithArray(controllersOf(self));
    controllers->addObject(controller);
    msg<void, NSArray *>(self, "setViewControllers:"_sel, controllers);
}

// A tab per mode across the top; the first mode's view fills the rest.
void layoutModes(SBModeViewController *self, SEL)
{
    UIView *view = msg<UIView *>(self, "view"_sel);
    CGSize size = view->bounds().size;
    removeLabels(self->m_tabs);
    NSArray *controllers = controllersOf(self);
    CGFloat tabWidth = controllers->count() ? size.width / controllers->count() : 0;
    for (NSUInteger i = 0; i < controllers->count(); ++i) {
        auto *controller = static_cast<UIViewController *>(controllers->objectAtIndex(i));
        StrongRef<UILabel> tab =
            sim::newLabel({{i * tabWidth, 0}, {tabWidth, kTabHeight}},
                          msg<NSString *>(controller, "title"_sel), UIFont::systemFontOfSize(15));
        sim::addSubview(view, tab);
        self->m_tabs.push_back(tab);
        UIView *modeView = msg<UIView *>(controller, "view"_sel);
        if (modeView->m_superview != view)
            sim::addSubview(view, modeView);
        sim::setHidden(modeView, i != 0);
        sim::setFrame(modeView, {{0, kTabHeight}, {size.width, size.height - kTabHeight}});
        msg<void>(controller, "viewDidLayoutSubviews"_sel);
    }
    // Views of modes that left stay out of sight.
    for (const auto &subview : view->m_subviews) {
        bool shown = false;
        for (const auto &controller : *controllers)
            shown = shown || msg<UIView *>(controller.get(), "view"_sel) == subview.get();
        if (!shown && !msg<BOOL, Class>(subview.get(), "isKindOfClass:"_sel, UILabel::class_()))
            sim::setHidden(subview.get(), true);
    }
}

void modeViewWillAppear(SBModeViewController *self, SEL, BOOL animated)
{
    for (const auto &controller : *controllersOf(self))
        msg<void, BOOL>(controller.get(), "viewWillAppear:"_sel, animated);
    msg<void>(self, "_layoutModes"_sel);
}

} // namespace imp

} // namespace

Class SBNotificationsViewController::class_()
{
    return objc_getClass("SBNotificationsViewController");
}

Class SBModeViewController::class_()
{
    return objc_getClass("SBModeViewController");
}

namespace sim {

std::vector<Bulletin> &postedBulletins()
{
    return g_bulletins;
}

void registerNotificationModeClasses()
{
    HostClass<SBNotificationsViewController>("SBNotificationsViewController", "UIViewController")
        .method("contentUnavailableText", imp::contentUnavailableText)
        .method("_reloadRows", imp::reloadRows)
        .method("viewWillAppear:", imp::notificationsViewWillAppear)
        .method("viewDidLayoutSubviews", imp::notificationsDidLayout)
        .registerClass();
    HostClass<SBNotificationsViewController>("SBNotificationsAllModeViewController",
                                             "SBNotificationsViewController")
        .onGenerations(iOS7)
        .registerClass();
    HostClass<SBNotificationsViewController>("SBNotificationsMissedModeViewController",
                                             "SBNotificationsViewController")
        .onGenerations(iOS7)
        .registerClass();
    HostClass<UIViewController>("SBTodayViewController", "UIViewController")
        .method("viewDidLoad", imp::todayViewDidLoad)
        .method("viewDidLayoutSubviews", imp::todayDidLayout)
        .registerClass();
    HostClass<SBModeViewController>("SBModeViewController", "UIViewController")
        .ivar("_viewControllers", &SBModeViewController::m_viewControllers)
        .method("init", imp::modeInit)
        .method("viewControllers", imp::viewControllers)
        .method("setViewControllers:", imp::setViewControllers)
        .method("addViewController:", imp::addViewController)
        .method("_layoutModes", imp::layoutModes)
        .method("viewWillAppear:", imp::modeViewWillAppear)
        .registerClass();
}

} // namespace sim
