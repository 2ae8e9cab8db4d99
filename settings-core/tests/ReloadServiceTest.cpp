// The reload service between two processes of one simulated device: this one plays the
// settings panel and sends; this binary run again as SpringBoard loads its settings (which
// starts the service), counts its change callbacks and reports what it received.

#include "DeviceTest.h"
#include "SettingsTestSupport.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSPropertyList.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVReloadService.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace cvtest;

constexpr int kSectionCount = 9;
int g_callbacks[kSectionCount];

template <int Section> void countUpdate()
{
    ++g_callbacks[Section];
}

void countEveryUpdate()
{
    gCVStatusBar.changeCallback = countUpdate<CVSectionIDStatusBar>;
    gCVIcons.changeCallback = countUpdate<CVSectionIDIcons>;
    gCVDock.changeCallback = countUpdate<CVSectionIDDock>;
    gCVAppSlider.changeCallback = countUpdate<CVSectionIDAppSlider>;
    gCVFolders.changeCallback = countUpdate<CVSectionIDFolders>;
    gCVLockScreen.changeCallback = countUpdate<CVSectionIDLockScreen>;
    gCVControlCenter.changeCallback = countUpdate<CVSectionIDControlCenter>;
    gCVAnimations.changeCallback = countUpdate<CVSectionIDAnimations>;
    gCVNotificationCenter.changeCallback = countUpdate<CVSectionIDNotificationCenter>;
}

std::string binaryPropertyList(id plist)
{
    NSData *data = NSPropertyListSerialization::dataFromPropertyList(
        plist, NSPropertyListBinaryFormat_v1_0, nullptr);
    return data ? std::string(static_cast<const char *>(data->bytes()), data->length()) : "";
}

// A one-key dictionary whose binary property list is exactly `length` bytes long.
NSDictionary *dictionarySerialisedTo(const char *key, std::size_t length)
{
    for (std::size_t characters = length - 256; characters <= length; ++characters) {
        std::string value(characters, 'a');
        for (std::size_t index = 0; index < characters; ++index)
            value[index] = static_cast<char>('a' + index % 26);
        NSDictionary *candidate = dict({{key, text(value.c_str())}});
        if (binaryPropertyList(candidate).size() == length)
            return candidate;
    }
    return nullptr;
}

// What the SpringBoard process received: how often each section's callback ran, every
// section as its getDictionary answered at the end, and how many received out-of-line
// regions were still mapped then.
struct Report {
    std::vector<int> callbacks;
    StrongRef<NSDictionary> sections;
    int outOfLineMappings = -1;

    id value(const char *name, const char *key) const
    {
        auto *entries =
            sections ? static_cast<NSDictionary *>(sections->objectForKey(text(name))) : nil;
        return entries ? entries->objectForKey(text(key)) : nil;
    }
};

// The SpringBoard process's end of its socket to the test: one byte from it once the
// service runs, one byte to it when it is time to report.
constexpr int kChannelDescriptor = 100;

bool readByte(int descriptor, int timeoutMs)
{
    pollfd entry{descriptor, POLLIN, 0};
    char byte;
    return poll(&entry, 1, timeoutMs) == 1 && read(descriptor, &byte, 1) == 1;
}

// Where the SpringBoard process leaves its report before it exits.
constexpr const char *kReportPath = "/var/mobile/Library/Preferences/reload-report.plist";

Report readReport()
{
    Report report;
    NSDictionary *plist = NSDictionary::dictionaryWithContentsOfFile(text(kReportPath));
    std::remove(sim::hostPath(kReportPath).c_str());
    if (!plist)
        return report;
    for (const auto &count : *static_cast<NSArray *>(plist->objectForKey("callbacks"_ns)))
        report.callbacks.push_back(static_cast<NSNumber *>(count.get())->intValue());
    report.sections = static_cast<NSDictionary *>(plist->objectForKey("sections"_ns));
    report.outOfLineMappings =
        static_cast<NSNumber *>(plist->objectForKey("outOfLineMappings"_ns))->intValue();
    return report;
}

// A process that is SpringBoard as far as the settings core can tell.
class SpringBoardProcess {
public:
    SpringBoardProcess()
    {
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return;
        m_channel = ends[0];
        const std::pair<int, int> descriptors[] = {{ends[1], kChannelDescriptor}};
        m_child = startAsApplication("reload-service", descriptors);
        close(ends[1]);
        m_ready = m_child > 0 && readByte(m_channel, test::kWatchdogMs);
    }

    ~SpringBoardProcess()
    {
        if (m_child > 0 && !m_finished) {
            kill(m_child, SIGKILL);
            test::waitForChild(m_child);
        }
        if (m_channel >= 0)
            close(m_channel);
    }

    SpringBoardProcess(const SpringBoardProcess &) = delete;
    SpringBoardProcess &operator=(const SpringBoardProcess &) = delete;

