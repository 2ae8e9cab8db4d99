// The settings framework stand-in: a page of rows of every kind, the values its getters
// answer, the setters its controls call, and the pages its link rows open.

#include "preferences/Preferences.h"
#include "foundation/DeviceProfile.h"
#include "foundation/NSNumber.h"
#include "foundation/tests/Watchdog.h"
#include "uikit/GestureInput.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The stored settings by row identifier, and the setter calls in order.
std::map<std::string, StrongRef<objc_object>> g_values;
std::vector<std::pair<std::string, StrongRef<objc_object>>> g_writes;
int g_specifierBuilds = 0;

struct SamplePage : PSListController {};
struct DetailPage : PSViewController {
    CGSize m_contentSize = CGSizeZero;
};

id readValue(SamplePage *, SEL, PSSpecifier *row)
{
    auto found = g_values.find(row->identifier()->str());
    return found == g_values.end() ? nil : found->second.get();
}

void writeValue(SamplePage *, SEL, id value, PSSpecifier *row)
{
    g_writes.emplace_back(row->identifier()->str(), value);
    g_values[row->identifier()->str()] = value;
}

PSSpecifier *row(SamplePage *page, const char *name, const char *identifier, NSInteger type)
{
    auto *specifier = msg<PSSpecifier *, NSString *, id, SEL, SEL, Class, NSInteger, Class>(
        PSSpecifier::class_(), "preferenceSpecifierNamed:target:set:get:detail:cell:edit:"_sel,
        NSString::stringWithUTF8String(name), page, "writeValue:forRow:"_sel,
        "readValueForRow:"_sel, Nil, type, Nil);
    msg<void, id, NSString *>(specifier, "setProperty:forKey:"_sel,
                              NSString::stringWithUTF8String(identifier), "id"_ns);
    return specifier;
}

void setProperty(PSSpecifier *specifier, id value, const char *key)
{
    msg<void, id, NSString *>(specifier, "setProperty:forKey:"_sel, value,
                              NSString::stringWithUTF8String(key));
}

// Rows before any group, a titled group with a footer, then an untitled group.
NSArray *buildRows(SamplePage *self)
{
    ++g_specifierBuilds;
    NSMutableArray *rows = NSMutableArray::array();
    rows->addObject(row(self, "Enabled", "enabled", PSSwitchCell));
    auto *group = msg<PSSpecifier *, NSString *>(PSSpecifier::class_(),
                                                 "groupSpecifierWithName:"_sel, "Sizes"_ns);
    setProperty(group, "Pick a size."_ns, "footerText");
    rows->addObject(group);
    PSSpecifier *slider = row(self, "Scale", "scale", PSSliderCell);
    setProperty(slider, NSNumber::numberWithFloat(1), "min");
    setProperty(slider, NSNumber::numberWithFloat(5), "max");
    setProperty(slider, kCFBooleanTrue, "showValue");
    rows->addObject(slider);
    PSSpecifier *text = row(self, "Label", "label", PSEditTextCell);
    setProperty(text, "Type here"_ns, "placeholder");
    rows->addObject(text);
    rows->addObject(msg<PSSpecifier *>(PSSpecifier::class_(), "emptyGroupSpecifier"_sel));
    PSSpecifier *list = row(self, "Columns", "columns", PSLinkListCell);
    msg<void, NSArray *, NSArray *, NSArray *>(
        list, "setValues:titles:shortTitles:"_sel,
        NSArray::arrayWithObjects({NSNumber::numberWithInt(0), NSNumber::numberWithInt(4)}),
        NSArray::arrayWithObjects({"Default"_ns, "Four"_ns}), nil);
    rows->addObject(list);
    PSSpecifier *link = row(self, "Details", "details", PSLinkCell);
    link->m_detailControllerClass = objc_getClass("DetailPage");
    rows->addObject(link);
    return rows;
}

NSArray *specifiers(SamplePage *self, SEL)
{
    if (!self->m_specifiers)
        self->m_specifiers = buildRows(self);
    return self->m_specifiers;
}

id detailInitForContentSize(DetailPage *self, SEL, CGSize size)
{
    self->m_contentSize = size;
    return msg<id>(self, "init"_sel);
}

void registerClasses()
{
    static const bool registered = [] {
        PSListController::class_();
        ClassBuilder<SamplePage>("SamplePage", "PSListController")
            .method("specifiers", specifiers)
            .method("readValueForRow:", readValue)
            .method("writeValue:forRow:", writeValue)
            .registerClass();
        ClassBuilder<DetailPage>("DetailPage", "PSViewController")
            .method("initForContentSize:", detailInitForContentSize)
            .registerClass();
        return true;
    }();
    (void)registered;
}

