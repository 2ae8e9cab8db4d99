// The pages' rows as a user meets them: every keyed row keeps its value through the file,
// and rows that depend on the device or an earlier choice come and go with it.

#include "PanelTestSupport.h"

#include <algorithm>
#include <iterator>
#include <strings.h>

namespace {

using namespace paneltest;

constexpr double kIOS8 = sim::DeviceProfile::kIOS8CoreFoundation;
constexpr double kIOS9 = sim::DeviceProfile::kIOS9CoreFoundation;

const char *const kSectionPages[] = {
    "AnimationsListController",    "AppSliderListController",
    "ControlCenterListController", "DockListController",
    "FoldersListController",       "IconsListController",
    "LockScreenListController",    "NotificationCenterListController",
    "PagesListController",         "StatusBarListController",
};

struct Row {
    std::string kind;
    std::string title;
    std::string key; // a group's footer
};

std::vector<Row> parsedRowsOf(PSListController *page)
{
    std::vector<Row> rows;
    for (const std::string &line : rowsOf(page)) {
        std::size_t first = line.find('|');
        std::size_t second = line.find('|', first + 1);
        rows.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                        line.substr(second + 1)});
    }
    return rows;
}

bool hasRow(PSListController *page, const std::string &key)
{
    std::vector<Row> rows = parsedRowsOf(page);
    return std::any_of(rows.begin(), rows.end(), [&](const Row &row) { return row.key == key; });
}

// A value the row does not show yet: a switch turned, a list's last value, the middle of
// a slider's range, a text that fits every text field.
id otherValue(PSListController *page, const Row &row)
{
    const char *key = row.key.c_str();
    if (row.kind == "S")
        return boolean(!static_cast<NSNumber *>(valueOf(page, key))->boolValue());
    PSSpecifier *specifier = rowWithKey(page, key);
    if (row.kind == "L")
        return specifier->m_values->lastObject();
    if (row.kind == "SL") {
        auto bound = [&](NSString *name) {
            return static_cast<NSNumber *>(specifier->propertyForKey(name))->doubleValue();
        };
        return NSNumber::numberWithFloat(
            static_cast<float>((bound("min"_ns) + bound("max"_ns)) / 2));
    }
    return "Kestrel"_ns; // a text row
}

class PageRows : public PanelTest {};

// Every row has a title or a footer and every section ends with rows; every keyed row
// stores what it is given and shows it again once the settings are read back from the file.
TEST_F(PageRows, EveryRowIsNamedAndEveryKeyedRowKeepsItsValueThroughTheFile)
{
    for (const char *className : kSectionPages) {
        SCOPED_TRACE(className);
        auto page = makePage(className);
        std::vector<Row> rows = parsedRowsOf(page);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front().kind, "G");
        EXPECT_NE(rows.back().kind, "G");
        for (const Row &row : rows) {
            EXPECT_FALSE(row.title.empty() && row.key.empty()) << row.kind;
            if (row.kind != "S" && row.kind != "L" && row.kind != "SL" && row.kind != "T")
                continue; // groups, and the editors' rows (EditorsTest, ValuePathTest)
            SCOPED_TRACE(row.key);
            StrongRef<objc_object> value = otherValue(page, row);
            setValue(page, row.key.c_str(), value);
            CVLoadSettings(); // the model afresh from the file
            EXPECT_TRUE(sim::objectsEqual(valueOf(page, row.key.c_str()), value))
                << describe(valueOf(page, row.key.c_str())) << " for " << describe(value);
        }
    }
}

// The duration follows the chosen lock animation; an iPad offers no lock animation even
// with one stored.
TEST_F(PageRows, TheLockAnimationRowsFollowTheChosenAnimationAndTheIdiom)
{
    auto page = makePage("AnimationsListController");
    EXPECT_TRUE(hasRow(page, "lockAnimationType"));
    EXPECT_FALSE(hasRow(page, "lockAnimationDuration"));
    setValue(page, "lockAnimationType", integer(2));
    EXPECT_TRUE(hasRow(page, "lockAnimationDuration"));
    setValue(page, "lockAnimationType", integer(0));
    EXPECT_FALSE(hasRow(page, "lockAnimationDuration"));

    useProfile(kIOS9, sim::DeviceProfile::Pad);
    gCVAnimations.lockAnimationType = 1;
    auto pad = makePage("AnimationsListController");
    for (const Row &row : parsedRowsOf(pad))
        EXPECT_EQ(row.key.find("lockAnimation"), std::string::npos) << row.key;
    EXPECT_TRUE(hasRow(pad, "scrollAnimationType"));
}

// None, the 38 effects, and the random pick last (its value is stored as every last list
// value is, above).
TEST_F(PageRows, TheScrollEffectsEndWithTheRandomPick)
{
    std::vector<std::string> titles =
        listTitles(makePage("AnimationsListController"), "scrollAnimationType");
    ASSERT_EQ(titles.size(), 40u);
    EXPECT_EQ(titles.back(), "Random");
}

