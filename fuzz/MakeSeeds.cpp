// Writes the seeds that need the system itself to make them: the default settings file as
// CVSaveSettings writes it, the reload service's messages as the panel's updates put them
// on the wire, and the device services' requests as a process sends them. The other seeds
// are real inputs copied as they are: the panel's strings table (also as UTF-16), the
// device scripts of tests/scripts and their commands as control requests, the actions of
// the panel's tests, and the requests the browser tests make (with @TOKEN@ and @PORT@).
// Run by hand when a format changes:
//
//     build/fuzz/fuzz/fuzz_make_seeds fuzz/corpus

#include "FuzzDevice.h"

#include "darwin/MessageWire.h"
#include "darwin/ServicesProtocol.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSPropertyList.h"
#include "settings-core/CVReloadService.h"
#include "settings-core/CVSectionTable.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path g_output;

void writeSeed(const std::string &target, const std::string &name, const std::string &bytes)
{
    std::filesystem::create_directories(g_output / target);
    std::ofstream(g_output / target / name, std::ios::binary) << bytes;
}

std::string bytesOf(NSData *data)
{
    return {static_cast<const char *>(data->bytes()), data->length()};
}

// The fuzz target's input: the number of memory files, each as a 16-bit length and its
// bytes, then the packet.
std::string reloadInput(sim::OutgoingMessage &packet)
{
    std::string input(1, static_cast<char>(packet.memoryFiles.size()));
    for (sim::OwnedFd &file : packet.memoryFiles) {
        std::vector<char> contents(
            std::filesystem::file_size("/proc/self/fd/" + std::to_string(file.get())));
        if (pread(file.get(), contents.data(), contents.size(), 0) !=
            static_cast<ssize_t>(contents.size()))
            fuzz::fail("cannot read a memory file back");
        input += static_cast<char>(contents.size() & 0xff);
        input += static_cast<char>((contents.size() >> 8) & 0xff);
        input.append(contents.begin(), contents.end());
    }
    input.append(reinterpret_cast<const char *>(packet.bytes.data()), packet.bytes.size());
    return input;
}

void writeUpdate(const std::string &name, std::uint32_t sectionID, NSDictionary *changes,
                 sim::ReplyRight reply = sim::ReplyRight::None)
{
    NSData *data = NSPropertyListSerialization::dataFromPropertyList(
        changes, NSPropertyListBinaryFormat_v1_0, nullptr);
    CVSectionMessage message;
    CVMakeSectionMessage(message, MACH_PORT_NULL, sectionID, data->bytes(), data->length());
    sim::OutgoingMessage packet;
    std::string address = reply == sim::ReplyRight::None ? "" : "reply-port-1";
    if (sim::encodeMessage(message.header, message.header.msgh_size, reply, address, packet) !=
        MACH_MSG_SUCCESS)
        fuzz::fail("cannot encode an update");
    writeSeed("reload_message", name, reloadInput(packet));
}

void writeSettingsSeeds()
{
    CVLoadSettings();
    CVSaveSettings();
    std::string file =
        fuzz::readDeviceFile("/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist");
    writeSeed("settings_file", "default.plist", file);
    writeSeed("property_list", "default-settings.plist", file);
    NSData *data = NSData::dataWithBytes(file.data(), file.size());
    id plist = NSPropertyListSerialization::propertyListWithData(data, 0, nullptr, nullptr);
    NSData *binary = NSPropertyListSerialization::dataFromPropertyList(
        plist, NSPropertyListBinaryFormat_v1_0, nullptr);
    writeSeed("settings_file", "default.bplist", bytesOf(binary));
    writeSeed("property_list", "default-settings.bplist", bytesOf(binary));
}

void writeReloadSeeds()
{
    for (std::uint32_t id = 0; id <= 8; ++id) {
        CVLiveSection live = CVLiveSectionForID(id);
        writeUpdate("section-" + std::to_string(id) + "-whole", id, live.section->getDictionary());
    }
    NSMutableDictionary *pages = NSMutableDictionary::dictionary();
    pages->setObjectForKey(NSNumber::numberWithUnsignedChar(5), "iconColumns"_ns);
    NSMutableDictionary *icons = NSMutableDictionary::dictionary();
    icons->setObjectForKey(pages, "pages"_ns);
    writeUpdate("icons-columns", 1, icons);
    writeUpdate("icons-columns-reply", 1, icons, sim::ReplyRight::SendOnce);
    // Past the inline limit: the same kind of update out of line.
    NSMutableDictionary *large = NSMutableDictionary::dictionary();
    large->setObjectForKey(NSString::stringWithUTF8String(std::string(5000, 'K').c_str()),
                           "carrierString"_ns);
    writeUpdate("status-bar-out-of-line", 0, large);
}

void writeServicesSeeds()
{
    using sim::ServiceKind;
    for (ServiceKind kind :
         {ServiceKind::BootstrapRegister, ServiceKind::BootstrapLookUp,
          ServiceKind::NotifyRegisterCheck, ServiceKind::NotifyRegisterEvents,
          ServiceKind::NotifyCancel, ServiceKind::NotifyPost, ServiceKind::NotifyCheck,
          ServiceKind::NotifyGetState, ServiceKind::NotifySetState}) {
        sim::ServiceMessage request = sim::makeServiceMessage(kind);
        request.sequence = 1;
        request.token = 1;
        request.value = 7;
        if (!sim::setServiceName(request, "com.kestrelworks.corvane3.applySettings") ||
            !sim::setServiceAddress(request, "reply-port-1"))
            fuzz::fail("cannot fill a request");
        writeSeed("device_services", "kind-" + std::to_string(static_cast<int>(kind)),
                  std::string(reinterpret_cast<const char *>(&request), sizeof request));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS_DIR\n");
        return 2;
    }
    g_output = argv[1];
    AutoreleasePool pool;
    fuzz::deviceRoot();
    writeSettingsSeeds();
    writeReloadSeeds();
    writeServicesSeeds();
    return 0;
}
