// The reload service between two real processes of one simulated device: this process
// plays the settings panel and sends; a second process (this binary, run again) plays
// SpringBoard: its main bundle is SpringBoard's, it loads its settings, which starts the
// service, counts its change callbacks and runs its main run loop until asked for a
// report of what it received.

#include "DeviceTest.h"
#include "SettingsTestSupport.h"
#include "SpringBoardChild.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSPropertyList.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVReloadService.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <span>
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

// What the SpringBoard process received: how often each section's callback ran, and
// every section as its getDictionary answered at the end.
struct Report {
    std::vector<int> callbacks;
    StrongRef<NSDictionary> sections;
    int outOfLineMappings = -1; // received out-of-line regions still mapped at the end

    // nil when the report never came.
    NSDictionary *section(const char *name) const
    {
        return sections ? static_cast<NSDictionary *>(sections->objectForKey(text(name))) : nil;
    }

    id value(const char *name, const char *key) const
    {
        NSDictionary *entries = section(name);
        return entries ? entries->objectForKey(text(key)) : nil;
    }
};

// The SpringBoard process finds its ends of the three pipes to the test at these
// descriptors.
constexpr int kStartedDescriptor = 100; // one byte once the service runs
constexpr int kFinishDescriptor = 101;  // one byte from the test: time to report
constexpr int kReportDescriptor = 102;  // the report, then end of file

struct Pipe {
    int read = -1;
    int write = -1;

    bool open()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    void closeBoth()
    {
        closeEnd(read);
        closeEnd(write);
    }
    static void closeEnd(int &end)
    {
        if (end >= 0)
            close(end);
        end = -1;
    }
};

bool readByte(int descriptor, int timeoutMs)
{
    pollfd entry{descriptor, POLLIN, 0};
    char byte;
    return poll(&entry, 1, timeoutMs) == 1 && read(descriptor, &byte, 1) == 1;
}

