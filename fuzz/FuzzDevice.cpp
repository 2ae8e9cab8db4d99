#include "FuzzDevice.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSLog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fuzz {

namespace {

std::string makeRoot()
{
    std::error_code error;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string pattern = (base / "corvane-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        fail("cannot make a device root");
    sim::setDeviceRoot(pattern);
    // The phone always has its preferences folder; saves do not make it.
    std::filesystem::create_directories(sim::hostPath("/var/mobile/Library/Preferences"));
    // Hostile inputs log on every run; the console would cost more than the parse.
    sim::setLogToStandardError(false);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(sim::deviceRoot(), ignored);
    });
    return pattern;
}

} // namespace

const std::string &deviceRoot()
{
    static const std::string root = makeRoot();
    return root;
}

void writeDeviceFile(const std::string &phonePath, const std::uint8_t *data, std::size_t size)
{
    deviceRoot();
    std::filesystem::path host = sim::hostPath(phonePath);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream file(host, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!file)
        fail("cannot write a device file");
}

std::string readDeviceFile(const std::string &phonePath)
{
    std::ifstream file(sim::hostPath(phonePath), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void fail(const char *what)
{
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

} // namespace fuzz
