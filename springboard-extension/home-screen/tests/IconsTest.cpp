// The icon appearance group as installed into SpringBoard: badges, label fonts, hidden
// applications, the image effect, the locks and the updated mark.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "effects/CVIconImageEffect.h"
#include "springboard-extension/home-screen/IconTransforms.h"
#include "springboard/SBFolderIconView.h"
#include "springboard/home-screen/HomeScreenHost.h"
#include "springboard/home-screen/JitterAnimation.h"
#include "springboard/home-screen/SBIconBadgeView.h"
#include "springboard/home-screen/SBIconModel.h"
#include "uikit/UIFont.h"

namespace {

using sim::HomeScreenHost;
using test::phoneProfile;

constexpr const char *kSettingsApp = "com.kestrelworks.corvane3-app";

class IconsTest : public test::ExtensionTest {
protected:
    IconsTest() : ExtensionTest({"IconListsInit", "IconsInit"}) {}

    static SBIconView *viewOf(const std::string &name)
    {
        for (SBIconListView *list : iconController()->allIconLists())
            for (id icon : *list->m_icons) {
                SEL selector = msg<BOOL>(icon, "isFolderIcon"_sel) ? "displayName"_sel
                                                                   : "applicationBundleID"_sel;
                if (msg<NSString *>(icon, selector)->str() == name)
                    return list->m_viewMap->mappedIconViewForIcon(static_cast<SBIcon *>(icon));
            }
        return nil;
    }

    static SBIconBadgeView *badgeOf(const std::string &name)
    {
        return static_cast<SBIconBadgeView *>(viewOf(name)->m_badgeView.get());
    }

    static void badge(const std::string &bundleIdentifier, const std::string &text)
    {
        ASSERT_EQ(HomeScreenHost::setBadge(bundleIdentifier, text), "");
    }

    static std::vector<std::string> pageNames(std::size_t index)
    {
        std::vector<std::string> names;
        for (id icon : *msg<NSArray *>(page(index), "visibleIcons"_sel))
            names.push_back(msg<NSString *>(icon, "displayName"_sel)->str());
        return names;
    }
};

// Hidden text keeps the badge's disc; a custom background colour is built once and kept
// until a respring; the options hide all badges or only the folders'.
TEST_F(IconsTest, BadgeTextColourAndTheBadgesOfAppsAndFolders)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(),
                        "<key>CVIcons</key><dict><key>hideBadgeText</key><true/>"
                        "<key>customBadgeBackgroundColor</key><true/>"
                        "<key>badgeBackgroundColor</key><array><integer>0</integer>"
                        "<integer>0</integer><integer>255</integer><integer>1</integer></array>"
                        "</dict>");
    badge("com.apple.MobileSMS", "3");
    sim::BadgeColors colors = sim::badgeColors(badgeOf("com.apple.MobileSMS"));
    EXPECT_FALSE(colors.hasText);
    EXPECT_EQ(std::vector<int>(colors.background, colors.background + 3),
              (std::vector<int>{0, 0, 255}));
    gCVIcons.hideBadgeText = false;
    gCVIcons.badgeBackgroundColor = {255, 255, 0, 1};
    badge("com.apple.MobileSMS", "5");
    EXPECT_TRUE(sim::badgeColors(badgeOf("com.apple.MobileSMS")).hasText);
    badge("com.apple.mobilecal", "1");
    EXPECT_EQ(sim::badgeColors(badgeOf("com.apple.mobilecal")).background[2], 255);

    // The Extras folder's icon shows the sum of its applications' badges.
    SBFolder *extras = static_cast<SBFolderIcon *>(iconController()->folderIcons().at(0))->m_folder;
    badge(msg<NSString *>(extras->m_icons->objectAtIndex(0), "applicationBundleID"_sel)->str(),
          "2");
    auto expectShown = [](bool folder, bool application) {
        relayout();
        EXPECT_EQ(viewOf("Extras")->showsBadge(), folder);
        EXPECT_EQ(viewOf("com.apple.MobileSMS")->showsBadge(), application);
    };
    expectShown(true, true);
    gCVIcons.hideFolderBadges = true;
    expectShown(false, true);
    gCVIcons.hideFolderBadges = false;
    gCVIcons.hideBadges = true;
    expectShown(false, false);
}