    bool ready() const { return m_ready; }

    // Lets the process handle what was sent, then collects its exit and its report.
    Report finish()
    {
        EXPECT_EQ(write(m_channel, "!", 1), 1);
        m_finished = true;
        EXPECT_EQ(test::waitForChild(m_child), 0);
        return readReport();
    }

private:
    int m_channel = -1;
    pid_t m_child = -1;
    bool m_ready = false;
    bool m_finished = false;
};

// Received out-of-line memory is a private mapping of the sender's sealed memory file.
int countOutOfLineMappings()
{
    std::ifstream maps("/proc/self/maps");
    int count = 0;
    for (std::string line; std::getline(maps, line);)
        count += line.find("/memfd:mach-ool") != std::string::npos;
    return count;
}

// The SpringBoard process's life: start the service, handle messages until asked for
// the report, write it.
int runAsSpringBoard()
{
    AutoreleasePool pool;
    CVLoadSettings();
    countEveryUpdate();
    if (write(kChannelDescriptor, "!", 1) != 1)
        return 1;
    bool asked = false;
    if (!test::runMainLoopUntil([&] { return asked || (asked = readByte(kChannelDescriptor, 0)); },
                                20000))
        return 2;
    // Whatever was sent before the request to finish is waiting: handle all of it.
    for (int round = 0; round < 1000; ++round)
        if (sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.1, true) !=
            sim::RunResult::HandledSource)
            break;
    NSMutableArray *callbacks = NSMutableArray::array();
    for (int count : g_callbacks)
        callbacks->addObject(integer(count));
    NSDictionary *report = dict({{"callbacks", callbacks},
                                 {"sections", everySection()},
                                 {"outOfLineMappings", integer(countOutOfLineMappings())}});
    return report->writeToFile(text(kReportPath), true) ? 0 : 3;
}

kern_return_t send(mach_msg_header_t &header)
{
    return mach_msg(&header, MACH_SEND_MSG, header.msgh_size, 0, MACH_PORT_NULL,
                    MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL);
}

// An inline message of `data`, which `forge` may alter before it is sent.
kern_return_t sendInline(mach_port_t service, mach_msg_id_t id, const std::string &data,
                         const std::function<void(test::InlineMessage &)> &forge = {})
{
    test::InlineMessage message;
    test::makeInlineMessage(message, service, id, data);
    if (forge)
        forge(message);
    return send(message.header);
}

// A complex message with `count` out-of-line descriptors of `data`, all of `type`.
kern_return_t sendOutOfLine(mach_port_t service, mach_msg_id_t id, const std::string &data,
                            unsigned type, std::size_t count = 1)
{
    struct {
        mach_msg_header_t header;
        mach_msg_body_t body;
        mach_msg_ool_descriptor_t descriptors[3];
        // The stand-in's sender reads msgh_size in a 32-bit process's layout (12-byte
        // descriptors), so a size counted in this process's 16-byte descriptors reaches
        // 4 bytes a descriptor past them.
        std::byte slack[3 * 4];
    } message{};
    message.header.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, 0) | MACH_MSGH_BITS_COMPLEX;
    message.header.msgh_size =
        static_cast<mach_msg_size_t>(offsetof(decltype(message), descriptors) + count * 16);
    message.header.msgh_remote_port = service;
    message.header.msgh_id = id;
    message.body.msgh_descriptor_count = static_cast<mach_msg_size_t>(count);
    for (std::size_t index = 0; index < count; ++index) {
        message.descriptors[index].address = const_cast<char *>(data.data());
        message.descriptors[index].size = static_cast<mach_msg_size_t>(data.size());
        message.descriptors[index].copy = MACH_MSG_VIRTUAL_COPY;
        message.descriptors[index].type = type;
    }
    return send(message.header);
}

class ReloadService : public test::DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")));
        CVLoadSettings();
    }

    static mach_port_t lookUpService()
    {
        mach_port_t service = MACH_PORT_NULL;
        EXPECT_EQ(bootstrap_look_up(bootstrapPort(), CVReloadServiceName, &service), KERN_SUCCESS);
        return service;
    }

    AutoreleasePool m_pool;
};

TEST(SectionMessage, UpTo4096BytesTravelInlineAndLongerDataOutOfLine)
{
    static std::uint8_t data[4097];
    CVSectionMessage message;
    // Inline sizes round up to four bytes.
    const std::pair<std::size_t, mach_msg_size_t> sizes[] = {{0, 40}, {5, 48}, {4096, 4136}};
    for (const auto &[length, size] : sizes) {
        CVMakeSectionMessage(message, 0x1234, CVSectionIDIcons, data, length);
        EXPECT_EQ(message.header.msgh_size, size) << length;
        EXPECT_EQ(message.body.msgh_descriptor_count, 0u);
    }

    CVMakeSectionMessage(message, 0x1234, CVSectionIDLockScreen, data, 4097);
    EXPECT_EQ(message.header.msgh_size, 40u);
    EXPECT_EQ(message.body.msgh_descriptor_count, 1u);
    // The panel keeps its copy: the sender must not give the memory away with the message.
    EXPECT_EQ(message.outOfLine.deallocate, 0);
}

