#include "SwitcherTest.h"

#include "foundation/NSNumber.h"
#include "quartzcore/CAFilter.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SwitcherHost.h"
#include "springboard/switcher/SwitcherSnapshots.h"
#include "uikit/UIApplication.h"

namespace test {
namespace {

int g_relaunches = 0;

UIView *findSnapshot(UIView *view, const std::string &identifier)
{
    NSString *shown = nullptr;
    if (object_getClass(view) == SBAppSwitcherSnapshotView::class_())
        shown = static_cast<SBAppSwitcherSnapshotView *>(view)->m_displayIdentifier;
    else if (object_getClass(view) == SBAppSliderSnapshotView::class_())
        shown = static_cast<SBAppSliderSnapshotView *>(view)->m_displayIdentifier;
    if (shown && shown->str() == identifier)
        return view;
    for (const StrongRef<UIView> &child : view->m_subviews)
        if (UIView *found = findSnapshot(child, identifier))
            return found;
    return nullptr;
}

} // namespace

void SwitcherTest::TearDown()
{
    sim::setRelaunchHandler({});
    ExtensionTest::TearDown();
}

void SwitcherTest::launchWithApps(double coreFoundationVersion)
{
    launchWithExtension(phoneProfile(coreFoundationVersion));
    g_relaunches = 0;
    sim::setRelaunchHandler([] { ++g_relaunches; });
    sim::SpringBoardHost::unlock();
    for (const char *application : {kSafari, kMail}) {
        ASSERT_TRUE(sim::ApplicationsHost::launch(application));
        sim::SpringBoardHost::pressHome();
    }
    ASSERT_TRUE(sim::ApplicationsHost::quit(kMessages));
}

nlohmann::json SwitcherTest::openSwitcher()
{
    sim::SwitcherHost::close();
    EXPECT_TRUE(sim::SwitcherHost::open());
    return sim::SwitcherHost::dump();
}

std::vector<std::string> SwitcherTest::pages()
{
    return sim::SwitcherHost::dump().value("pages", std::vector<std::string>{});
}

UIView *SwitcherTest::snapshotOf(const std::string &bundleIdentifier)
{
    for (UIWindow *window : sim::visibleWindowsBottomUp())
        if (UIView *found = findSnapshot(window, bundleIdentifier))
            return found;
    return nullptr;
}

double SwitcherTest::containerAlphaOf(UIView *snapshot)
{
    UIView *container = object_getClass(snapshot) == SBAppSliderSnapshotView::class_()
                            ? static_cast<SBAppSliderSnapshotView *>(snapshot)->m_containerView
                            : static_cast<SBAppSwitcherSnapshotView *>(snapshot)->m_containerView;
    return container->alpha();
}

double SwitcherTest::blurRadiusOf(UIView *snapshot)
{
    NSArray *filters = snapshot->layer()->filters();
    if (!filters || filters->count() != 1)
        return 0;
    auto *filter = static_cast<CAFilter *>(filters->firstObject());
    EXPECT_EQ(filter->name()->str(), "gaussianBlur");
    auto *radius = static_cast<NSNumber *>(filter->valueForKey("inputRadius"_ns));
    return radius ? radius->doubleValue() : 0;
}

bool SwitcherTest::isRasterized(UIView *snapshot)
{
    return snapshot->layer()->shouldRasterize();
}

int SwitcherTest::relaunches()
{
    return g_relaunches;
}

} // namespace test
