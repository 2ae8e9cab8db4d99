#include "PanelTestSupport.h"

#include "foundation/DeviceRoot.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVReloadService.h"

#include <chrono>
#include <cstdio>
#include <map>

namespace paneltest {

namespace {

constexpr const char *kSettingsFile =
    "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";

std::vector<Update> g_updates;

// One device for the whole binary: the panel keeps its send right to the reload service
// for the life of the process, as it does on the phone, so the service must stay.
class PanelDevice : public testing::Environment {
public:
    void SetUp() override
    {
        m_device = std::make_unique<sim::TemporaryDevice>();
        ASSERT_TRUE(m_device->ready());
        ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")));
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
        CVLoadSettings();
        CVStartReloadService();
    }
    void TearDown() override { m_device.reset(); }

private:
    std::unique_ptr<sim::TemporaryDevice> m_device;
};

testing::Environment *const g_environment = testing::AddGlobalTestEnvironment(new PanelDevice);

void recordUpdate(std::uint32_t sectionID, CFDictionaryRef changes)
{
    g_updates.push_back({sectionID, changes});
}

std::string kindOf(PSSpecifier *row)
{
    static const std::map<NSInteger, std::string> cells = {
        {PSGroupCell, "G"}, {PSSwitchCell, "S"}, {PSSliderCell, "SL"}, {PSEditTextCell, "T"}};
    static const std::map<std::string, std::string> editors = {{"PSListItemsController", "L"},
                                                               {"ColorController", "C"},
                                                               {"FontListController", "F"},
                                                               {"AppListController", "A"}};
    if (row->m_cellType != PSLinkListCell)
        return cells.contains(row->m_cellType) ? cells.at(row->m_cellType) : "?";
    Class editor = row->m_detailControllerClass;
    auto found = editors.find(editor ? class_getName(editor) : "");
    return found == editors.end() ? "K" : found->second;
}

} // namespace

void PanelTest::SetUp()
{
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    std::remove(sim::hostPath(kSettingsFile).c_str());
    // Updates a previous test sent arrive before this one begins.
    CVSetReloadObserver(nullptr);
    for (int turn = 0; turn < 5; ++turn)
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.01, false);
    CVLoadSettings();
    CVSetReloadObserver(recordUpdate);
    g_updates.clear();
}

void PanelTest::TearDown()
{
    CVSetReloadObserver(nullptr);
    g_updates.clear();
}

void PanelTest::useProfile(double coreFoundationVersion, sim::DeviceProfile::Idiom idiom)
{
    sim::DeviceProfile profile;
    profile.coreFoundationVersion = coreFoundationVersion;
    profile.idiom = idiom;
    sim::DeviceProfile::setCurrent(profile);
}

const std::vector<Update> &PanelTest::updates(std::size_t count)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (g_updates.size() < count && std::chrono::steady_clock::now() < deadline)
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0.02, true);
    return g_updates;
}

void PanelTest::clearUpdates()
{
    g_updates.clear();
}

StrongRef<PSListController> makePage(const char *className)
{
    Class cls = objc_getClass(className);
    EXPECT_NE(cls, Nil) << className;
    id page = msg<id>(reinterpret_cast<id>(cls), "alloc"_sel);
    page = msg<id, CGSize>(page, "initForContentSize:"_sel, CGSize{375, 667});
    return StrongRef<PSListController>::adopt(static_cast<PSListController *>(page));
}

std::vector<std::string> rowsOf(PSListController *page)
{
    std::vector<std::string> rows;
    auto *specifiers = msg<NSArray *>(page, "specifiers"_sel);
    for (const StrongRef<objc_object> &object : *specifiers) {
        auto *row = static_cast<PSSpecifier *>(object.get());
        std::string key = row->m_cellType == PSGroupCell
                              ? describe(row->propertyForKey("footerText"_ns))
                              : describe(row->propertyForKey("id"_ns));
        rows.push_back(kindOf(row) + "|" + describe(row->m_name.get()) + "|" + key);
    }
    return rows;
}

PSSpecifier *rowWithKey(PSListController *page, const char *key)
{
    auto *row =
        msg<PSSpecifier *>(page, "specifierForID:"_sel, NSString::stringWithUTF8String(key));
    if (!row)
        ADD_FAILURE() << "no row with the key " << key;
    return row;
}

id valueOf(PSListController *page, const char *key)
{
    PSSpecifier *row = rowWithKey(page, key);
    return row ? msg<id>(row->m_target, row->m_getter, row) : nil;
}

void setValue(PSListController *page, const char *key, id value)
{
    if (PSSpecifier *row = rowWithKey(page, key))
        msg<void>(row->m_target, row->m_setter, value, row);
}

std::vector<std::string> listTitles(PSListController *page, const char *key)
{
    std::vector<std::string> titles;
    if (PSSpecifier *row = rowWithKey(page, key))
        for (const StrongRef<objc_object> &value : *row->m_values)
            titles.push_back(describe(row->m_titleDictionary->objectForKey(value.get())));
    return titles;
}

NSDictionary *settingsFile()
{
    return NSDictionary::dictionaryWithContentsOfFile(
        NSString::stringWithUTF8String(kSettingsFile));
}

NSNumber *number(double value)
{
    return NSNumber::numberWithFloat(static_cast<float>(value));
}

std::string describe(id object)
{
    return object ? sim::describe(object) : std::string();
}

} // namespace paneltest