// The panel's edit cycle: each update is saved, sent and applied with one callback, inline
// up to 4096 bytes and out of line beyond.
TEST_F(ReloadService, EveryUpdateSentIsAppliedWithOneCallback)
{
    NSDictionary *inlineUpdate = dictionarySerialisedTo("timeString", 4096);
    NSDictionary *outOfLineUpdate = dictionarySerialisedTo("carrierString", 4097);
    ASSERT_TRUE(inlineUpdate && outOfLineUpdate);
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    CVSendSectionUpdate(CVSectionIDStatusBar, inlineUpdate);
    CVSendSectionUpdate(CVSectionIDStatusBar, outOfLineUpdate);
    for (long long columns : {4, 5, 6}) {
        NSDictionary *change = dict({{"pages", dict({{"iconColumns", integer(columns)}})}});
        gCVIcons.load(change);
        CVSaveSettings();
        CVSendSectionUpdate(CVSectionIDIcons, change);
    }
    Report report = springboard.finish();

    EXPECT_EQ(report.callbacks, (std::vector<int>{2, 3, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(sim::objectsEqual(report.value("CVStatusBar", "timeString"),
                                  inlineUpdate->objectForKey("timeString"_ns)));
    EXPECT_TRUE(sim::objectsEqual(report.value("CVStatusBar", "carrierString"),
                                  outOfLineUpdate->objectForKey("carrierString"_ns)));
    auto *pages = static_cast<NSDictionary *>(report.value("CVIcons", "pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(static_cast<NSNumber *>(pages->objectForKey("iconColumns"_ns))->intValue(), 6);
}

// Only a well-formed update changes its section and calls its callback: whatever else
// arrives changes nothing, and no out-of-line memory stays mapped either way.
TEST_F(ReloadService, OnlyAWellFormedUpdateIsApplied)
{
    struct Case {
        const char *what;
        int appliedTo; // the section that takes `update`, or -1: nothing changes
        NSDictionary *update;
        std::function<kern_return_t(mach_port_t service, const std::string &update)> send;
    };
    constexpr int kNone = -1;
    NSDictionary *dock = dict({{"hideDock", boolean(true)}});
    NSDictionary *carrier = dictionarySerialisedTo("carrierString", 300);
    ASSERT_NE(carrier, nullptr);
    auto inlineAs = [](mach_msg_id_t id) {
        return [id](mach_port_t service, const std::string &update) {
            return sendInline(service, id, update);
        };
    };
    auto inlineData = [](const std::string &data) {
        return [data](mach_port_t service, const std::string &) {
            return sendInline(service, CVSectionIDDock, data);
        };
    };
    auto outOfLine = [](mach_msg_id_t id, unsigned type, std::size_t count) {
        return [=](mach_port_t service, const std::string &update) {
            return sendOutOfLine(service, id, update, type, count);
        };
    };
    const Case cases[] = {
        {"an update", CVSectionIDDock, dock, inlineAs(CVSectionIDDock)},
        {"an unknown section", kNone, dock, inlineAs(9)},
        // Only the message id's low byte names the section.
        {"id 256, the status bar's 0", CVSectionIDStatusBar, carrier, inlineAs(256)},
        {"data that is not a property list", kNone, dock,
         inlineData("bplist00 but not really a property list")},
        {"a property list that is not a dictionary", kNone, dock,
         inlineData(binaryPropertyList(list({text("hideDock")})))},
        // A length field larger than the message is not followed past the message's end:
        // the bytes the message carries are read, and here they are the whole update.
        {"an inline length larger than the message", CVSectionIDStatusBar, carrier,
         [](mach_port_t service, const std::string &update) {
             return sendInline(service, CVSectionIDStatusBar, update, [](auto &message) {
                 message.header.msgh_size = 32 + 300; // header, descriptor count, length
                 message.length = 4000;
             });
         }},
        // A descriptor in a message that is not complex has not been checked by the
        // kernel: it is just data, and the address it seems to hold must never be
        // followed. Here the length field and the first data bytes read as an
        // out-of-line descriptor of 16 bytes at a small, unmapped address.
        {"a descriptor count in a simple message", kNone, dock,
         [](mach_port_t service, const std::string &update) {
             const std::string lookalike("\0\0\0\0"    // the address's high half
                                         "\0\1\0\1"    // deallocate, copy, pad, type OOL
                                         "\x10\0\0\0", // size
                                         12);
             return sendInline(service, CVSectionIDDock, lookalike + update,
                               [](auto &message) { message.body.msgh_descriptor_count = 1; });
         }},
        {"one plain out-of-line descriptor", CVSectionIDDock, dock,
         outOfLine(CVSectionIDDock, MACH_MSG_OOL_DESCRIPTOR, 1)},
        {"two out-of-line descriptors", kNone, dock,
         outOfLine(CVSectionIDDock, MACH_MSG_OOL_DESCRIPTOR, 2)},
        {"a volatile descriptor", kNone, dock,
         outOfLine(CVSectionIDDock, MACH_MSG_OOL_VOLATILE_DESCRIPTOR, 1)},
        {"three volatile descriptors", kNone, dock,
         outOfLine(CVSectionIDDock, MACH_MSG_OOL_VOLATILE_DESCRIPTOR, 3)},
        {"an unknown section out of line", kNone, dock, outOfLine(9, MACH_MSG_OOL_DESCRIPTOR, 1)},
    };
    StrongRef<NSDictionary> defaults = everySection();
    for (const Case &message : cases) {
        SCOPED_TRACE(message.what);
        SpringBoardProcess springboard;
        ASSERT_TRUE(springboard.ready());
        mach_port_t service = lookUpService();
        EXPECT_EQ(message.send(service, binaryPropertyList(message.update)), KERN_SUCCESS);
        mach_port_deallocate(mach_task_self(), service);
        Report report = springboard.finish();

        EXPECT_EQ(report.outOfLineMappings, 0);
        std::vector<int> callbacks(kSectionCount, 0);
        if (message.appliedTo == kNone) {
            EXPECT_EQ(report.callbacks, callbacks);
            EXPECT_TRUE(sim::objectsEqual(report.sections, defaults));
            continue;
        }
        auto section = static_cast<std::size_t>(message.appliedTo);
        callbacks[section] = 1;
        EXPECT_EQ(report.callbacks, callbacks);
        // The sections after the global one are listed in message-id order.
        for (const auto &[key, value] : *message.update)
            EXPECT_TRUE(
                sim::objectsEqual(report.value(allSections()[section + 1].name,
                                               static_cast<NSString *>(key.get())->UTF8String()),
                                  value.get()));
    }
}

// A SpringBoard gone without a successor leaves its name registered to a right that no
// longer exists, so every look-up finds a dead right: the update is given up after its
// few look-ups (a sender without a bound would never return), and the next SpringBoard
// still gets the next one.
TEST_F(ReloadService, AnUpdateToAServiceThatStaysDeadIsGivenUp)
{
    mach_port_t stale = makeService(CVReloadServiceName);
    ASSERT_NE(stale, MACH_PORT_NULL);
    destroyReceiveRight(stale);
    CVSendSectionUpdate(CVSectionIDDock, dict({{"hideDock", boolean(true)}}));

    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    CVSendSectionUpdate(CVSectionIDDock, dict({{"hideBackground", boolean(true)}}));
    Report report = springboard.finish();
    EXPECT_EQ(report.callbacks[CVSectionIDDock], 1);
    EXPECT_TRUE(isNumber(report.value("CVDock", "hideDock"), NSNumber::Kind::Bool, 0));
}

TEST_F(ReloadService, AMessageShorterThanAnUpdateIsAnsweredWithAnEmptyOne)
{
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    mach_port_t service = lookUpService();
    mach_port_t replyPort = MACH_PORT_NULL;
    ASSERT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &replyPort),
              KERN_SUCCESS);
    mach_msg_header_t ping{};
    ping.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, MACH_MSG_TYPE_MAKE_SEND_ONCE);
    ping.msgh_size = sizeof(ping);
    ping.msgh_remote_port = service;
    ping.msgh_local_port = replyPort;
    ping.msgh_id = 7;
    ASSERT_EQ(send(ping), KERN_SUCCESS);

    struct {
        mach_msg_header_t header;
        std::uint8_t rest[64];
    } reply{};
    ASSERT_EQ(mach_msg(&reply.header, MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, sizeof(reply), replyPort,
                       test::kWatchdogMs, MACH_PORT_NULL),
              KERN_SUCCESS);
    EXPECT_EQ(reply.header.msgh_size, 40u);
    EXPECT_EQ(reply.header.msgh_id, 0);
    EXPECT_EQ(std::vector<std::uint8_t>(reply.rest, reply.rest + 16),
              std::vector<std::uint8_t>(16));
    EXPECT_EQ(springboard.finish().callbacks, std::vector<int>(kSectionCount, 0));
    destroyReceiveRight(replyPort);
    mach_port_deallocate(mach_task_self(), service);
}

} // namespace

int main(int argc, char **argv)
{
    if (springBoardRole(argc, argv) == "reload-service")
        return runAsSpringBoard();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
