// Every page's rows, in order, with their kinds, titles and keys (a group's footer in
// place of the key), under each condition the rows depend on: the device idiom, the
// system generation and earlier choices on the same page; and the value lists.

#include "PanelTestSupport.h"

#include "settings-panel/SectionListController.h"

namespace {

using namespace paneltest;
using Rows = std::vector<std::string>;

constexpr double kIOS8 = sim::DeviceProfile::kIOS8CoreFoundation;
constexpr double kIOS9 = sim::DeviceProfile::kIOS9CoreFoundation;

Rows concat(std::initializer_list<Rows> parts)
{
    Rows all;
    for (const Rows &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The icon-list block as the Dock, Folders and Pages pages end with it.
Rows iconListBlock(const std::string &resizeFooter, const std::string &labelsFooter, bool dock)
{
    Rows rows = {"G|Icons Settings|",
                 "G||" + resizeFooter,
                 "S|Resize|CVIconListEntity.resize",
                 "L|Resize Percentage|CVIconListEntity.resizeFactor",
                 "G||" + labelsFooter,
                 "S|Hide Labels|CVIconListEntity.hideLabels"};
    if (dock) {
        rows.insert(rows.end(),
                    {"G||Number of icons in Dock.", "L|Icons|CVIconListEntity.iconColumns"});
    } else {
        rows.insert(rows.end(), {"G||Number of icons for each column/row.",
                                 "L|Columns|CVIconListEntity.iconColumns",
                                 "L|Columns Landscape|CVIconListEntity.iconColumnsLandscape",
                                 "L|Rows|CVIconListEntity.iconRows",
                                 "L|Rows Landscape|CVIconListEntity.iconRowsLandscape",
                                 "G|Vertical Padding|Adjust the space between rows.",
                                 "SL||CVIconListEntity.verticalPadding",
                                 "G|Horizontal Padding|Adjust the space between columns.",
                                 "SL||CVIconListEntity.horizontalPadding"});
    }
    rows.insert(rows.end(),
                {"G|Side Inset|Adjust the side inset of icons.", "SL||CVIconListEntity.sideInset",
                 "G|Coverflow|Coverflow settings: enable/disable and adjust the coverflow effect.",
                 "S|Enabled|CVCoverFlowSettings.enabled", "S|Reverse|CVCoverFlowSettings.outside",
                 "G|Factor|", "SL|Factor|CVCoverFlowSettings.flowFactor", "G|Perspective|",
                 "SL|Perspective|CVCoverFlowSettings.perspective"});
    return rows;
}

class PageRows : public PanelTest {};

TEST_F(PageRows, AnimationsOnAPhoneWithoutLockAnimation)
{
    auto page = makePage("AnimationsListController");
    EXPECT_EQ(rowsOf(page), (Rows{
                                "G||Modify the duration of the animations of the whole OS.",
                                "S|Custom Speed|customSpeed",
                                "SL||animationSpeed",
                                "G|Lock Animation|Select an animation played while locking your "
                                "device.",
                                "L|Animation|lockAnimationType",
                                "G|Icons Scrolling Animation|Select a special effect applied "
                                "while scrolling between icon pages.",
                                "L|Animation|scrollAnimationType",
                            }));
    EXPECT_EQ(listTitles(page, "lockAnimationType"),
              (Rows{"None", "Blur", "Old TV", "Zoom Out", "Slide Away"}));
    EXPECT_EQ(listValues(page, "lockAnimationType"), (Rows{"0", "1", "2", "3", "4"}));
}

TEST_F(PageRows, AnimationsShowTheDurationOnceALockAnimationIsChosen)
{
    auto page = makePage("AnimationsListController");
    setValue(page, "lockAnimationType", integer(2));
    Rows rows = rowsOf(page);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[5], "G||Adjust the duration of the lock animation.");
    EXPECT_EQ(rows[6], "SL||lockAnimationDuration");
    setValue(page, "lockAnimationType", integer(0));
    EXPECT_EQ(rowsOf(page).size(), 7u);
}

TEST_F(PageRows, AnimationsOnAnIPadHaveNoLockAnimationRowsAtAll)
{
    useProfile(kIOS9, sim::DeviceProfile::Pad);
    gCVAnimations.lockAnimationType = 1; // even a stored choice shows nothing
    auto page = makePage("AnimationsListController");
    Rows rows = rowsOf(page);
    for (const std::string &row : rows)
        EXPECT_EQ(row.find("lockAnimation"), std::string::npos) << row;
    EXPECT_EQ(rows.size(), 5u);
}

TEST_F(PageRows, ScrollEffectsEndWithRandomUnderItsOwnValue)
{
    auto page = makePage("AnimationsListController");
    Rows titles = listTitles(page, "scrollAnimationType");
    Rows values = listValues(page, "scrollAnimationType");
    ASSERT_EQ(titles.size(), 40u);
    EXPECT_EQ(titles.front(), "None");
    EXPECT_EQ(titles[38], "Windmill");
    EXPECT_EQ(titles.back(), "Random");
    for (std::size_t index = 0; index < 39; ++index)
        EXPECT_EQ(values[index], std::to_string(index));
    EXPECT_EQ(values.back(), "263279764");

    setValue(page, "scrollAnimationType", integer(263279764));
    EXPECT_EQ(gCVAnimations.scrollAnimationType, 263279764u);
    EXPECT_EQ(describe(settingsFile()->objectForKey("CVAnimations"_ns)).find("263279764") !=
                  std::string::npos,
              true);
}

TEST_F(PageRows, AppSlider)
{
    auto page = makePage("AppSliderListController");
    EXPECT_EQ(rowsOf(page),
              (Rows{"G||Hide the icons shown below App Slider pages.", "S|Hide Icons|hideIcons",
                    "G||Resize App Slider Pages.", "L|Resize Pages|pageScaleFactor",
                    "G||Determines what happens when you slide the home screen page up.",
                    "L|Home Action|homeAction", "G||Choose how to handle inactive apps.",
                    "L|Inactive Apps|appsMode"}));
    Rows scales = listTitles(page, "pageScaleFactor");
    ASSERT_EQ(scales.size(), 19u);
    EXPECT_EQ(scales.front(), "20%");
    EXPECT_EQ(scales[1], "30%");
    EXPECT_EQ(scales.back(), "200%");
    EXPECT_EQ(listTitles(page, "homeAction"), (Rows{"None", "Respring"}));
    EXPECT_EQ(listTitles(page, "appsMode"), (Rows{"Default", "Hide", "Blur", "Darken"}));
}

TEST_F(PageRows, ControlCenter)
{
    auto page = makePage("ControlCenterListController");
    EXPECT_EQ(
        rowsOf(page),
        (Rows{"G|Disable Control Center|This option disables Control Center if enabled. You "
              "will not be able to pull up the Control Center",
              "S|Disable CC|disableCC",
              "G|Background Color|Customize the background color of the Control Center. Use "
              "the slider to regulate the opacity of the color.",
              "S|Enable|customBackdropColor",
              "C|Color|backdropColor",
              "SL||backdropColorAlpha",
              "G|Normal Control Color|Change the color of the toggles in the Control Center in "
              "their normal state.",
              "S|Enable|customNormalControlColor",
              "C|Color|normalControlColor",
              "G|Highlighted Control Color|Change the color of the toggles in the Control Center "
              "when they are highlighted.",
              "S|Enable|customHighlightedControlColor",
              "C|Color|highlightedControlColor",
              "G||Hide the separators shown between sections.",
              "S|Hide Separators|hideSeparators",
              "G|Hide Sections|Hide specific sections from Control Center.",
              "S|Hide Quick Launch|hideSectionQuickLaunch",
              "S|Hide Brightness|hideSectionBrightness",
              "S|Hide Media Controls|hideSectionMediaControls",
              "S|Hide AirDrop|hideSectionAirStuff",
              "S|Hide Settings|hideSectionSettings",
              "G|Blur Radius|Change the blur strength (defaults to 30).",
              "SL||blurRadius"}));
    PSSpecifier *blur = rowWithKey(page, "blurRadius");
    EXPECT_EQ(describe(blur->propertyForKey("min"_ns)), "1");
    EXPECT_EQ(describe(blur->propertyForKey("max"_ns)), "30");
    EXPECT_TRUE(static_cast<NSNumber *>(blur->propertyForKey("showValue"_ns))->boolValue());
    // The colour editor reports to the page.
    id editor = msg<id>(msg<id>(objc_getClass("PSViewController"), "alloc"_sel), "init"_sel);
    msg<void>(editor, "setSpecifier:"_sel, rowWithKey(page, "backdropColor"));
    EXPECT_EQ(CVEditorDelegate(editor, "CV3ColorControllerDelegate"_ns),
              static_cast<id>(page.get()));
    objc_release(editor);
}

TEST_F(PageRows, Dock)
{
    auto page = makePage("DockListController");
    EXPECT_EQ(
        rowsOf(page),
        concat({{"G||Hide the Dock from SpringBoard.", "S|Hide Dock|hideDock",
                 "G||Hides the Dock background.", "S|Hide Background|hideBackground"},
                iconListBlock("Resize icons in Dock.", "Hide labels of icons in Dock.", true)}));
}

TEST_F(PageRows, Folders)
{
    auto page = makePage("FoldersListController");
    EXPECT_EQ(
        rowsOf(page),
        concat({{"G||Create folders inside folders.", "S|Nested Folders|nestedFolders",
                 "G||Prevent Folder name changes", "S|Lock Folder Names|lockFolderNames",
                 "G||Pinch on an open folder to close it.", "S|Pinch to Close|pinchToClose",
                 "G||Make the folder background transparent.",
                 "S|Transparent Background|transparentBackground",
                 "G||Use a dark background for folders, if it's not transparent.",
                 "S|Dark Background|darkBackground", "G||Do not blur the background of the icon.",
                 "S|Unblurred Icon|unblurredIconBackground",
                 "G||Make the open/close animation faster.", "S|Fast Open/Close|fastOpen"},
                iconListBlock("Resize icons inside folders.",
                              "Hide labels of icons inside folders.", false)}));
}

TEST_F(PageRows, IconListValueLists)
{
    auto page = makePage("FoldersListController");
    Rows percents = listTitles(page, "CVIconListEntity.resizeFactor");
    ASSERT_EQ(percents.size(), 36u);
    for (std::size_t index = 0; index < percents.size(); ++index)
        EXPECT_EQ(percents[index], std::to_string(25 + 5 * index) + "%");
    EXPECT_EQ(listValues(page, "CVIconListEntity.resizeFactor")[2], "0.35");
    Rows counts = {"Default", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    for (const char *key :
         {"CVIconListEntity.iconColumns", "CVIconListEntity.iconRows",
          "CVIconListEntity.iconColumnsLandscape", "CVIconListEntity.iconRowsLandscape"}) {
        EXPECT_EQ(listTitles(page, key), counts) << key;
        EXPECT_EQ(listValues(page, key).back(), "10") << key;
    }
    // The shared builders answer the same lists.
    auto *titles = msg<NSArray *>(page.get(), "percentTitles"_sel);
    EXPECT_EQ(describe(titles->objectAtIndex(0)), "25%");
    EXPECT_EQ(describe(titles->lastObject()), "200%");
    EXPECT_EQ(describe(msg<NSArray *>(page.get(), "rowTitles"_sel)->objectAtIndex(0)), "Default");
    EXPECT_EQ(msg<NSArray *>(page.get(), "columnValues"_sel)->count(), 11u);
}

TEST_F(PageRows, Icons)
{
    auto page = makePage("IconsListController");
    EXPECT_EQ(rowsOf(page),
              (Rows{"G||Hide the \"recently updated\" badge.",
                    "S|Hide Updated|hideUpdatedMark",
                    "G||Prevent icons from being moved.",
                    "S|Lock Layout|lockLayout",
                    "G||Disables the \"wiggling\" animation that occurs after long pressing on an "
                    "icon.",
                    "S|Disable Wiggling|disableWiggling",
                    "G||Prevent icons from being uninstalled.",
                    "S|Disable Uninstall|disableUninstall",
                    "G||Hide badges on all icons.",
                    "S|Hide Badges|hideBadges",
                    "G||Hide the text of the badges while keeping the background",
                    "S|Hide Badge Text|hideBadgeText",
                    "G||Apply different effects to icon images.",
                    "L|Icon Image Effect|effect",
                    "G|Image Transparency|Change the transparency of icon images (1.0 is the "
                    "default).",
                    "SL||iconImageAlpha",
                    "G|Icon Labels|Customize different aspects of icon labels. You need to "
                    "respring in order to apply any of these changes.",
                    "L|Label Font Size|labelFontSize",
                    "S|Custom Font Type|customLabelFont",
                    "F|Choose Font|labelFontName",
                    "G|Badge Colors|Customize the background and text color on icon badges.",
                    "S|Background|customBadgeBackgroundColor",
                    "C|Background Color|badgeBackgroundColor",
                    "S|Text|customBadgeTextColor",
                    "C|Text Color|badgeTextColor",
                    "G|Hide Icons|Hide newsstand, the Corvane app, or any other app(s) you have "
                    "installed.",
                    "S|Hide Newsstand|hideNewsstand",
                    "S|Hide Corvane|hideCorvane",
                    "A|Hide Icons|hiddenIcons"}));
    EXPECT_EQ(listValues(page, "effect"), (Rows{"-1", "0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(listTitles(page, "effect"),
              (Rows{"None", "Invert Colors", "Black & White", "High Contrast", "Sepia",
                    "Faded Colors", "Psycho Colors", "Red Ascendant", "Green Ascendant"}));
    Rows sizes = listTitles(page, "labelFontSize");
    ASSERT_EQ(sizes.size(), 18u);
    EXPECT_EQ(sizes[0], "Default");
    EXPECT_EQ(sizes[1], "3");
    EXPECT_EQ(sizes[2], "5");
    EXPECT_EQ(sizes.back(), "35");
}

TEST_F(PageRows, LockScreenRowsFollowTheModes)
{
    auto page = makePage("LockScreenListController");
    Rows original = {
        "G|Hide Items|Hide LockScreen items (enable to hide).",
        "S|Camera Grabber|hideCamera",
        "S|Control Center Grabber|hideCCGrabber",
        "S|Notif. Center Grabber|hideNCGrabber",
        "S|Album Artwork|hideAlbumArtwork",
        "G||Choose the style of the LockScreen slider (hide it, display custom text or current "
        "time).",
        "L|Slider Style|sliderMode",
        "G|Time Color|Customize the color of the time in Lockscreen.",
        "S|Enable|customTimeColor",
        "C|Color|timeColor",
        "G|Time|Choose the style of the LockScreen time.",
        "L|Time Font Size|timeFontSize",
        "L|Time Style|timeMode",
        "G|Date|Choose the style of the LockScreen date.",
        "L|Date Font Size|dateFontSize",
        "L|Date Style|dateMode"};
    EXPECT_EQ(rowsOf(page), original);

    setValue(page, "sliderMode", integer(2));
    Rows rows = rowsOf(page);
    ASSERT_EQ(rows.size(), original.size() + 2);
    EXPECT_EQ(rows[7], "G||Insert the text to be displayed on the slider.");
    EXPECT_EQ(rows[8], "T||sliderText");
    EXPECT_EQ(describe(rowWithKey(page, "sliderText")->propertyForKey("placeholder"_ns)),
              "Enter Custom Text");

    setValue(page, "sliderMode", integer(3));
    rows = rowsOf(page);
    EXPECT_EQ(rows[7], "G||Choose the time format to be displayed on the slider.");
    EXPECT_EQ(rows[8], "L|Time Format|sliderTimeStyle");
    EXPECT_EQ(listValues(page, "sliderTimeStyle"), (Rows{"1", "2", "3", "4"}));
    EXPECT_EQ(listTitles(page, "sliderTimeStyle"), (Rows{"Short", "Medium", "Long", "Full"}));

    setValue(page, "sliderMode", integer(0));
    EXPECT_EQ(rowsOf(page), original);

    setValue(page, "timeMode", integer(2));
    setValue(page, "dateMode", integer(2));
    rows = rowsOf(page);
    ASSERT_EQ(rows.size(), original.size() + 4);
    EXPECT_EQ(rows[13], "G||Insert the text to be displayed in place of the time.");
    EXPECT_EQ(rows[14], "T||timeText");
    EXPECT_EQ(rows[18], "G||Insert the text to be displayed in place of the date.");
    EXPECT_EQ(rows[19], "T||dateText");
    EXPECT_EQ(listTitles(page, "dateMode"), (Rows{"Original", "Custom Text"}));
    EXPECT_EQ(listValues(page, "dateMode"), (Rows{"0", "2"}));
    Rows sizes = listTitles(page, "timeFontSize");
    EXPECT_EQ(sizes.size(), 38u);
    EXPECT_EQ(sizes[1], "9");
    EXPECT_EQ(sizes[2], "12");
    EXPECT_EQ(sizes.back(), "117");
    EXPECT_EQ(listTitles(page, "dateFontSize"), sizes);
}

TEST_F(PageRows, NotificationCenter)
{
    auto page = makePage("NotificationCenterListController");
    EXPECT_EQ(
        rowsOf(page),
        (Rows{"G|Background Color|Customize the background color of the Notification "
              "Center. Use the slider to regulate the opacity of the color.",
              "S|Enable|customBackdropColor", "C|Color|backdropColor", "SL||backdropColorAlpha",
              "G||Hide the 'Today' section.", "S|Hide Today|hideToday",
              "G||Custom Notification Center 'No Notifications' text", "S|Custom Text|customNCText",
              "T||customNotificationUnavailableText", "G||Hide the 'Missed' section.",
              "S|Hide Missed|hideMissed",
              "G|Blur Radius|Change the blur strength (defaults to 20).", "SL||blurRadius",
              "G||Disable the Notification Center.", "S|Disable|disableNC"}));
}

Rows pagesOwnRows(bool ninthGeneration)
{
    Rows rows = {"G||Hide the page dots.", "S|Hide Dots|hidePageDots",
                 "G||Prevent the activation of Spotlight."};
    if (ninthGeneration)
        rows.insert(rows.end(), {"L|Disable Spotlight|disableSpotlightValue",
                                 "G||Return to the first SpringBoard page after locking",
                                 "S|Return to first page|returnToFirstPage",
                                 "G|Spotlight Sections|Hide Spotlight Sections",
                                 "S|Hide Siri Suggestions|hideSiriSuggestions",
                                 "S|Hide Nearby|hideNearby", "S|Hide News|hideNews"});
    else
        rows.push_back("S|Disable Spotlight|disableSpotlight");
    return concat(
        {rows, iconListBlock("Resize icons in pages.", "Hide labels of icons in pages.", false)});
}

TEST_F(PageRows, PagesOnTheNinthGeneration)
{
    auto page = makePage("PagesListController");
    EXPECT_EQ(rowsOf(page), pagesOwnRows(true));
    EXPECT_EQ(listTitles(page, "disableSpotlightValue"),
              (Rows{"None", "Left Spotlight", "Top Spotlight", "Both"}));
}

TEST_F(PageRows, PagesBeforeTheNinthGeneration)
{
    useProfile(kIOS8, sim::DeviceProfile::Phone);
    auto page = makePage("PagesListController");
    EXPECT_EQ(rowsOf(page), pagesOwnRows(false));
}

Rows statusBarItemRows()
{
    // Sorted by title.
    return {"S|Airplane|h.airplane",
            "S|AirPlay|h.airplay",
            "S|Alarm|h.alarm",
            "S|Battery Image|h.batteryImage",
            "S|Battery Percentage|h.batteryPercentage",
            "S|Black Square|h.blackSquare",
            "S|Bluetooth Battery|h.bluetoothHeadsetBattery",
            "S|Bluetooth Signal|h.bluetoothSignal",
            "S|Call Forwarding|h.callForwarding",
            "S|Carrier|h.carrier",
            "S|Do Not Disturb|h.doNotDisturb",
            "S|Location|h.location",
            "S|Network Activity|h.networkActivity",
            "S|Network Type|h.networkType",
            "S|Nike+|h.nikePlus",
            "S|Recording|h.recording",
            "S|Rotation Lock|h.rotationLock",
            "S|Signal Strength|h.gsmSignalStrength",
            "S|Time|h.time",
            "S|TTY|h.tty",
            "S|VPN|h.vpn"};
}

TEST_F(PageRows, StatusBarOnTheNinthGenerationShowsTheTextOnlyForCustomText)
{
    auto page = makePage("StatusBarListController");
    Rows head = {"G||Insert a custom string to be displayed in place of your carrier.",
                 "S|Custom Carrier|customCarrier", "T||carrierString",
                 "G||Select a string to be displayed instead of the time.",
                 "L|Custom Time String|timeStringOption"};
    Rows items =
        concat({{"G|Hide Items|Hide status bar items (enable to hide)."}, statusBarItemRows()});
    EXPECT_EQ(rowsOf(page), concat({head, items}));
    EXPECT_EQ(listTitles(page, "timeStringOption"),
              (Rows{"None", "Custom Text", "IP Address", "Wifi SSID", "Lowercase AM/PM Symbol",
                    "Display Seconds"}));

    setValue(page, "timeStringOption", integer(1));
    EXPECT_EQ(rowsOf(page), concat({head, {"T||timeString"}, items}));
    setValue(page, "timeStringOption", integer(2));
    EXPECT_EQ(rowsOf(page), concat({head, items}));
}

TEST_F(PageRows, StatusBarBeforeTheNinthGenerationAlwaysShowsTheTimeText)
{
    useProfile(kIOS8, sim::DeviceProfile::Phone);
    auto page = makePage("StatusBarListController");
    EXPECT_EQ(rowsOf(page),
              concat({{"G||Insert a custom string to be displayed in place of your carrier.",
                       "S|Custom Carrier|customCarrier", "T||carrierString",
                       "G||Enter a string shown instead of the time in the status bar.",
                       "S|Custom Time|customTime", "T||timeString",
                       "G|Hide Items|Hide status bar items (enable to hide)."},
                      statusBarItemRows()}));
}

} // namespace