TEST_F(IconsTest, AHiddenAppComesBackLiveAndEveryEffectReachesTheHomeScreenFormatOnly)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(), "<key>CVIcons</key><dict><key>hiddenIcons</key><array>"
                                        "<string>com.apple.mobilenotes</string></array></dict>");
    std::vector<std::string> names = pageNames(0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Notes"), 0);
    EXPECT_TRUE(viewOf("com.apple.mobilenotes")->isHidden());
    // Reminders, after Notes, closes ranks into Notes' place.
    EXPECT_POINT_NEAR(viewOf("com.apple.reminders")->frame().origin, 201, 115);

    auto *identifiers = msg<NSArray *>(SBIconModel::shared(), "visibleIconIdentifiers"_sel);
    EXPECT_EQ(static_cast<NSString *>(identifiers->lastObject())->str(), "com.apple.mobilenotes");

    CFArrayRemoveAllValues(gCVIcons.hiddenIcons);
    gCVIcons.changeCallback();
    EXPECT_FALSE(viewOf("com.apple.mobilenotes")->isHidden());
    EXPECT_POINT_NEAR(viewOf("com.apple.mobilenotes")->frame().origin, 201, 115);

    // Every image effect reaches the home screen format only.
    SBIcon *icon = viewOf("com.apple.MobileSMS")->m_icon;
    auto pixels = [icon](int format) {
        return msg<UIImage *, int>(icon, "getIconImage:"_sel, format)->CGImage()->m_pixels;
    };
    auto stock = pixels(2);
    for (std::int32_t effect = 0; effect <= 7; ++effect) {
        gCVIcons.effect = effect;
        UIImage *expected = CVApplyIconImageEffect(icon->m_image, effect);
        EXPECT_EQ(pixels(2), expected->CGImage()->m_pixels) << effect;
        EXPECT_EQ(pixels(1), stock) << effect;
    }
    for (std::int32_t none : {-1, 8, -2}) {
        gCVIcons.effect = none;
        EXPECT_EQ(pixels(2), stock) << none;
    }
}

TEST_F(IconsTest, TheLocksKeepIconsInPlaceStillAndInstalled)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension();
    sim::SpringBoardHost::unlock();
    SBIconView *mine = viewOf(kSettingsApp);
    msg<void, BOOL>(iconController(), "setIsEditing:"_sel, YES);
    std::vector<std::string> before = pageNames(0);
    gCVIcons.lockLayout = true;
    EXPECT_EQ(HomeScreenHost::dragIcon("com.apple.mobilecal", "5"), "");
    EXPECT_EQ(pageNames(0), before);
    gCVIcons.lockLayout = false;
    EXPECT_EQ(HomeScreenHost::dragIcon("com.apple.mobilecal", "5"), "");
    EXPECT_EQ(pageNames(0)[5], "Calendar");
    msg<void, BOOL>(iconController(), "setIsEditing:"_sel, NO);

    gCVIcons.disableWiggling = true;
    gCVIcons.disableUninstall = true;
    msg<void, BOOL>(iconController(), "setIsEditing:"_sel, YES);
    EXPECT_TRUE(sim::keyframeAnimationKeys(mine->layer()).empty());
    EXPECT_TRUE(mine->m_closeBox->isHidden());
    EXPECT_TRUE(msg<BOOL>(mine, "isJittering"_sel)) << "editing itself goes on";
    msg<void, BOOL>(iconController(), "setIsEditing:"_sel, NO);
}

// The label font: a named one at its size on every label, SpringBoard's where the name is
// unknown or empty.
struct LabelFont {
    const char *settings;
    const char *fontName; // nullptr: SpringBoard's
    CGFloat size;
};

class LabelFonts : public IconsTest, public testing::WithParamInterface<LabelFont> {};

TEST_P(LabelFonts, ReachEveryLabel)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    std::string settings =
        std::string("<key>CVIcons</key><dict><key>customLabelFont</key><true/>") +
        GetParam().settings + "</dict>";
    launchWithExtension(phoneProfile(), settings.c_str());
    std::string name =
        GetParam().fontName ? GetParam().fontName : UIFont::systemFontOfSize(12)->fontName()->str();
    for (const char *icon : {"com.apple.MobileSMS", kSettingsApp, "Extras"}) {
        UIFont *font = viewOf(icon)->m_labelView->m_font;
        EXPECT_EQ(font->fontName()->str(), name) << icon;
        EXPECT_EQ(font->pointSize(), GetParam().size) << icon;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, LabelFonts,
    testing::Values(LabelFont{"<key>labelFontName</key><string>DejaVuSans-Bold</string>"
                              "<key>labelFontSize</key><real>15</real>",
                              "DejaVuSans-Bold", 15},
                    LabelFont{"<key>labelFontName</key><string>NoSuchFont-Bold</string>", nullptr,
                              12},
                    LabelFont{"", nullptr, 12}));

class UpdatedMark : public IconsTest, public testing::WithParamInterface<double> {};

TEST_P(UpdatedMark, HiddenOnEveryGeneration)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(GetParam()));
    EXPECT_TRUE(viewOf(kSettingsApp)->showsUpdatedMark());
    EXPECT_FALSE(viewOf("com.apple.MobileSMS")->showsUpdatedMark());
    gCVIcons.hideUpdatedMark = true;
    relayout();
    EXPECT_FALSE(viewOf(kSettingsApp)->showsUpdatedMark());
}

INSTANTIATE_TEST_SUITE_P(Generations, UpdatedMark, testing::ValuesIn(test::kGenerations),
                         test::generationName);

} // namespace
