#include "springboard/notification-center/NotificationCenterHost.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/lock-screen/LockScreen.h"
#include "springboard/notification-center/NotificationCenter.h"
#include "uikit/UIScreen.h"

#include <nlohmann/json.hpp>

namespace sim {

namespace {

SBNotificationCenterController *controller()
{
    return msg<SBNotificationCenterController *>(SBNotificationCenterController::class_(),
                                                 "sharedInstance"_sel);
}

// SpringBoard shows the lock screen's top grabber while Notification Center can be
// pulled; the lock screen decides (and an extension may overrule) by this message.
void offerTopGrabber()
{
    id lockScreen = msg<id>(SBLockScreenViewController::class_(), "sharedInstance"_sel);
    id view = msg<id>(lockScreen, "lockScreenView"_sel);
    SEL setHidden = "setTopGrabberHidden:forRequester:"_sel;
    if (view && msg<BOOL, SEL>(view, "respondsToSelector:"_sel, setHidden))
        msg<void, BOOL, NSString *>(view, setHidden, NO, "NotificationCenter"_ns);
}

} // namespace

void buildNotificationCenter()
{
    auto shared = StrongRef<SBNotificationCenterController>::adopt(
        create<SBNotificationCenterController>(SBNotificationCenterController::class_()));
    if (!shared)
        return;
    setNotificationCenterController(shared);
    msg<id>(shared->m_viewController, "backdropView"_sel);
    addEdgeGestureRecognizer(shared->m_showSystemGestureRecognizer);
    offerTopGrabber();
}

void disposeNotificationCenter()
{
    if (SBNotificationCenterController *shared = controller())
        setHidden(shared->m_window.get(), true);
    setNotificationCenterController(nil);
    postedBulletins().clear();
}

bool openNotificationCenter()
{
    SBNotificationCenterController *shared = controller();
    if (!shared)
        return false;
    swipeFromEdge(kSwipeDown, UIScreen::mainScreen()->bounds().size.height * 0.8);
    return shared->m_visible;
}

bool closeNotificationCenter()
{
    SBNotificationCenterController *shared = controller();
    if (!shared || !shared->m_visible)
        return false;
    msg<void, BOOL>(shared, "dismissAnimated:"_sel, YES);
    return true;
}

void postNotification(const std::string &bundleIdentifier, const std::string &text)
{
    postedBulletins().push_back({bundleIdentifier, text});
    SBNotificationCenterController *shared = controller();
    if (!shared)
        return;
    auto *modes = static_cast<NSArray *>(
        shared->m_viewController->m_modeViewController->m_viewControllers.get());
    for (const auto &mode : *modes)
        if (msg<BOOL, Class>(mode.get(), "isKindOfClass:"_sel,
                             SBNotificationsViewController::class_()))
            msg<void>(mode.get(), "_reloadRows"_sel);
}

nlohmann::json dumpNotificationCenter()
{
    SBNotificationCenterController *shared = controller();
    if (!shared)
        return nullptr;
    SBNotificationCenterViewController *viewController = shared->m_viewController;
    SBModeViewController *modes = viewController->m_modeViewController;
    nlohmann::json modeClasses = nlohmann::json::array();
    nlohmann::json tabs = nlohmann::json::array();
    nlohmann::json rows = nlohmann::json::array();
    for (const auto &mode : *static_cast<NSArray *>(modes->m_viewControllers.get())) {
        modeClasses.push_back(object_getClassName(mode.get()));
        auto *title = msg<NSString *>(mode.get(), "title"_sel);
        tabs.push_back(title ? title->str() : "");
        if (msg<BOOL, Class>(mode.get(), "isKindOfClass:"_sel,
                             SBNotificationsViewController::class_()) &&
            rows.empty())
            for (const auto &row : static_cast<SBNotificationsViewController *>(mode.get())->m_rows)
                rows.push_back(row->m_text ? row->m_text->str() : "");
    }
    _UIBackdropViewSettings *settings = viewController->m_backdropView->m_inputSettings;
    return {
        {"open", shared->m_visible},
        {"revealed", viewController->m_revealedFraction},
        {"gestureRegistered", displayHearsGestureRecognizer(shared->m_showSystemGestureRecognizer)},
        {"modes", modeClasses},
        {"tabs", tabs},
        {"notifications", rows},
        {"backdrop", backdropSettingsJson(settings)}};
}

} // namespace sim