// Everything until end of file, within the watchdog's time.
std::string readAll(int descriptor)
{
    std::string bytes;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(test::kWatchdogMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry{descriptor, POLLIN, 0};
        if (poll(&entry, 1, 100) <= 0)
            continue;
        char buffer[4096];
        ssize_t count = read(descriptor, buffer, sizeof(buffer));
        if (count <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

Report reportFrom(const std::string &bytes)
{
    Report report;
    auto *plist = static_cast<NSDictionary *>(NSPropertyListSerialization::propertyListWithData(
        NSData::dataWithBytes(bytes.data(), bytes.size()), 0, nullptr, nullptr));
    if (!plist)
        return report;
    for (const auto &count : *static_cast<NSArray *>(plist->objectForKey("callbacks"_ns)))
        report.callbacks.push_back(static_cast<NSNumber *>(count.get())->intValue());
    report.sections = static_cast<NSDictionary *>(plist->objectForKey("sections"_ns));
    report.outOfLineMappings =
        static_cast<NSNumber *>(plist->objectForKey("outOfLineMappings"_ns))->intValue();
    return report;
}

// A process that is SpringBoard as far as the settings core can tell, with three pipes
// to the test.
class SpringBoardProcess {
public:
    SpringBoardProcess()
    {
        if (!m_started.open() || !m_finish.open() || !m_report.open())
            return;
        const std::pair<int, int> descriptors[] = {{m_started.write, kStartedDescriptor},
                                                   {m_finish.read, kFinishDescriptor},
                                                   {m_report.write, kReportDescriptor}};
        m_child = startAsSpringBoard("reload-service", descriptors);
        Pipe::closeEnd(m_started.write);
        Pipe::closeEnd(m_finish.read);
        Pipe::closeEnd(m_report.write);
        m_ready = m_child > 0 && readByte(m_started.read, test::kWatchdogMs);
    }

    ~SpringBoardProcess()
    {
        if (m_child > 0 && !m_finished) {
            kill(m_child, SIGKILL);
            test::waitForChild(m_child);
        }
        m_started.closeBoth();
        m_finish.closeBoth();
        m_report.closeBoth();
    }

    SpringBoardProcess(const SpringBoardProcess &) = delete;
    SpringBoardProcess &operator=(const SpringBoardProcess &) = delete;

    bool ready() const { return m_ready; }

    // Lets the process handle what was sent, then collects its report and its exit.
    Report finish()
    {
        EXPECT_EQ(write(m_finish.write, "!", 1), 1);
        Report report = reportFrom(readAll(m_report.read));
        m_finished = true;
        EXPECT_EQ(test::waitForChild(m_child), 0);
        return report;
    }

private:
    Pipe m_started;
    Pipe m_finish;
    Pipe m_report;
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

NSDictionary *reportOfThisProcess()
{
    NSMutableArray *callbacks = NSMutableArray::array();
    for (int count : g_callbacks)
        callbacks->addObject(integer(count));
    NSMutableDictionary *sections = NSMutableDictionary::dictionary();
    for (const NamedSection &section : allSections())
        sections->setObjectForKey(section.entity->getDictionary(), text(section.name));
    return dict({{"callbacks", callbacks},
                 {"sections", sections},
                 {"outOfLineMappings", integer(countOutOfLineMappings())}});
}

// The SpringBoard process's life: start the service, handle messages until asked for
// the report, write it.
int runAsSpringBoard()
{
    AutoreleasePool pool;
    CVLoadSettings();
    countEveryUpdate();
    if (write(kStartedDescriptor, "!", 1) != 1)
        return 1;
    bool asked = false;
    if (!test::runMainLoopUntil([&] { return asked || (asked = readByte(kFinishDescriptor, 0)); },
                                20000))
        return 2;
    // Whatever was sent before the request to finish is waiting: handle all of it.
    for (int round = 0; round < 1000; ++round)
        if (sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.1, true) !=
            sim::RunResult::HandledSource)
            break;
    std::string bytes = binaryPropertyList(reportOfThisProcess());
    bool written =
        write(kReportDescriptor, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return written ? 0 : 3;
}

class ReloadService : public test::DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")));
        CVLoadSettings();
    }

    static NSDictionary *defaultsOf(CVSettingsEntity &section)
    {
        section.setDefaults();
        return section.getDictionary();
    }

    AutoreleasePool m_pool;
};

TEST(SectionMessage, UpTo4096BytesTravelInlineAndLongerDataOutOfLine)
{
    static std::uint8_t data[4097];
    CVSectionMessage message;

    CVMakeSectionMessage(message, 0x1234, CVSectionIDIcons, data, 4096);
    EXPECT_EQ(message.header.msgh_size, 4136u);
    EXPECT_EQ(message.header.msgh_bits, 19u);
    EXPECT_EQ(message.header.msgh_remote_port, 0x1234u);
    EXPECT_EQ(message.header.msgh_id, 1);
    EXPECT_EQ(message.body.msgh_descriptor_count, 0u);
    EXPECT_EQ(message.inlineData.length, 4096u);

    CVMakeSectionMessage(message, 0x1234, CVSectionIDLockScreen, data, 4097);
    EXPECT_EQ(message.header.msgh_size, 40u);
    EXPECT_EQ(message.header.msgh_bits, 0x80000000u | 19u);
    EXPECT_EQ(message.header.msgh_id, 5);
    EXPECT_EQ(message.body.msgh_descriptor_count, 1u);
    const void *address = message.outOfLine.address; // a packed field: read, not bound
    EXPECT_EQ(address, data);
    EXPECT_EQ(message.outOfLine.size, 4097u);
    EXPECT_EQ(message.outOfLine.deallocate, 0);
    EXPECT_EQ(message.outOfLine.copy, static_cast<unsigned>(MACH_MSG_VIRTUAL_COPY));
    EXPECT_EQ(message.outOfLine.type, static_cast<unsigned>(MACH_MSG_OOL_DESCRIPTOR));
}

TEST(SectionMessage, InlineSizesRoundUpToFourBytes)
{
    static const std::uint8_t data[8] = {};
    const std::pair<std::size_t, mach_msg_size_t> sizes[] = {{0, 40}, {1, 44}, {4, 44}, {5, 48}};
    for (const auto &[length, size] : sizes) {
        CVSectionMessage message;
        CVMakeSectionMessage(message, 1, CVSectionIDDock, data, length);
        EXPECT_EQ(message.header.msgh_size, size) << length;
    }
}

TEST_F(ReloadService, InlineAndOutOfLineUpdatesAreBothApplied)
{
    NSDictionary *inlineUpdate = dictionarySerialisedTo("timeString", 4096);
    NSDictionary *outOfLineUpdate = dictionarySerialisedTo("carrierString", 4097);
    ASSERT_NE(inlineUpdate, nullptr);
    ASSERT_NE(outOfLineUpdate, nullptr);

    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    CVSendSectionUpdate(CVSectionIDStatusBar, inlineUpdate);
    CVSendSectionUpdate(CVSectionIDStatusBar, outOfLineUpdate);
    Report report = springboard.finish();

    ASSERT_EQ(report.callbacks.size(), 9u);
    EXPECT_EQ(report.callbacks[CVSectionIDStatusBar], 2);
    EXPECT_TRUE(sim::objectsEqual(report.value("CVStatusBar", "timeString"),
                                  inlineUpdate->objectForKey("timeString"_ns)));
    EXPECT_TRUE(sim::objectsEqual(report.value("CVStatusBar", "carrierString"),
                                  outOfLineUpdate->objectForKey("carrierString"_ns)));
}

TEST_F(ReloadService, EveryUpdateOfThePanelsEditCycleCallsTheCallbackOnce)
{
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    for (long long columns : {4, 5, 6}) {
        NSDictionary *change = dict({{"pages", dict({{"iconColumns", integer(columns)}})}});
        gCVIcons.load(change);
        CVSaveSettings();
        CVSendSectionUpdate(CVSectionIDIcons, change);
    }
    CVSendSectionUpdate(CVSectionIDAnimations, dict({{"animationSpeed", real(0.5)}}));
    Report report = springboard.finish();

    EXPECT_EQ(report.callbacks, (std::vector<int>{0, 3, 0, 0, 0, 0, 0, 1, 0}));
    auto *pages = static_cast<NSDictionary *>(report.value("CVIcons", "pages"));
    ASSERT_NE(pages, nullptr);
    // The report travels as a property list, which reads integers back as LongLong
    // numbers and reals as Double ones.
    EXPECT_TRUE(isNumber(pages->objectForKey("iconColumns"_ns), NSNumber::Kind::LongLong, 6));
    EXPECT_TRUE(
        isNumber(report.value("CVAnimations", "animationSpeed"), NSNumber::Kind::Double, 0.5));
}

TEST_F(ReloadService, MessagesThatAreNotUpdatesChangeNothingAndCallNoCallback)
{
    StrongRef<NSDictionary> defaultIcons = defaultsOf(gCVIcons);
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    const char *service = CVReloadServiceName;
    std::string hideBadges = binaryPropertyList(dict({{"hideBadges", boolean(true)}}));
    EXPECT_EQ(test::sendInline(service, 9, hideBadges), KERN_SUCCESS);
    EXPECT_EQ(test::sendInline(service, 0x7fffffff, hideBadges), KERN_SUCCESS);
    EXPECT_EQ(test::sendInline(service, 1, "bplist00 but not really a property list"),
              KERN_SUCCESS);
    EXPECT_EQ(test::sendInline(service, 1, binaryPropertyList(list({text("hideBadges")}))),
              KERN_SUCCESS);
    EXPECT_EQ(test::sendInline(service, 1, ""), KERN_SUCCESS);
    // A descriptor in a message that is not complex has not been checked by the kernel:
    // it is just data, and the address it seems to hold must never be followed. Here the
    // length field and the first data bytes read as an out-of-line descriptor of 16 bytes
    // at a small, unmapped address.
    const std::string descriptorLookalike("\0\0\0\0"    // the address's high half
                                          "\0\1\0\1"    // deallocate, copy, pad, type OOL
                                          "\x10\0\0\0", // size
                                          12);
    test::InlineMessage forged;
    mach_port_t right = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), service, &right), KERN_SUCCESS);
    test::makeInlineMessage(forged, right, 1, descriptorLookalike + hideBadges);
    forged.body.msgh_descriptor_count = 1;
    EXPECT_EQ(mach_msg(&forged.header, MACH_SEND_MSG, forged.header.msgh_size, 0, MACH_PORT_NULL,
                       MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL),
              KERN_SUCCESS);
    mach_port_deallocate(mach_task_self(), right);
    CVSendSectionUpdate(CVSectionIDFolders, dict({{"fastOpen", boolean(true)}}));
    Report report = springboard.finish();

    EXPECT_EQ(report.callbacks, (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(sim::objectsEqual(report.section("CVIcons"), defaultIcons));
    EXPECT_TRUE(isNumber(report.value("CVFolders", "fastOpen"), NSNumber::Kind::Bool, 1));
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

// Only the message id's low byte names the section: 256 is the status bar's 0, 0x102 the
// dock's 2.
TEST_F(ReloadService, TheSectionIsTheLowByteOfTheMessageId)
{
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    std::string carrier = binaryPropertyList(dict({{"customCarrier", boolean(true)}}));
    std::string dock = binaryPropertyList(dict({{"hideDock", boolean(true)}}));
    EXPECT_EQ(test::sendInline(CVReloadServiceName, 256, carrier), KERN_SUCCESS);
    EXPECT_EQ(test::sendInline(CVReloadServiceName, 0x102, dock), KERN_SUCCESS);
    Report report = springboard.finish();

    EXPECT_EQ(report.callbacks, (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(isNumber(report.value("CVStatusBar", "customCarrier"), NSNumber::Kind::Bool, 1));
    EXPECT_TRUE(isNumber(report.value("CVDock", "hideDock"), NSNumber::Kind::Bool, 1));
}

// A length field larger than the message is not followed past the message's end: the
// bytes the message carries are read, and here they are the whole update.
TEST_F(ReloadService, AnInlineLengthLargerThanTheMessageReadsOnlyWhatItCarries)
{
    NSDictionary *update = dictionarySerialisedTo("carrierString", 300);
    ASSERT_NE(update, nullptr);
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    mach_port_t service = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), CVReloadServiceName, &service), KERN_SUCCESS);
    test::InlineMessage message;
    test::makeInlineMessage(message, service, CVSectionIDStatusBar, binaryPropertyList(update));
    // The message ends with the data: 24 bytes of header, the descriptor count, the length.
    message.header.msgh_size = 32 + 300;
    message.length = 4000;
    EXPECT_EQ(mach_msg(&message.header, MACH_SEND_MSG, message.header.msgh_size, 0, MACH_PORT_NULL,
                       MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL),
              KERN_SUCCESS);
    mach_port_deallocate(mach_task_self(), service);
    Report report = springboard.finish();

    EXPECT_EQ(report.callbacks[CVSectionIDStatusBar], 1);
    EXPECT_TRUE(sim::objectsEqual(report.value("CVStatusBar", "carrierString"),
                                  update->objectForKey("carrierString"_ns)));
}

// A complex message with any number of out-of-line descriptors, of the given type.
kern_return_t sendOutOfLine(mach_port_t service, mach_msg_id_t id, unsigned type,
                            std::span<const std::string> regions)
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
    message.header.msgh_size = static_cast<mach_msg_size_t>(
        offsetof(decltype(message), descriptors) + regions.size() * 16);
    message.header.msgh_remote_port = service;
    message.header.msgh_id = id;
    message.body.msgh_descriptor_count = static_cast<mach_msg_size_t>(regions.size());
    for (std::size_t index = 0; index < regions.size(); ++index) {
        mach_msg_ool_descriptor_t &descriptor = message.descriptors[index];
        descriptor.address = const_cast<char *>(regions[index].data());
        descriptor.size = static_cast<mach_msg_size_t>(regions[index].size());
        descriptor.copy = MACH_MSG_VIRTUAL_COPY;
        descriptor.type = type;
    }
    return mach_msg(&message.header, MACH_SEND_MSG, message.header.msgh_size, 0, MACH_PORT_NULL,
                    MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL);
}

