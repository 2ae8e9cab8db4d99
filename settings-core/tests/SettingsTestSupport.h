#pragma once
// What the settings tests share: short ways to build the property-list objects that
// settings are made of, the list of sections under their file names, and a fixture that
// gives every test its own device root and a freshly loaded model.

#include "foundation/NSLog.h"
#include "settings-core/CVSettings.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
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

// The host path of the settings file of the current device root.
std::string settingsFilePath();
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

} // namespace cvtest