class Preferences : public testing::Test {
protected:
    void SetUp() override
    {
        sim::DeviceProfile profile;
        profile.screenWidth = 320;
        profile.screenHeight = 568;
        sim::DeviceProfile::setCurrent(profile);
        registerClasses();
        g_values.clear();
        g_writes.clear();
        g_specifierBuilds = 0;
        g_values["enabled"] = kCFBooleanTrue;
        g_values["scale"] = NSNumber::numberWithFloat(2.5);
        g_values["label"] = "Hello"_ns;
        g_values["columns"] = NSNumber::numberWithInt(4);
        page = StrongRef<PSListController>::adopt(
            sim::create<PSListController>(objc_getClass("SamplePage")));
        root = StrongRef<PSRootController>::adopt(msg<PSRootController *, NSString *, NSString *>(
            msg<id>(PSRootController::class_(), "alloc"_sel), "initWithTitle:identifier:"_sel,
            "Settings"_ns, "settings"_ns));
        msg<void, id>(page, "setRootController:"_sel, root.get());
        msg<void, id, BOOL>(root, "pushViewController:animated:"_sel, page.get(), NO);
        table = msg<UITableView *>(page, "table"_sel);
        msg<void>(table, "layoutIfNeeded"_sel);
    }

    PSTableCell *cellAt(NSInteger row, NSInteger section)
    {
        return msg<PSTableCell *, NSIndexPath *>(
            table, "cellForRowAtIndexPath:"_sel,
            NSIndexPath::indexPathForRowInSection(row, section));
    }

    static std::string text(UILabel *label)
    {
        return label && label->m_text ? label->m_text->str() : "";
    }

    Watchdog watchdog{"preferences test"};
    AutoreleasePool pool;
    StrongRef<PSListController> page;
    StrongRef<PSRootController> root;
    UITableView *table = nil;
};

// Titles, ranges and texts are read back by the browser screen's panel tests.
TEST_F(Preferences, GroupsMakeSectionsAndCellsShowTheGettersValues)
{
    ASSERT_EQ(msg<NSInteger>(table, "numberOfSections"_sel), 3);
    for (NSInteger section : {0, 1, 2})
        EXPECT_EQ((msg<NSInteger, NSInteger>(table, "numberOfRowsInSection:"_sel, section)),
                  section ? 2 : 1);
    EXPECT_EQ((msg<NSString *, UITableView *, NSInteger>(
                  page, "tableView:titleForHeaderInSection:"_sel, table, 2)),
              nil);
    auto *toggle = cellAt(0, 0);
    ASSERT_TRUE(msg<BOOL>(toggle, "isKindOfClass:"_sel, PSSwitchTableCell::class_()));
    EXPECT_TRUE(static_cast<UISwitch *>(msg<UIControl *>(toggle, "control"_sel))->m_on);
    EXPECT_EQ(text(static_cast<PSSliderTableCell *>(cellAt(0, 1))->m_valueLabel), "2.50");
    auto *listCell = cellAt(0, 2);
    EXPECT_EQ(text(listCell->m_detailTextLabel), "Four");
    EXPECT_EQ(listCell->m_accessoryType, UITableViewCellAccessoryDisclosureIndicator);
}

// The setter calls in order, as "row=value".
std::vector<std::string> writes()
{
    std::vector<std::string> described;
    for (const auto &[row, value] : g_writes)
        described.push_back(row + "=" + sim::describe(value));
    return described;
}

TEST_F(Preferences, ControlChangesReachTheSetterWithTheirValues)
{
    auto *toggle = static_cast<PSSwitchTableCell *>(cellAt(0, 0));
    UIControl *control = toggle->m_control;
    msg<void, BOOL>(control, "setOn:"_sel, NO);
    msg<void, UIControlEvents>(control, "sendActionsForControlEvents:"_sel,
                               UIControlEventValueChanged);
    auto *slider = static_cast<PSSliderTableCell *>(cellAt(0, 1))->m_control.get();
    msg<void, float>(slider, "setValue:"_sel, 9); // clamped to the row's maximum
    msg<void, UIControlEvents>(slider, "sendActionsForControlEvents:"_sel,
                               UIControlEventValueChanged);
    auto *textCell = static_cast<PSEditableTableCell *>(cellAt(1, 1));
    sim::typeText(textCell->m_textField, "Hello"_ns); // unchanged: nothing is written
    sim::typeText(textCell->m_textField, "World"_ns);

    EXPECT_EQ(writes(), (std::vector<std::string>{"enabled=0", "scale=5", "label=World"}));
    EXPECT_TRUE(static_cast<NSNumber *>(g_writes[0].second.get())->isBoolean());
    EXPECT_STREQ(static_cast<NSNumber *>(g_writes[1].second.get())->objCType(), "f");
}

