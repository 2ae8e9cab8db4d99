#include "SpringBoardTest.h"

#include "darwin/TemporaryDevice.h"
#include "foundation/DeviceRoot.h"
#include "substrate/substrate.h"

#include <filesystem>
#include <fstream>

namespace test {
namespace {

// One device for the whole binary: its services run in a process forked at start.
class DeviceEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        m_device = std::make_unique<sim::TemporaryDevice>();
        ASSERT_TRUE(m_device->ready());
    }
    void TearDown() override { m_device.reset(); }

private:
    std::unique_ptr<sim::TemporaryDevice> m_device;
};

[[maybe_unused]] testing::Environment *const kDevice =
    testing::AddGlobalTestEnvironment(new DeviceEnvironment);

std::string injectionDirectory()
{
    return sim::hostPath(sim::kInjectionDirectory);
}

} // namespace

sim::DeviceProfile phoneProfile(double coreFoundationVersion)
{
    sim::DeviceProfile profile;
    profile.coreFoundationVersion = coreFoundationVersion;
    return profile;
}

void SpringBoardTest::SetUp()
{
    std::filesystem::remove_all(injectionDirectory());
    ASSERT_TRUE(sim::makeDirectories(injectionDirectory()));
    sim::DeviceProfile::setCurrent(phoneProfile());
    sim::useVirtualClock(100);
}

void SpringBoardTest::TearDown()
{
    sim::SpringBoardHost::terminate();
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
}

void SpringBoardTest::launch(const sim::DeviceProfile &profile)
{
    sim::DeviceProfile::setCurrent(profile);
    ASSERT_TRUE(sim::SpringBoardHost::launch());
}

void SpringBoardTest::installExtension(const std::string &name, const std::string &filter)
{
    std::filesystem::copy_file(CV_SPRINGBOARD_TEST_EXTENSION,
                               injectionDirectory() + "/" + name + ".dylib");
    std::ofstream(injectionDirectory() + "/" + name + ".plist") << filter;
}

std::string SpringBoardTest::filterFor(const char *bundle)
{
    return std::string("<plist version=\"1.0\"><dict><key>Filter</key><dict><key>Bundles</key>"
                       "<array><string>") +
           bundle + "</string></array></dict></dict></plist>";
}

SBIconController *SpringBoardTest::iconController()
{
    return msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
}

SBRootFolderView *SpringBoardTest::rootFolderView()
{
    return iconController()->rootFolderView();
}

SBIconListView *SpringBoardTest::page(std::size_t index)
{
    return static_cast<SBIconListView *>(rootFolderView()->m_iconListViews->objectAtIndex(index));
}

SBIconListView *SpringBoardTest::dockList()
{
    return rootFolderView()->m_dockView->m_dockListView;
}

SBIconView *SpringBoardTest::iconView(SBIconListView *list, std::size_t index)
{
    return list->m_viewMap->mappedIconViewForIcon(
        static_cast<SBIcon *>(list->m_icons->objectAtIndex(index)));
}

CGPoint SpringBoardTest::iconOrigin(SBIconListView *list, std::size_t index)
{
    return iconView(list, index)->frame().origin;
}

int SpringBoardTest::watch(const char *name)
{
    int token = -1;
    int check = 0;
    EXPECT_EQ(notify_register_check(name, &token), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_check(token, &check), NOTIFY_STATUS_OK);
    return token;
}

bool SpringBoardTest::posted(int token)
{
    int check = 0;
    EXPECT_EQ(notify_check(token, &check), NOTIFY_STATUS_OK);
    return check == 1;
}

uint64_t SpringBoardTest::stateOf(const char *name)
{
    int token = -1;
    uint64_t state = 0;
    EXPECT_EQ(notify_register_check(name, &token), NOTIFY_STATUS_OK);
    EXPECT_EQ(notify_get_state(token, &state), NOTIFY_STATUS_OK);
    notify_cancel(token);
    return state;
}

IMP replaceMethod(Class cls, const char *selector, IMP implementation)
{
    SEL name = sel_registerName(selector);
    Method method = class_getInstanceMethod(cls, name);
    if (!method)
        return nullptr;
    if (class_addMethod(cls, name, implementation, method_getTypeEncoding(method)))
        return class_getMethodImplementation(class_getSuperclass(cls), name);
    return method_setImplementation(method, implementation);
}

} // namespace test
