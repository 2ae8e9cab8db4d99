#pragma once
// What the settings tests share: property-list builders, the sections under their file
// names, a fixture with a device root of its own, and this binary run again as SpringBoard.

#include "foundation/NSLog.h"
#include "settings-core/CVSettings.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace cvtest {

NSNumber *integer(long long value);
NSNumber *real(double value);
NSNumber *boolean(bool value);
NSString *text(const char *value);
NSArray *list(std::initializer_list<id> elements);
NSDictionary *dict(std::initializer_list<std::pair<const char *, id>> entries);

struct NamedSection {
    const char *name;
    CVSettingsEntity *entity;
};
// The ten sections under the names the settings file gives them.
const std::vector<NamedSection> &allSections();
// Every section's dictionary, by file name.
NSDictionary *everySection();

// The number that getValue or getDictionary answered, with its kind checked.
testing::AssertionResult isNumber(id value, NSNumber::Kind kind, double expected);

// The settings file of the current device root, written and read.
void writeSettingsFile(NSDictionary *file);
void writeSettingsFileBytes(const std::string &bytes);
std::string readSettingsFileBytes();
// A host file's bytes ("" when there is none).
std::string readFile(const std::string &hostPath);

// Each test gets a new device root without a settings file, the default device profile
// and a model loaded from nothing (every section at its defaults).
class SettingsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    AutoreleasePool m_pool;
    std::string m_root;
};

// Starts this binary as the application `bundle` playing `role`, on the calling test's
// device; the main bundle comes with the environment, so the library sees it as it loads.
// Each pair (from, to) of `descriptors` hands the parent's `from` to the child as `to`.
pid_t startAsApplication(const std::string &role,
                         std::span<const std::pair<int, int>> descriptors = {},
                         const std::string &bundle = "com.apple.springboard");

// The role this process was started to play, or "" when it runs the tests; the binary's
// main asks it first.
std::string springBoardRole(int argc, char **argv);

} // namespace cvtest
