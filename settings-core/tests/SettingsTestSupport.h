#pragma once
// What the settings tests share: short ways to build the property-list objects that
// settings are made of, the list of sections under their file names, a fixture that
// gives every test its own device root and a freshly loaded model, and running this test
// binary again as SpringBoard (or another application) for the behaviour that depends on
// the process it runs in.

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

// The number that getValue or getDictionary answered, with its kind checked.
testing::AssertionResult isNumber(id value, NSNumber::Kind kind, double expected);

// The settings file of the current device root, written and read.
void writeSettingsFile(NSDictionary *file);
void writeSettingsFileBytes(const std::string &bytes);
std::string readSettingsFileBytes();

// Each test gets a new device root without a settings file, the default device profile
// and a model loaded from nothing (every section at its defaults).
class SettingsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    AutoreleasePool m_pool;
    std::string m_root;
};

// Starts this binary as the application `bundle` (SpringBoard by default) playing `role`,
// on the device of the calling test. The main bundle comes with the environment, so that
// what the library arms as it loads sees it too. Each pair (from, to) of `descriptors`
// hands the parent's descriptor `from` to the child as `to`. The environment is made
// before the fork: the device services run on a thread of this process, so the child
// calls nothing that could wait for a lock before exec.
pid_t startAsApplication(const std::string &role,
                         std::span<const std::pair<int, int>> descriptors = {},
                         const std::string &bundle = "com.apple.springboard");

// The role this process was started to play, or "" when it runs the tests; the binary's
// main asks it first.
std::string springBoardRole(int argc, char **argv);

} // namespace cvtest
