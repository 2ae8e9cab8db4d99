#pragma once
// The fixture of every test that needs a device: a temporary device root with the
// device services running, and the calls a test makes over and over.

#include "ChildProcess.h"
#include "darwin/DeviceServices.h"
#include "darwin/TemporaryDevice.h"
#include "darwin/bootstrap.h"

#include <gtest/gtest.h>

namespace test {

class DeviceTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_device.ready()); }

    static mach_port_t bootstrapPort()
    {
        mach_port_t port = MACH_PORT_NULL;
        EXPECT_EQ(task_get_special_port(mach_task_self(), TASK_BOOTSTRAP_PORT, &port),
                  KERN_SUCCESS);
        return port;
    }

    // A new receive right registered under `name`; MACH_PORT_NULL on failure.
    static mach_port_t makeService(const char *name)
    {
        mach_port_t port = MACH_PORT_NULL;
        if (mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &port) != KERN_SUCCESS)
            return MACH_PORT_NULL;
        if (bootstrap_register(bootstrapPort(), name, port) != KERN_SUCCESS)
            return MACH_PORT_NULL;
        return port;
    }

    static void destroyReceiveRight(mach_port_t port)
    {
        EXPECT_EQ(mach_port_mod_refs(mach_task_self(), port, MACH_PORT_RIGHT_RECEIVE, -1),
                  KERN_SUCCESS);
    }

    sim::TemporaryDevice m_device;
};

} // namespace test
