// What the phone says about itself, from its device profile: MobileGestalt's answers and
// the hardware model of sysctl.

#include "foundation/DeviceProfile.h"
#include "foundation/MobileGestalt.h"
#include "foundation/sysctl.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

namespace {

std::optional<std::string> gestaltAnswer(const std::string &question)
{
    auto profile = sim::DeviceProfile::current();
    if (question == "UniqueDeviceID")
        return profile->uniqueDeviceID;
    if (question == "ProductVersion")
        return profile->productVersionAnswer();
    return std::nullopt;
}

} // namespace

CFTypeRef MGCopyAnswer(CFStringRef question)
{
    if (!question)
        return nullptr;
    std::optional<std::string> answer = gestaltAnswer(question->str());
    if (!answer)
        return nullptr;
    return CFStringCreateWithCString(kCFAllocatorDefault, answer->c_str(), kCFStringEncodingUTF8);
}

int sysctlbyname(const char *name, void *oldp, std::size_t *oldlenp, void *newp, std::size_t)
{
    if (!name || std::strcmp(name, "hw.machine") != 0) {
        errno = ENOENT;
        return -1;
    }
    if (newp) {
        errno = EPERM;
        return -1;
    }
    std::string machine = sim::DeviceProfile::current()->hardwareModelAnswer();
    std::size_t needed = machine.size() + 1;
    if (oldp) {
        if (!oldlenp || *oldlenp < needed) {
            errno = ENOMEM;
            return -1;
        }
        std::memcpy(oldp, machine.c_str(), needed);
    }
    if (oldlenp)
        *oldlenp = needed;
    return 0;
}
