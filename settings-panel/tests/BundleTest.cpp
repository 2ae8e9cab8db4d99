// The panel as the settings application loads it with NSBundle from its phone path: the
// root page its principal class, its icons in place, every text of the pages localised.

#include "darwin/TemporaryDevice.h"
#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSBundle.h"
#include "preferences/Preferences.h"
#include "settings-core/CVSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr const char *kBundlePath = "/Library/PreferenceBundles/CV3Settings.bundle";

class PanelBundle : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_device.ready());
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
        std::filesystem::path installed = sim::hostPath(kBundlePath);
        std::filesystem::create_directories(installed.parent_path());
        std::filesystem::create_directory_symlink(CV_PANEL_BUNDLE_DIR, installed);
        m_bundle = NSBundle::bundleWithPath(NSString::stringWithUTF8String(kBundlePath));
        ASSERT_NE(m_bundle, nil);
    }

    // Whether the strings table has the text (a missing one answers the fallback).
    bool localised(NSString *text)
    {
        NSString *found = msg<NSString *>(m_bundle, "localizedStringForKey:value:table:"_sel, text,
                                          "\x01missing"_ns, "Settings"_ns);
        return !found->isEqualToString("\x01missing"_ns);
    }

    AutoreleasePool m_pool;
    sim::TemporaryDevice m_device;
    NSBundle *m_bundle = nil;
};

StrongRef<PSListController> makePage(Class cls)
{
    id page = msg<id>(reinterpret_cast<id>(cls), "alloc"_sel);
    page = msg<id, CGSize>(page, "initForContentSize:"_sel, CGSize{375, 667});
    return StrongRef<PSListController>::adopt(static_cast<PSListController *>(page));
}

TEST_F(PanelBundle, LoadsWithTheRootPageAsPrincipalClassAndEveryTextLocalised)
{
    Class root = msg<Class>(m_bundle, "principalClass"_sel);
    ASSERT_NE(root, Nil);
    EXPECT_STREQ(class_getName(root), "RootListController");
    auto rootPage = makePage(root);
    auto *rows = msg<NSArray *>(rootPage.get(), "specifiers"_sel);
    ASSERT_EQ(rows->count(), 12u); // the settings were loaded: the master switch is on

    // Each link's icon lies where the row says; every row title, footer and list title of
    // every page is in the strings table.
    for (const StrongRef<objc_object> &object : *rows) {
        auto *link = static_cast<PSSpecifier *>(object.get());
        if (auto *icon = static_cast<NSString *>(link->propertyForKey("icon"_ns))) {
            EXPECT_TRUE(std::filesystem::exists(sim::hostPath(icon->str()))) << icon->str();
            EXPECT_TRUE(icon->str().starts_with(kBundlePath)) << icon->str();
        }
        EXPECT_TRUE(!link->m_name || localised(link->m_name)) << link->m_name->str();
        if (!link->m_detailControllerClass)
            continue;
        auto page = makePage(link->m_detailControllerClass);
        for (const StrongRef<objc_object> &rowObject :
             *msg<NSArray *>(page.get(), "specifiers"_sel)) {
            auto *row = static_cast<PSSpecifier *>(rowObject.get());
            if (row->m_name && row->m_name->length() > 0) {
                EXPECT_TRUE(localised(row->m_name)) << row->m_name->str();
            }
            for (NSString *key : {"footerText"_ns, "placeholder"_ns})
                if (auto *text = static_cast<NSString *>(row->propertyForKey(key))) {
                    EXPECT_TRUE(localised(text)) << text->str();
                }
            if (row->m_cellType == PSLinkListCell && row->m_titleDictionary)
                for (const auto &[value, title] : *row->m_titleDictionary) {
                    auto *text = static_cast<NSString *>(title.get());
                    bool numeric =
                        text->str().find_first_not_of("0123456789%") == std::string::npos;
                    EXPECT_TRUE(numeric || localised(text)) << text->str();
                }
        }
    }
}

} // namespace