TEST_F(Preferences, LinkRowsOpenTheirPageOnTheNavigationController)
{
    sim::selectRow(table, NSIndexPath::indexPathForRowInSection(1, 2));
    auto *detail = msg<DetailPage *>(root, "topViewController"_sel);
    ASSERT_EQ(object_getClass(detail), objc_getClass("DetailPage"));
    EXPECT_EQ(msg<id>(detail, "rootController"_sel), root.get());
    EXPECT_EQ(msg<id>(detail, "parentController"_sel), page.get());
    EXPECT_DOUBLE_EQ(detail->m_contentSize.width, 320);
    EXPECT_EQ(msg<id>(root, "lastController"_sel), detail);
}

TEST_F(Preferences, ListItemsWriteTheChoiceAndMoveTheCheckmark)
{
    sim::selectRow(table, NSIndexPath::indexPathForRowInSection(0, 2));
    auto *items = msg<PSListController *>(root, "topViewController"_sel);
    ASSERT_EQ(object_getClass(items), PSListItemsController::class_());
    UITableView *itemTable = msg<UITableView *>(items, "table"_sel);
    msg<void>(itemTable, "layoutIfNeeded"_sel);
    auto cellFor = [&](NSInteger row) {
        return msg<UITableViewCell *, NSIndexPath *>(itemTable, "cellForRowAtIndexPath:"_sel,
                                                     NSIndexPath::indexPathForRowInSection(row, 0));
    };
    using Accessories = std::vector<UITableViewCellAccessoryType>;
    auto accessories = [&] {
        return Accessories{cellFor(0)->m_accessoryType, cellFor(1)->m_accessoryType};
    };
    EXPECT_EQ(text(cellFor(0)->m_textLabel), "Default");
    EXPECT_EQ(accessories(),
              (Accessories{UITableViewCellAccessoryNone, UITableViewCellAccessoryCheckmark}));
    sim::selectRow(itemTable, NSIndexPath::indexPathForRowInSection(0, 0));
    EXPECT_EQ(writes(), std::vector<std::string>{"columns=0"});
    EXPECT_EQ(accessories(),
              (Accessories{UITableViewCellAccessoryCheckmark, UITableViewCellAccessoryNone}));
}

TEST_F(Preferences, ReloadSpecifiersBuildsTheRowsAnew)
{
    EXPECT_EQ(g_specifierBuilds, 1);
    g_values["columns"] = NSNumber::numberWithInt(0);
    msg<void>(page, "reloadSpecifiers"_sel);
    msg<void>(table, "layoutIfNeeded"_sel);
    EXPECT_EQ(g_specifierBuilds, 2);
    EXPECT_EQ(text(cellAt(0, 2)->m_detailTextLabel), "Default");
    EXPECT_EQ((msg<PSSpecifier *, NSString *>(page, "specifierForID:"_sel, "missing"_ns)), nil);
}

TEST_F(Preferences, SpecifiersKeepPropertiesAndTitlesAndCellTypesAreNamedByTheirStrings)
{
    auto *specifier = msg<PSSpecifier *>(PSSpecifier::class_(), "emptyGroupSpecifier"_sel);
    EXPECT_EQ(specifier->m_cellType, PSGroupCell);
    auto identifier = [&] { return msg<NSString *>(specifier, "identifier"_sel)->str(); };
    msg<void, NSString *>(specifier, "setName:"_sel, "Name"_ns);
    EXPECT_EQ(identifier(), "Name");
    setProperty(specifier, "key"_ns, "id");
    EXPECT_EQ(identifier(), "key");
    msg<void, NSString *>(specifier, "removePropertyForKey:"_sel, "id"_ns);
    EXPECT_EQ(identifier(), "Name");
    setProperty(specifier, "fallback"_ns, "default");
    EXPECT_TRUE(sim::objectsEqual(
        msg<id, PSSpecifier *>(page, "readPreferenceValue:"_sel, specifier), "fallback"_ns));
    msg<void, NSArray *, NSArray *>(specifier, "setValues:titles:"_sel,
                                    NSArray::arrayWithObjects({"a"_ns, "b"_ns}),
                                    NSArray::arrayWithObjects({"A"_ns, "B"_ns}));
    auto *titles = msg<NSDictionary *>(specifier, "titleDictionary"_sel);
    EXPECT_TRUE(sim::objectsEqual(titles->objectForKey("b"_ns), "B"_ns));
    EXPECT_EQ(msg<NSDictionary *>(specifier, "shortTitleDictionary"_sel)->count(), 2u);
    msg<void, NSString *>(specifier, "setupIconImageWithPath:"_sel, "/no/such/icon.png"_ns);
    EXPECT_EQ(specifier->propertyForKey("iconImage"_ns), nil);

    // Cell types by the names property lists give them; an unknown name is a link.
    for (const auto &[name, type] :
         {std::pair{"PSEditTextViewCell", PSEditTextViewCell}, std::pair{"NoSuchCell", PSLinkCell}})
        EXPECT_EQ((msg<NSInteger, NSString *>(PSTableCell::class_(), "cellTypeFromString:"_sel,
                                              NSString::stringWithUTF8String(name))),
                  type)
            << name;
}

} // namespace
