#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>

namespace sim {

namespace {

constexpr const char *kRootVariable = "CORVANE_DEVICE_ROOT";

std::mutex g_rootLock;

std::string &rootStorage()
{
    static std::string root = [] {
        const char *fromEnvironment = std::getenv(kRootVariable);
        return std::string(fromEnvironment ? fromEnvironment : "");
    }();
    return root;
}

} // namespace

const std::string &deviceRoot()
{
    std::lock_guard lock(g_rootLock);
    return rootStorage();
}

void setDeviceRoot(const std::string &hostDirectory)
{
    std::string root = hostDirectory;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    (void)makeDirectories(root);
    setenv(kRootVariable, root.c_str(), 1);
    std::lock_guard lock(g_rootLock);
    rootStorage() = root;
}

std::string hostPath(std::string_view phonePath)
{
    if (phonePath.empty() || phonePath.front() != '/')
        return std::string(phonePath);
    return deviceRoot() + std::string(phonePath);
}

bool makeDirectories(const std::string &hostDirectory)
{
    if (hostDirectory.empty())
        return false;
    // Every prefix that ends before a slash, then the whole path.
    for (size_t end = hostDirectory.find('/', 1);; end = hostDirectory.find('/', end + 1)) {
        std::string prefix = hostDirectory.substr(0, end);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
    }
    struct stat info {};
    return stat(hostDirectory.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace sim
