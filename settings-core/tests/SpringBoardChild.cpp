#include "SpringBoardChild.h"

#include "ChildProcess.h"

#include <cstring>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace cvtest {

namespace {

constexpr const char *kRoleArgument = "--as-springboard";
constexpr std::string_view kBundleVariable = "CORVANE_BUNDLE_ID=";

} // namespace

pid_t startAsSpringBoard(const std::string &role, std::span<const std::pair<int, int>> descriptors)
{
    return startAsApplication("com.apple.springboard", role, descriptors);
}

pid_t startAsApplication(const std::string &bundle, const std::string &role,
                         std::span<const std::pair<int, int>> descriptors)
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
    return test::forkChild([&] {
        // Only async-signal-safe calls between fork and exec.
        for (const auto &[from, to] : descriptors)
            dup2(from, to);
        execve("/proc/self/exe", arguments, environment.data());
        return 127;
    });
}

std::string springBoardRole(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], kRoleArgument) == 0)
        return argv[2];
    return "";
}

} // namespace cvtest
