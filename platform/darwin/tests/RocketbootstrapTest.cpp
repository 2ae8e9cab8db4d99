// The rocketbootstrap stand-in, loaded as product code loads it: dlopen, functions by name.

#include "DeviceTest.h"

#include <dlfcn.h>

namespace {

using test::DeviceTest;

using UnlockFunction = kern_return_t (*)(const char *);
using LookUpFunction = kern_return_t (*)(mach_port_t, const char *, mach_port_t *);

class RocketbootstrapTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_library = dlopen(CV_ROCKETBOOTSTRAP_BUILT, RTLD_LAZY);
        ASSERT_NE(m_library, nullptr) << dlerror();
        m_unlock = reinterpret_cast<UnlockFunction>(dlsym(m_library, "rocketbootstrap_unlock"));
        m_lookUp = reinterpret_cast<LookUpFunction>(dlsym(m_library, "rocketbootstrap_look_up"));
        ASSERT_NE(m_unlock, nullptr);
        ASSERT_NE(m_lookUp, nullptr);
    }
    void TearDown() override
    {
        if (m_library)
            dlclose(m_library);
    }

    void *m_library = nullptr;
    UnlockFunction m_unlock = nullptr;
    LookUpFunction m_lookUp = nullptr;
};

TEST_F(RocketbootstrapTest, UnlockChecksTheNameAndLookUpFindsWhatBootstrapFinds)
{
    EXPECT_EQ(m_unlock(nullptr), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(m_unlock(""), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(m_unlock(std::string(128, 'n').c_str()), KERN_INVALID_ARGUMENT);
    mach_port_t port = makeService("test.rocket");
    ASSERT_NE(port, MACH_PORT_NULL);
    ASSERT_EQ(m_unlock("test.rocket"), KERN_SUCCESS);
    pid_t sender = test::forkChild([&] {
        mach_port_t service = MACH_PORT_NULL;
        if (m_lookUp(bootstrapPort(), "test.rocket", &service) != KERN_SUCCESS)
            return 2;
        if (m_lookUp(bootstrapPort(), "test.absent", &service) != BOOTSTRAP_UNKNOWN_SERVICE)
            return 3;
        test::InlineMessage message;
        test::makeInlineMessage(message, service, 11, "rocket");
        return test::sendMessage(message);
    });
    EXPECT_EQ(test::waitForChild(sender), 0);
    alignas(8) std::byte buffer[128];
    auto *header = reinterpret_cast<mach_msg_header_t *>(buffer);
    ASSERT_EQ(mach_msg(header, MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, sizeof(buffer), port,
                       test::kWatchdogMs, MACH_PORT_NULL),
              MACH_MSG_SUCCESS);
    EXPECT_EQ(header->msgh_id, 11);
    destroyReceiveRight(port);
}

} // namespace
