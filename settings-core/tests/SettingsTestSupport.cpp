#include "SettingsTestSupport.h"

#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unistd.h>

namespace cvtest {

NSNumber *integer(long long value)
{
    return NSNumber::numberWithLongLong(value);
}

NSNumber *real(double value)
{
    return NSNumber::numberWithDouble(value);
}

NSNumber *boolean(bool value)
{
    return NSNumber::numberWithBool(value);
}

NSString *text(const char *value)
{
    return NSString::stringWithUTF8String(value);
}

NSArray *list(std::initializer_list<id> elements)
{
    return NSArray::arrayWithObjects(elements);
}

NSDictionary *dict(std::initializer_list<std::pair<const char *, id>> entries)
{
    NSMutableDictionary *result = NSMutableDictionary::dictionary();
    for (const auto &[key, value] : entries)
        result->setObjectForKey(value, text(key));
    return result;
}

const std::vector<NamedSection> &allSections()
{
    static const std::vector<NamedSection> sections{
        {"CVGlobal", &gCVGlobal},         {"CVStatusBar", &gCVStatusBar},
        {"CVIcons", &gCVIcons},           {"CVDock", &gCVDock},
        {"CVAppSlider", &gCVAppSlider},   {"CVFolders", &gCVFolders},
        {"CVLockScreen", &gCVLockScreen}, {"CVControlCenter", &gCVControlCenter},
        {"CVAnimations", &gCVAnimations}, {"CVNotificationCenter", &gCVNotificationCenter},
    };
    return sections;
}

NSDictionary *everySection()
{
    NSMutableDictionary *sections = NSMutableDictionary::dictionary();
    for (const NamedSection &section : allSections())
        sections->setObjectForKey(section.entity->getDictionary(), text(section.name));
    return sections;
}

testing::AssertionResult isNumber(id value, NSNumber::Kind kind, double expected)
{
    if (!msg<BOOL, Class>(value, "isKindOfClass:"_sel, NSNumber::class_()))
        return testing::AssertionFailure() << sim::describe(value) << " is not a number";
    auto *number = static_cast<NSNumber *>(value);
    if (number->m_kind != kind)
        return testing::AssertionFailure()
               << sim::describe(value) << " has kind " << static_cast<int>(number->m_kind)
               << ", not " << static_cast<int>(kind);
    if (number->doubleValue() != expected)
        return testing::AssertionFailure() << sim::describe(value) << " is not " << expected;
    return testing::AssertionSuccess();
}

// The host path of the settings file of the current device root.
static std::string settingsFilePath()
{
    return sim::hostPath("/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist");
}

void writeSettingsFile(NSDictionary *file)
{
    ASSERT_TRUE(file->writeToFile(
        text("/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist"), true));
}

void writeSettingsFileBytes(const std::string &bytes)
{
    std::ofstream(settingsFilePath(), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string &hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string readSettingsFileBytes()
{
    return readFile(settingsFilePath());
}

void SettingsTest::SetUp()
{
    m_root = testing::TempDir() + "cv3-settings-XXXXXX";
    ASSERT_NE(mkdtemp(m_root.data()), nullptr);
    sim::setDeviceRoot(m_root);
    // The phone always has its preferences directory.
    ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")));
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    CVLoadSettings();
}

void SettingsTest::TearDown()
{
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

constexpr const char *kRoleArgument = "--as-springboard";
constexpr std::string_view kBundleVariable = "CORVANE_BUNDLE_ID=";

pid_t startAsApplication(const std::string &role, std::span<const std::pair<int, int>> descriptors,
                         const std::string &bundle)
{
    std::vector<std::string> variables{std::string(kBundleVariable) + bundle};
    for (char **variable = environ; *variable; ++variable)
        if (!std::string_view(*variable).starts_with(kBundleVariable))
            variables.emplace_back(*variable);
    std::vector<char *> environment;
    for (std::string &variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string name = "springboard";
    std::string roleArgument = kRoleArgument;
    std::string roleName = role;
    char *arguments[] = {name.data(), roleArgument.data(), roleName.data(), nullptr};
    // All is made before the fork: the device services run on a thread of this process,
    // so the child calls nothing that could wait for a lock before exec.
    pid_t child = fork();
    if (child == 0) {
        for (const auto &[from, to] : descriptors)
            dup2(from, to);
        execve("/proc/self/exe", arguments, environment.data());
        _exit(127);
    }
    return child;
}

std::string springBoardRole(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], kRoleArgument) == 0)
        return argv[2];
    return "";
}

} // namespace cvtest
