#include "SwitcherTest.h"

#include "foundation/NSNumber.h"
#include "quartzcore/CAFilter.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/tests/FrameTestSupport.h"
#include "springboard/apps/ApplicationsHost.h"
#include "springboard/switcher/SwitcherHost.h"
#include "springboard/switcher/SwitcherSnapshots.h"
#include "uikit/UIApplication.h"

#include <string_view>

namespace test {
namespace {

std::vector<void (*)()> g_installers;
int g_relaunches = 0;

bool isSwitcherInstaller(std::string_view name)
{
    return name == "AppSliderInit" || name == "AppSwitcherInit" || name == "DeckSwitcherInit";
}

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

void SwitcherTest::SetUp()
{
    SpringBoardTest::SetUp();
    for (CVInstaller &installer : CVFeatureInstallers()) {
        g_installers.push_back(installer.install);
        if (!isSwitcherInstaller(installer.name))
            installer.install = nullptr;
    }
}

void SwitcherTest::TearDown()
{
    sim::setRelaunchHandler({});
    SpringBoardTest::TearDown();
    std::size_t row = 0;
    for (CVInstaller &installer : CVFeatureInstallers())
        installer.install = g_installers[row++];
    g_installers.clear();
}

void SwitcherTest::launchWithApps(double coreFoundationVersion)
{
    fake::writeSettingsFile("");
    installExtension("CorvaneBoard", filterFor("com.apple.springboard"));
    launch(phoneProfile(coreFoundationVersion));
    ASSERT_TRUE(CVExtensionInitialized);
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
