// The device services as a server: private to their user, one instance per device, and
// unmoved by malformed requests.

#include "DeviceTest.h"
#include "darwin/MessageWire.h"
#include "darwin/PortTable.h"
#include "darwin/ServicesProtocol.h"
#include "foundation/DeviceRoot.h"

#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using test::DeviceTest;

constexpr uid_t kNobody = 65534;

// One request on a raw connection: true when a reply came back within the watchdog.
bool exchange(int connection, sim::ServiceMessage request, sim::ServiceMessage &reply)
{
    if (sim::sendPacket(connection, std::as_bytes(std::span(&request, 1)), {}, test::kWatchdogMs) !=
        sim::SendStatus::Sent)
        return false;
    sim::Packet packet;
    return sim::waitReadable(connection, test::kWatchdogMs) &&
           sim::receivePacket(connection, sizeof(reply), packet) == sim::ReceiveStatus::Received &&
           sim::parseServiceMessage(packet.bytes, reply);
}

bool becomeNobody()
{
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

TEST_F(DeviceTest, TheRunDirectoryIsPrivateAndOnlyOneInstanceServesADevice)
{
    struct stat info {};
    ASSERT_EQ(stat(sim::hostPath("/var/run").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    sim::DeviceServices second;
    EXPECT_FALSE(second.start());
    mach_port_t found;
    EXPECT_EQ(bootstrap_look_up(bootstrapPort(), "test.none", &found), BOOTSTRAP_UNKNOWN_SERVICE)
        << "the first instance still answers";
}

TEST_F(DeviceTest, MalformedRequestsAreDroppedAndTheConnectionStillAnswers)
{
    sim::OwnedFd connection = sim::connectTo(sim::servicesSocketPath());
    ASSERT_TRUE(connection.valid());
    sim::ServiceMessage request = sim::makeServiceMessage(sim::ServiceKind::BootstrapLookUp);
    ASSERT_TRUE(sim::setServiceName(request, "test.none"));

    std::vector<std::byte> shortPacket(5, std::byte{0});
    sim::ServiceMessage unterminated = request;
    std::memset(unterminated.name, 'x', sizeof(unterminated.name));
    sim::ServiceMessage badKind = request;
    badKind.kind = static_cast<sim::ServiceKind>(77);
    sim::ServiceMessage badAddress = request;
    std::strcpy(badAddress.address, "../../etc");
    for (const sim::ServiceMessage *bad : {&unterminated, &badKind, &badAddress})
        ASSERT_EQ(sim::sendPacket(connection.get(), std::as_bytes(std::span(bad, 1)), {}, 1000),
                  sim::SendStatus::Sent);
    ASSERT_EQ(sim::sendPacket(connection.get(), shortPacket, {}, 1000), sim::SendStatus::Sent);

    request.sequence = 9;
    sim::ServiceMessage reply;
    ASSERT_TRUE(exchange(connection.get(), request, reply));
    EXPECT_EQ(reply.kind, sim::ServiceKind::Reply);
    EXPECT_EQ(reply.sequence, 9u) << "the first reply answers the first well-formed request";
    EXPECT_EQ(reply.status, unsigned(BOOTSTRAP_UNKNOWN_SERVICE));
}

// As root, a forked child drops to "nobody"; the run directory and sockets are opened up so
// that what refuses it is the server's peer check, not the file system.
class OtherUserTest : public DeviceTest {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to run a child as another user";
        DeviceTest::SetUp();
        for (const char *directory : {"/", "/var", "/var/run"})
            ASSERT_EQ(chmod(sim::hostPath(directory).c_str(), 0755), 0) << directory;
        ASSERT_EQ(chmod(sim::servicesSocketPath().c_str(), 0777), 0);
    }
};

TEST_F(OtherUserTest, TheServicesAndReceiveRightsRefuseAProcessOfAnotherUser)
{
    pid_t stranger = test::forkChild([] {
        if (!becomeNobody())
            return 2;
        sim::OwnedFd connection = sim::connectTo(sim::servicesSocketPath());
        if (!connection.valid())
            return 3; // the test must get as far as the server
        sim::ServiceMessage request = sim::makeServiceMessage(sim::ServiceKind::NotifyPost);
        if (!sim::setServiceName(request, "test.stranger"))
            return 4;
        sim::ServiceMessage reply;
        return exchange(connection.get(), request, reply) ? 1 : 0;
    });
    EXPECT_EQ(test::waitForChild(stranger), 0) << "a stranger must get no answer";

    // A receive right refuses it too.
    mach_port_t port = MACH_PORT_NULL;
    ASSERT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &port), KERN_SUCCESS);
    std::string path = sim::portSocketPath(*sim::PortTable::shared().addressOf(port));
    ASSERT_EQ(chmod(sim::hostPath("/var/run/ports").c_str(), 0755), 0);
    ASSERT_EQ(chmod(path.c_str(), 0777), 0);

    pid_t sender = test::forkChild([&] {
        if (!becomeNobody())
            return 2;
        sim::OwnedFd connection = sim::connectTo(path);
        if (!connection.valid())
            return 3;
        test::InlineMessage message;
        test::makeInlineMessage(message, 0, 1, "from a stranger");
        sim::OutgoingMessage packet;
        if (sim::encodeMessage(message.header, message.header.msgh_size, sim::ReplyRight::None, {},
                               packet) != MACH_MSG_SUCCESS)
            return 4;
        // The receiver closes the connection unread; whether this send lands first is moot.
        (void)sim::sendPacket(connection.get(), packet.bytes, {}, 1000);
        return 0;
    });
    EXPECT_EQ(test::waitForChild(sender), 0);
    alignas(8) std::byte buffer[256];
    auto *header = reinterpret_cast<mach_msg_header_t *>(buffer);
    EXPECT_EQ(mach_msg(header, MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, sizeof(buffer), port, 200, 0),
              MACH_RCV_TIMED_OUT);
    destroyReceiveRight(port);
}

} // namespace