TEST_F(PageRows, TheLockScreenTextRowsFollowTheirModes)
{
    auto page = makePage("LockScreenListController");
    const char *const dependent[] = {"sliderText", "sliderTimeStyle", "timeText", "dateText"};
    for (const char *key : dependent)
        EXPECT_FALSE(hasRow(page, key)) << key;

    setValue(page, "sliderMode", integer(2)); // custom text
    EXPECT_TRUE(hasRow(page, "sliderText"));
    EXPECT_FALSE(hasRow(page, "sliderTimeStyle"));
    setValue(page, "sliderMode", integer(3)); // the current time
    EXPECT_FALSE(hasRow(page, "sliderText"));
    EXPECT_EQ(listTitles(page, "sliderTimeStyle"),
              (std::vector<std::string>{"Short", "Medium", "Long", "Full"}));
    setValue(page, "timeMode", integer(2));
    setValue(page, "dateMode", integer(2));
    EXPECT_TRUE(hasRow(page, "timeText"));
    EXPECT_TRUE(hasRow(page, "dateText"));

    setValue(page, "sliderMode", integer(0));
    setValue(page, "timeMode", integer(0));
    setValue(page, "dateMode", integer(0));
    for (const char *key : dependent)
        EXPECT_FALSE(hasRow(page, key)) << key;
}

// Every named item but the four unknown ones has a switch, in the order of its title.
TEST_F(PageRows, TheStatusBarItemsAreOfferedByTitle)
{
    auto page = makePage("StatusBarListController");
    std::vector<std::string> titles;
    for (const Row &row : parsedRowsOf(page))
        if (row.key.rfind("h.", 0) == 0)
            titles.push_back(row.title);
    EXPECT_EQ(titles.size(), CVStatusBarItemCount - 4u);
    EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end(), [](auto &a, auto &b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }));
}

// The status bar's time text and the spotlight choices differ between the ninth
// generation and the eighth.
TEST_F(PageRows, TheTimeTextAndSpotlightRowsDependOnTheGeneration)
{
    auto ninth = makePage("StatusBarListController");
    EXPECT_FALSE(hasRow(ninth, "customTime"));
    EXPECT_FALSE(hasRow(ninth, "timeString"));
    setValue(ninth, "timeStringOption", integer(1)); // custom text
    EXPECT_TRUE(hasRow(ninth, "timeString"));
    setValue(ninth, "timeStringOption", integer(2)); // the IP address
    EXPECT_FALSE(hasRow(ninth, "timeString"));
    auto ninthPages = makePage("PagesListController");
    for (const char *key : {"disableSpotlightValue", "returnToFirstPage", "hideSiriSuggestions",
                            "hideNearby", "hideNews"})
        EXPECT_TRUE(hasRow(ninthPages, key)) << key;
    EXPECT_FALSE(hasRow(ninthPages, "disableSpotlight"));

    useProfile(kIOS8, sim::DeviceProfile::Phone);
    auto eighth = makePage("StatusBarListController");
    EXPECT_FALSE(hasRow(eighth, "timeStringOption"));
    EXPECT_TRUE(hasRow(eighth, "customTime"));
    EXPECT_TRUE(hasRow(eighth, "timeString"));
    auto eighthPages = makePage("PagesListController");
    EXPECT_TRUE(hasRow(eighthPages, "disableSpotlight"));
    EXPECT_FALSE(hasRow(eighthPages, "disableSpotlightValue"));
    EXPECT_FALSE(hasRow(eighthPages, "hideNews"));
}

// The dock has one count, the other icon lists four.
TEST_F(PageRows, TheDockCountsIconsInOneRow)
{
    auto dock = makePage("DockListController");
    EXPECT_TRUE(hasRow(dock, "CVIconListEntity.iconColumns"));
    EXPECT_FALSE(hasRow(dock, "CVIconListEntity.iconRows"));
    EXPECT_FALSE(hasRow(dock, "CVIconListEntity.verticalPadding"));
    auto folders = makePage("FoldersListController");
    for (const char *key : {"CVIconListEntity.iconRows", "CVIconListEntity.iconRowsLandscape",
                            "CVIconListEntity.iconColumnsLandscape"})
        EXPECT_TRUE(hasRow(folders, key)) << key;
}

// The colour of each page's navigation bar, as red, green and blue fractions, in the
// order of kSectionPages.
constexpr double kBarTints[][3] = {
    {0.9843, 0.6471, 0.3020}, {0.9490, 0.8824, 0.3451}, {0.7059, 0.8353, 0.4196},
    {0.4157, 0.7569, 0.6078}, {0.4588, 0.6863, 0.8471}, {0.6431, 0.5608, 0.7490},
    {0.8471, 0.5176, 0.6510}, {0.7059, 0.8353, 0.4196}, {0.9569, 0.4471, 0.4039},
    {0.7529, 0.7608, 0.7725},
};

TEST_F(PageRows, EachPageTintsItsNavigationBarAsItAppears)
{
    for (std::size_t index = 0; index < std::size(kSectionPages); ++index) {
        SCOPED_TRACE(kSectionPages[index]);
        auto page = makePage(kSectionPages[index]);
        id navigation = msg<id, id>(msg<id>(objc_getClass("UINavigationController"), "alloc"_sel),
                                    "initWithRootViewController:"_sel, page.get());
        msg<void, BOOL>(page.get(), "viewWillAppear:"_sel, YES);
        id tint = msg<id>(msg<id>(navigation, "navigationBar"_sel), "tintColor"_sel);
        CGFloat rgba[4] = {};
        ASSERT_TRUE(msg<BOOL>(tint, "getRed:green:blue:alpha:"_sel, &rgba[0], &rgba[1], &rgba[2],
                              &rgba[3]));
        for (int component = 0; component < 3; ++component)
            EXPECT_NEAR(rgba[component], kBarTints[index][component], 1e-4) << component;
        EXPECT_EQ(rgba[3], 1.0);
        objc_release(navigation);
    }
}

} // namespace
