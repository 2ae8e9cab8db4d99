// Bootstrap names: registration, look-up across processes, names that end with their
// process, and the argument checks of the bootstrap and sandbox calls.

#include "DeviceTest.h"
#include "darwin/sandbox.h"

#include <chrono>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using test::DeviceTest;

TEST_F(DeviceTest, ANameEndsWithItsProcessAndLookUpsNeedTheServices)
{
    test::Signal registered;
    pid_t owner = test::forkChild([&] {
        if (makeService("test.transient") == MACH_PORT_NULL)
            return 1;
        registered.send();
        return 0;
    });
    ASSERT_TRUE(registered.wait());
    ASSERT_EQ(test::waitForChild(owner), 0);

    // The services learn of the exit from the closed connection: poll briefly.
    mach_port_t found = MACH_PORT_NULL;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(test::kWatchdogMs);
    kern_return_t result;
    while ((result = bootstrap_look_up(bootstrapPort(), "test.transient", &found)) ==
               BOOTSTRAP_SUCCESS &&
           std::chrono::steady_clock::now() < deadline) {
        mach_port_deallocate(mach_task_self(), found);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(result, BOOTSTRAP_UNKNOWN_SERVICE);

    // Without services a look-up reaches nobody, until they run again.
    m_device.stopServices();
    mach_port_t nobody = MACH_PORT_NULL;
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), "test.anything", &nobody), MACH_SEND_INVALID_DEST);
    ASSERT_TRUE(m_device.startServices());
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), "test.anything", &nobody),
              BOOTSTRAP_UNKNOWN_SERVICE)
        << "the process connects again once services run";
}

TEST_F(DeviceTest, BootstrapCallsCheckTheirArguments)
{
    mach_port_t port = MACH_PORT_NULL;
    ASSERT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &port), KERN_SUCCESS);
    std::string tooLong(128, 'n');
    mach_port_t found = MACH_PORT_NULL;
    EXPECT_EQ(bootstrap_register(bootstrapPort(), tooLong.c_str(), port), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(bootstrap_register(bootstrapPort(), "", port), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(bootstrap_register(bootstrapPort(), "test.args", 0x4444403), KERN_INVALID_RIGHT);
    EXPECT_EQ(bootstrap_register(port, "test.args", port), MACH_SEND_INVALID_DEST)
        << "only the bootstrap port answers bootstrap calls";
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), nullptr, &found), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), "test.args", nullptr), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), tooLong.c_str(), &found), KERN_INVALID_ARGUMENT);

    std::string longest(127, 'n');
    EXPECT_EQ(bootstrap_register(bootstrapPort(), longest.c_str(), port), KERN_SUCCESS);
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), longest.c_str(), &found), KERN_SUCCESS);
    EXPECT_EQ(found, port);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), found), KERN_SUCCESS);
    // Registering a name again points it at the new port.
    mach_port_t second = makeService(longest.c_str());
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), longest.c_str(), &found), KERN_SUCCESS);
    EXPECT_EQ(found, second);
    EXPECT_EQ(mach_port_deallocate(mach_task_self(), found), KERN_SUCCESS);
    destroyReceiveRight(second);

    mach_port_t special = MACH_PORT_NULL;
    EXPECT_EQ(task_get_special_port(mach_task_self(), 99, &special), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(task_get_special_port(port, TASK_BOOTSTRAP_PORT, &special), KERN_INVALID_TASK);
    destroyReceiveRight(port);
}

TEST(Sandbox, EveryOperationIsAllowedButArgumentsAreChecked)
{
    EXPECT_EQ(sandbox_check(getpid(), "mach-lookup",
                            SANDBOX_FILTER_GLOBAL_NAME | SANDBOX_CHECK_NO_REPORT,
                            "com.example.service"),
              0);
    EXPECT_EQ(sandbox_check(getpid(), "file-read-data", SANDBOX_FILTER_NONE), 0);
    EXPECT_EQ(sandbox_check(getpid(), nullptr, SANDBOX_FILTER_NONE), -1);
    EXPECT_EQ(sandbox_check(getpid(), "mach-lookup", SANDBOX_FILTER_GLOBAL_NAME,
                            static_cast<const char *>(nullptr)),
              -1);
    EXPECT_EQ(sandbox_check(getpid(), "mach-lookup", 77, "name"), -1);
    EXPECT_EQ(sandbox_check(0, "mach-lookup", SANDBOX_FILTER_NONE), -1);
}

} // namespace
