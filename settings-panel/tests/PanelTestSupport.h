#pragma once
// What the panel's tests share: one device for the binary with the reload service listening
// in this process, so every commit can be seen; a fixture with the default profile and no
// settings file; pages made as the application makes them; rows as "kind|title|key" lines.

#include "darwin/TemporaryDevice.h"
#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "preferences/Preferences.h"
#include "settings-core/CVSettings.h"
#include "settings-core/tests/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace paneltest {

struct Update {
    std::uint32_t sectionID;
    StrongRef<NSDictionary> changes;
};

class PanelTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Chooses the device generation and idiom, before any page is made.
    void useProfile(double coreFoundationVersion, sim::DeviceProfile::Idiom idiom);

    // The updates the reload service has received so far (after running the main loop
    // until `count` have arrived, or two seconds have passed).
    const std::vector<Update> &updates(std::size_t count);
    // Forgets the updates received so far.
    void clearUpdates();

    AutoreleasePool m_pool;
};

// A page of the panel, made with initForContentSize: as the settings application makes
// it; owned by the caller.
StrongRef<PSListController> makePage(const char *className);

// The page's rows, each as "kind|title|key": kind G (group; the key is its footer), S, L,
// SL, T (text), C (colour editor), F (font chooser), A (application chooser), K (link).
std::vector<std::string> rowsOf(PSListController *page);

// The row whose "id" is the key; fails the test when there is none.
PSSpecifier *rowWithKey(PSListController *page, const char *key);
// What the row's getter answers.
id valueOf(PSListController *page, const char *key);
// Sends the value to the row's setter, as the row's cell does.
void setValue(PSListController *page, const char *key, id value);

// A list row's titles, in order, as text ("%@").
std::vector<std::string> listTitles(PSListController *page, const char *key);

// The settings file as a dictionary (nil when there is none).
NSDictionary *settingsFile();

// Property-list values: the settings tests' own builders, and a float as a slider sends it.
using cvtest::boolean;
using cvtest::dict;
using cvtest::integer;
NSNumber *number(double value);
// The object as text ("%@"); nil is "".
std::string describe(id object);

} // namespace paneltest