TEST_F(ReloadService, TheMemoryOfEveryOutOfLineDescriptorIsGivenBack)
{
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    mach_port_t service = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), CVReloadServiceName, &service), KERN_SUCCESS);
    const std::string update = binaryPropertyList(dict({{"hideDock", boolean(true)}}));
    const std::string two[] = {update, update};
    const std::string three[] = {update, update, update};
    EXPECT_EQ(sendOutOfLine(service, CVSectionIDDock, MACH_MSG_OOL_DESCRIPTOR, two), KERN_SUCCESS);
    EXPECT_EQ(sendOutOfLine(service, CVSectionIDDock, MACH_MSG_OOL_VOLATILE_DESCRIPTOR,
                            std::span(two).first(1)),
              KERN_SUCCESS);
    EXPECT_EQ(sendOutOfLine(service, CVSectionIDDock, MACH_MSG_OOL_VOLATILE_DESCRIPTOR, three),
              KERN_SUCCESS);
    EXPECT_EQ(sendOutOfLine(service, 9, MACH_MSG_OOL_DESCRIPTOR, std::span(two).first(1)),
              KERN_SUCCESS);
    EXPECT_EQ(sendOutOfLine(service, CVSectionIDFolders, MACH_MSG_OOL_DESCRIPTOR,
                            std::span(two).first(1)),
              KERN_SUCCESS);
    mach_port_deallocate(mach_task_self(), service);
    Report report = springboard.finish();

    // Only the update with one plain descriptor is applied; nothing stays mapped.
    EXPECT_EQ(report.callbacks, (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(isNumber(report.value("CVDock", "hideDock"), NSNumber::Kind::Bool, 0));
    EXPECT_EQ(report.outOfLineMappings, 0);
}

TEST_F(ReloadService, AMessageShorterThanAnUpdateIsAnsweredWithAnEmptyOne)
{
    SpringBoardProcess springboard;
    ASSERT_TRUE(springboard.ready());
    mach_port_t service = MACH_PORT_NULL;
    ASSERT_EQ(bootstrap_look_up(bootstrapPort(), CVReloadServiceName, &service), KERN_SUCCESS);
    mach_port_t replyPort = MACH_PORT_NULL;
    ASSERT_EQ(mach_port_allocate(mach_task_self(), MACH_PORT_RIGHT_RECEIVE, &replyPort),
              KERN_SUCCESS);

    mach_msg_header_t ping{};
    ping.msgh_bits = MACH_MSGH_BITS(MACH_MSG_TYPE_COPY_SEND, MACH_MSG_TYPE_MAKE_SEND_ONCE);
    ping.msgh_size = sizeof(ping);
    ping.msgh_remote_port = service;
    ping.msgh_local_port = replyPort;
    ping.msgh_id = 7;
    ASSERT_EQ(mach_msg(&ping, MACH_SEND_MSG, ping.msgh_size, 0, MACH_PORT_NULL,
                       MACH_MSG_TIMEOUT_NONE, MACH_PORT_NULL),
              KERN_SUCCESS);

    struct {
        mach_msg_header_t header;
        std::uint8_t rest[64];
    } reply{};
    ASSERT_EQ(mach_msg(&reply.header, MACH_RCV_MSG | MACH_RCV_TIMEOUT, 0, sizeof(reply), replyPort,
                       test::kWatchdogMs, MACH_PORT_NULL),
              KERN_SUCCESS);
    EXPECT_EQ(reply.header.msgh_size, 40u);
    EXPECT_EQ(reply.header.msgh_id, 0);
    for (std::uint8_t byte : std::span(reply.rest).first(16))
        EXPECT_EQ(byte, 0);
    Report report = springboard.finish();
    EXPECT_EQ(report.callbacks, std::vector<int>(9, 0));
    destroyReceiveRight(replyPort);
    mach_port_deallocate(mach_task_self(), service);
}

TEST_F(ReloadService, ARestartedSpringBoardIsFoundAgainThroughTheStaleRight)
{
    {
        SpringBoardProcess first;
        ASSERT_TRUE(first.ready());
        CVSendSectionUpdate(CVSectionIDDock, dict({{"hideDock", boolean(true)}}));
        Report report = first.finish();
        EXPECT_EQ(report.callbacks[CVSectionIDDock], 1);
    }
    // The panel still holds its right to the first SpringBoard, which has gone away.
    SpringBoardProcess second;
    ASSERT_TRUE(second.ready());
    CVSendSectionUpdate(CVSectionIDDock, dict({{"hideBackground", boolean(true)}}));
    Report report = second.finish();
    EXPECT_EQ(report.callbacks[CVSectionIDDock], 1);
    EXPECT_TRUE(isNumber(report.value("CVDock", "hideBackground"), NSNumber::Kind::Bool, 1));
    EXPECT_TRUE(isNumber(report.value("CVDock", "hideDock"), NSNumber::Kind::Bool, 0));
}

} // namespace

int main(int argc, char **argv)
{
    if (springBoardRole(argc, argv) == "reload-service")
        return runAsSpringBoard();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
