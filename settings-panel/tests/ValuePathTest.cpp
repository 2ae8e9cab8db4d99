// From a row to the model, the file and the running SpringBoard: each change is loaded,
// saved and sent with the page's section identifier, nested as the file nests it; resets
// put a page's part of the model back to its defaults and commit it whole.

#include "PanelTestSupport.h"

#include "foundation/NSNotificationCenter.h"
#include "settings-panel/SectionListController.h"

namespace {

using namespace paneltest;

class ValuePath : public PanelTest {
protected:
    // The single update the service received, or a failure.
    Update onlyUpdate()
    {
        const std::vector<Update> &received = updates(1);
        EXPECT_EQ(received.size(), 1u);
        return received.empty() ? Update{} : received.front();
    }
};

// Each page commits with its own identifier; keys of the icon lists, their cover flow and
// the status bar items are sent nested the way the file nests them.
TEST_F(ValuePath, EachRowLoadsItsValueAndSendsItWithThePageIdentifier)
{
    struct Case {
        const char *page;
        const char *key;
        id value;
        std::uint32_t sectionID;
        NSDictionary *sent = nil; // nil: {key: value}
    };
    const Case cases[] = {
        {"StatusBarListController", "customCarrier", boolean(true), 0},
        {"IconsListController", "hideBadges", boolean(true), 1},
        {"PagesListController", "hidePageDots", boolean(true), 1},
        {"DockListController", "hideDock", boolean(true), 2},
        {"AppSliderListController", "appsMode", integer(3), 3},
        {"FoldersListController", "pinchToClose", boolean(true), 4},
        {"LockScreenListController", "hideCamera", boolean(true), 5},
        {"ControlCenterListController", "disableCC", boolean(true), 6},
        {"AnimationsListController", "customSpeed", boolean(true), 7},
        {"NotificationCenterListController", "hideToday", boolean(true), 8},
        {"PagesListController", "CVIconListEntity.iconColumns", integer(6), 1,
         dict({{"pages", dict({{"iconColumns", integer(6)}})}})},
        {"FoldersListController", "CVIconListEntity.hideLabels", boolean(true), 1,
         dict({{"folders", dict({{"hideLabels", boolean(true)}})}})},
        {"DockListController", "CVCoverFlowSettings.enabled", boolean(true), 1,
         dict({{"dock", dict({{"coverflow", dict({{"enabled", boolean(true)}})}})}})},
        {"StatusBarListController", "h.vpn", boolean(true), 0,
         dict({{"itemIsHidden", dict({{"vpn", boolean(true)}})}})},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(std::string(test.page) + " " + test.key);
        clearUpdates();
        auto page = makePage(test.page);
        setValue(page, test.key, test.value);
        EXPECT_TRUE(sim::objectsEqual(valueOf(page, test.key), test.value));
        const std::vector<Update> &received = updates(1);
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].sectionID, test.sectionID);
        EXPECT_EQ(describe(received[0].changes),
                  describe(test.sent ? test.sent : dict({{test.key, test.value}})));
    }
    // Each nested key reached its own entity and no other.
    EXPECT_EQ(gCVIcons.pages.iconColumns, 6);
    EXPECT_EQ(gCVIcons.folders.iconColumns, 0);
    EXPECT_TRUE(gCVIcons.folders.hideLabels);
    EXPECT_TRUE(gCVIcons.dock.coverflow.enabled);
    EXPECT_FALSE(gCVIcons.pages.coverflow.enabled);
    EXPECT_TRUE(gCVStatusBar.itemIsHidden[21]);
}

TEST_F(ValuePath, ColoursAreStoredAsBytesWithAFourthByteOfOne)
{
    auto page = makePage("LockScreenListController");
    PSSpecifier *row = rowWithKey(page, "timeColor");
    // The editor asks for the saved colour and reports the chosen one with itself as the
    // first argument; a stand-in editor that answers the row is enough.
    id editor = msg<id>(msg<id>(objc_getClass("PSViewController"), "alloc"_sel), "init"_sel);
    msg<void>(editor, "setSpecifier:"_sel, row);
    EXPECT_EQ(CVEditorDelegate(editor, "CV3ColorControllerDelegate"_ns),
              static_cast<id>(page.get()));
    UIColor *saved = msg<UIColor *>(page.get(), "colorControllerRequestingSavedColor:"_sel, editor);
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    msg<BOOL>(saved, "getRed:green:blue:alpha:"_sel, &red, &green, &blue, &alpha);
    EXPECT_EQ(red, 1.0); // the default 255, 255, 255
    EXPECT_EQ(alpha, 1.0);

    UIColor *chosen = msg<UIColor *, CGFloat, CGFloat, CGFloat, CGFloat>(
        UIColor::class_(), "colorWithRed:green:blue:alpha:"_sel, 0.5, 0.25, 1.0, 0.3);
    msg<void>(page.get(), "colorController:didSelectColor:"_sel, editor, chosen);
    EXPECT_EQ(gCVLockScreen.timeColor, (CVColor{127, 63, 255, 1}));
    Update update = onlyUpdate();
    EXPECT_EQ(update.sectionID, 5u);
    EXPECT_EQ(
        describe(update.changes),
        describe(dict({{"timeColor", NSArray::arrayWithObjects({integer(127), integer(63),
                                                                integer(255), integer(1)})}})));
    objc_release(editor);
}

// Resets: what each page puts back and what it commits.

