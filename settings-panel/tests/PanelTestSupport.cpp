#include "PanelTestSupport.h"

#include "foundation/DeviceRoot.h"
#include "foundation/RunLoop.h"
#include "settings-core/CVReloadService.h"

#include <chrono>
#include <cstdio>

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
    switch (row->m_cellType) {
    case PSGroupCell:
        return "G";
    case PSSwitchCell:
        return "S";
    case PSSliderCell:
        return "SL";
    case PSEditTextCell:
        return "T";
    case PSLinkListCell:
        break;
    default:
        return "?";
    }
    const char *detail =
        row->m_detailControllerClass ? class_getName(row->m_detailControllerClass) : "";
    std::string name = detail;
    if (name == "PSListItemsController")
        return "L";
    if (name == "ColorController")
        return "C";
    if (name == "FontListController")
        return "F";
    if (name == "AppListController")
        return "A";
    return "K";
}

std::string text(id object)
{
    return object ? sim::describe(object) : std::string();
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
                              ? text(row->propertyForKey("footerText"_ns))
                              : text(row->propertyForKey("id"_ns));
        rows.push_back(kindOf(row) + "|" + text(row->m_name.get()) + "|" + key);
    }
    return rows;
}

PSSpecifier *rowWithKey(PSListController *page, const char *key)
{
    NSString *wanted = NSString::stringWithUTF8String(key);
    for (const StrongRef<objc_object> &object : *msg<NSArray *>(page, "specifiers"_sel)) {
        auto *row = static_cast<PSSpecifier *>(object.get());
        auto *identifier = static_cast<NSString *>(row->propertyForKey("id"_ns));
        if (identifier && identifier->isEqualToString(wanted))
            return row;
    }
    ADD_FAILURE() << "no row with the key " << key;
    return nil;
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
    PSSpecifier *row = rowWithKey(page, key);
    if (!row)
        return titles;
    for (const StrongRef<objc_object> &value : *row->m_values)
        titles.push_back(text(row->m_titleDictionary->objectForKey(value.get())));
    return titles;
}

std::vector<std::string> listValues(PSListController *page, const char *key)
{
    std::vector<std::string> values;
    if (PSSpecifier *row = rowWithKey(page, key))
        for (const StrongRef<objc_object> &value : *row->m_values)
            values.push_back(text(value.get()));
    return values;
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

NSNumber *integer(long long value)
{
    return NSNumber::numberWithLongLong(value);
}

NSNumber *boolean(bool value)
{
    return NSNumber::numberWithBool(value);
}

NSDictionary *dict(std::initializer_list<std::pair<const char *, id>> entries)
{
    NSMutableDictionary *result = NSMutableDictionary::dictionary();
    for (const auto &[key, value] : entries)
        result->setObjectForKey(value, NSString::stringWithUTF8String(key));
    return result;
}

std::string describe(id object)
{
    return text(object);
}

} // namespace paneltest