TEST_F(ValuePath, AStandardResetCommitsTheWholeSection)
{
    auto page = makePage("NotificationCenterListController");
    setValue(page, "blurRadius", number(5));
    updates(1);
    clearUpdates();
    msg<void>(page.get(), "resetSection"_sel);
    EXPECT_EQ(gCVNotificationCenter.blurRadius, 20.0);
    Update update = onlyUpdate();
    EXPECT_EQ(update.sectionID, 8u);
    EXPECT_TRUE(sim::objectsEqual(update.changes, gCVNotificationCenter.getDictionary()))
        << describe(update.changes);
    auto *saved =
        static_cast<NSDictionary *>(settingsFile()->objectForKey("CVNotificationCenter"_ns));
    EXPECT_EQ(describe(saved->objectForKey("blurRadius"_ns)), "20");
}

// The dock and folders pages reset their own section and their icon list, and commit the
// section, then the whole icons section; the other lists are left alone.
TEST_F(ValuePath, TheDockAndFoldersResetsCommitTheirSectionThenTheIcons)
{
    gCVDock.hideDock = true;
    gCVIcons.dock.iconColumns = 3;
    gCVFolders.fastOpen = true;
    gCVIcons.folders.sideInset = 2.0;
    gCVIcons.pages.iconColumns = 7;
    for (auto [page, sectionID] :
         {std::pair{"DockListController", 2u}, std::pair{"FoldersListController", 4u}}) {
        clearUpdates();
        msg<void>(makePage(page).get(), "resetSection"_sel);
        const std::vector<Update> &received = updates(2);
        ASSERT_EQ(received.size(), 2u) << page;
        EXPECT_EQ(received[0].sectionID, sectionID);
        EXPECT_EQ(received[1].sectionID, 1u);
        EXPECT_NE(received[1].changes->objectForKey("hiddenIcons"_ns), nil);
    }
    EXPECT_FALSE(gCVDock.hideDock);
    EXPECT_EQ(gCVIcons.dock.iconColumns, 0);
    EXPECT_FALSE(gCVFolders.fastOpen);
    EXPECT_EQ(gCVIcons.folders.sideInset, 1.0);
    EXPECT_EQ(gCVIcons.pages.iconColumns, 7);
}

// The icons page keeps the dock and folder lists; the pages page keeps the ninth
// generation's spotlight choices.
TEST_F(ValuePath, TheIconsAndPagesResetsKeepWhatOtherRowsShow)
{
    gCVIcons.hideBadges = true;
    gCVIcons.pages.iconRows = 4;
    gCVIcons.dock.iconColumns = 5;
    gCVIcons.folders.iconRows = 2;
    msg<void>(makePage("IconsListController").get(), "resetSection"_sel);
    EXPECT_FALSE(gCVIcons.hideBadges);
    EXPECT_EQ(gCVIcons.pages.iconRows, 0);
    EXPECT_EQ(gCVIcons.dock.iconColumns, 5);
    EXPECT_EQ(gCVIcons.folders.iconRows, 2);
    EXPECT_EQ(onlyUpdate().sectionID, 1u);

    clearUpdates();
    gCVIcons.hidePageDots = true;
    gCVIcons.disableSpotlight = true;
    gCVIcons.disableSpotlightValue = 3;
    gCVIcons.returnToFirstPage = true;
    gCVIcons.hideNews = true;
    gCVIcons.pages.resize = true;
    msg<void>(makePage("PagesListController").get(), "resetSection"_sel);
    EXPECT_FALSE(gCVIcons.hidePageDots);
    EXPECT_FALSE(gCVIcons.disableSpotlight);
    EXPECT_FALSE(gCVIcons.pages.resize);
    EXPECT_EQ(gCVIcons.disableSpotlightValue, 3u);
    EXPECT_TRUE(gCVIcons.returnToFirstPage);
    EXPECT_TRUE(gCVIcons.hideNews);
    EXPECT_EQ(onlyUpdate().sectionID, 1u);
}

TEST_F(ValuePath, AResetBuildsTheRowsAgain)
{
    auto page = makePage("LockScreenListController");
    setValue(page, "sliderMode", integer(2));
    updates(1);
    std::size_t withText = rowsOf(page).size();
    msg<void>(page.get(), "resetSection"_sel);
    EXPECT_EQ(rowsOf(page).size(), withText - 2);
}

// Options that SpringBoard takes up only when it starts offer a restart: the label fonts
// and the notification center's texts, and nothing else.
TEST_F(ValuePath, OnlyOptionsTakenUpAtStartOfferARestart)
{
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    int notices = 0;
    id observer = center->addObserverForNameObjectQueueUsingBlock(
        "CV3ShowSettingsChangedNotification"_ns, nil, nil, [&](NSNotification *) { ++notices; });
    auto icons = makePage("IconsListController");
    setValue(icons, "hideBadges", boolean(true));
    EXPECT_EQ(notices, 0);
    setValue(icons, "labelFontSize", number(11));
    EXPECT_EQ(notices, 1);
    setValue(icons, "customLabelFont", boolean(true));
    EXPECT_EQ(notices, 2);

    auto page = makePage("NotificationCenterListController");
    setValue(page, "hideMissed", boolean(true));
    EXPECT_EQ(notices, 2);
    setValue(page, "customNCText", boolean(true));
    setValue(page, "customNotificationUnavailableText", "Nothing"_ns);
    EXPECT_EQ(notices, 4);
    center->removeObserver(observer);
}

} // namespace
