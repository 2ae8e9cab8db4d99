// The editors the pages open (font and application choosers, the colour editor's
// delegate check), numeric slider entry, and the base's abstract operations.

#include "PanelTestSupport.h"

#include "settings-panel/NSString+Camel.h"
#include "uikit/GestureInput.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIFont.h"
#include "uikit/UISlider.h"

namespace {

using namespace paneltest;

std::string spaced(const char *text)
{
    return CVCamelCaseToSpaced(NSString::stringWithUTF8String(text))->str();
}

TEST(CamelCaseToSpaced, PutsSpacesBetweenWords)
{
    EXPECT_EQ(spaced("HelveticaNeueBoldItalic"), "Helvetica Neue Bold Italic");
    EXPECT_EQ(spaced("TTYFont"), "TTY Font");
    EXPECT_EQ(spaced("ArialMT"), "Arial MT");
    EXPECT_EQ(spaced("Courier"), "Courier");
    EXPECT_EQ(spaced("lowerStart"), "lower Start");
    EXPECT_EQ(spaced("AB"), "AB");
    EXPECT_EQ(spaced(""), "");
    // The category method answers the same.
    NSString *name = "GillSansLight"_ns;
    EXPECT_EQ(describe(msg<NSString *>(name, "camelCaseToSpaced"_sel)), "Gill Sans Light");
}

// An editor opened from a row of a page, as a link row opens it.
StrongRef<PSViewController> openEditor(const char *editorClass, PSSpecifier *row)
{
    id editor = msg<id>(msg<id>(objc_getClass(editorClass), "alloc"_sel), "initForContentSize:"_sel,
                        CGSize{375, 667});
    msg<void>(editor, "setSpecifier:"_sel, row);
    return StrongRef<PSViewController>::adopt(static_cast<PSViewController *>(editor));
}

class Editors : public PanelTest {};

// The font list offers every font, titled without dashes, after an empty first entry, which
// stores an empty name; the icons page selects the stored font by name.
TEST_F(Editors, TheFontListOffersEveryFontAfterAnEmptyEntryThatStoresNoName)
{
    auto icons = makePage("IconsListController");
    setValue(icons, "labelFontName", "Courier"_ns);
    EXPECT_TRUE(msg<BOOL>(icons.get(), "fontController:fontIsSelected:"_sel, nil, "Courier"_ns));
    EXPECT_FALSE(msg<BOOL>(icons.get(), "fontController:fontIsSelected:"_sel, nil, "Courier2"_ns));
    updates(1);
    clearUpdates();

    auto fonts = openEditor("FontListController", rowWithKey(icons, "labelFontName"));
    auto *entries = msg<NSArray *>(fonts.get(), "fontEntries"_sel);
    std::size_t expected = 1;
    for (const StrongRef<objc_object> &family : *UIFont::familyNames())
        expected += UIFont::fontNamesForFamilyName(static_cast<NSString *>(family.get()))->count();
    ASSERT_EQ(entries->count(), expected);
    auto entry = [&](NSUInteger index, const char *field) {
        return describe(static_cast<NSDictionary *>(entries->objectAtIndex(index))
                            ->objectForKey(NSString::stringWithUTF8String(field)));
    };
    EXPECT_EQ(entry(0, "identifier"), "");
    EXPECT_EQ(entry(0, "title"), "");
    for (NSUInteger index = 1; index < entries->count(); ++index)
        EXPECT_EQ(entry(index, "title").find('-'), std::string::npos) << entry(index, "identifier");

    id table = msg<id>(fonts.get(), "view"_sel);
    msg<void>(fonts.get(), "tableView:didSelectRowAtIndexPath:"_sel, table,
              NSIndexPath::indexPathForRowInSection(0, 0));
    EXPECT_EQ(describe(gCVIcons.labelFontName), "");
    const std::vector<Update> &received = updates(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(describe(received[0].changes), describe(dict({{"labelFontName", ""_ns}})));
    // Nothing is selected while the stored name is empty.
    EXPECT_FALSE(msg<BOOL>(icons.get(), "fontController:fontIsSelected:"_sel,
                           static_cast<id>(fonts.get()), ""_ns));
}

TEST_F(Editors, TheAppChooserAddsHiddenIdentifiersThatStillHaveANameOnce)
{
    sim::DeviceProfile profile;
    profile.installedApplications = {{"com.example.zeta", "Zeta", false},
                                     {"com.example.alpha", "alpha", false}};
    sim::DeviceProfile::setCurrent(profile);
    auto icons = makePage("IconsListController");
    // One hidden application is reported as well, one is gone and has no name any more.
    CFArrayAppendValue(gCVIcons.hiddenIcons, "com.example.zeta"_ns);
    CFArrayAppendValue(gCVIcons.hiddenIcons, "com.example.gone"_ns);
    auto apps = openEditor("AppListController", rowWithKey(icons, "hiddenIcons"));
    auto *entries = msg<NSArray *>(apps.get(), "applicationEntries"_sel);
    EXPECT_EQ(describe(entries),
              describe(NSArray::arrayWithObjects(
                  {dict({{"identifier", ""_ns}, {"title", ""_ns}}),
                   dict({{"identifier", "com.example.alpha"_ns}, {"title", "alpha"_ns}}),
                   dict({{"identifier", "com.example.zeta"_ns}, {"title", "Zeta"_ns}})})));
    EXPECT_NE(msg<id>(apps.get(), "iconForIdentifier:"_sel, "com.example.alpha"_ns), nil);
    EXPECT_EQ(msg<id>(apps.get(), "iconForIdentifier:"_sel, "com.example.gone"_ns), nil);
}

TEST_F(Editors, TogglingAnAppCommitsTheWholeIconsSection)
{
    auto icons = makePage("IconsListController");
    auto apps = openEditor("AppListController", rowWithKey(icons, "hiddenIcons"));
    msg<void>(icons.get(), "appListController:toggle:"_sel, static_cast<id>(apps.get()),
              "com.apple.mobilesafari"_ns);
    EXPECT_TRUE(msg<BOOL>(icons.get(), "appListController:isSelected:"_sel,
                          static_cast<id>(apps.get()), "com.apple.mobilesafari"_ns));
    const std::vector<Update> &received = updates(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].sectionID, 1u);
    EXPECT_EQ(describe(received[0].changes->objectForKey("hiddenIcons"_ns)),
              describe(NSArray::arrayWithObjects({"com.apple.mobilesafari"_ns})));
    EXPECT_NE(received[0].changes->objectForKey("pages"_ns), nil);

    msg<void>(icons.get(), "appListController:toggle:"_sel, static_cast<id>(apps.get()),
              "com.apple.mobilesafari"_ns);
    EXPECT_EQ(gCVIcons.hiddenIcons->count(), 0u);
}

using EditorsDeathTest = Editors;

TEST_F(EditorsDeathTest, AnEditorRowWithoutItsDelegateIsAProgrammingError)
{
    auto page = makePage("IconsListController");
    PSSpecifier *row = rowWithKey(page, "hiddenIcons");
    row->setPropertyForKey(nil, "CV3AppsListControllerDelegate"_ns);
    auto apps = openEditor("AppListController", row);
    EXPECT_DEATH(msg<id>(apps.get(), "tableView:cellForRowAtIndexPath:"_sel,
                         msg<id>(apps.get(), "view"_sel),
                         NSIndexPath::indexPathForRowInSection(0, 0)),
                 "Specifier must define an CV3AppsListControllerDelegate property");
}

TEST_F(EditorsDeathTest, ABaseOperationAPageDoesNotOverrideIsAProgrammingError)
{
    auto page = makePage("SectionListController");
    EXPECT_DEATH(msg<void>(page.get(), "resetSection"_sel),
                 "NSInternalInconsistencyException.*Subclasses must override resetSection");
    EXPECT_DEATH(msg<id>(page.get(), "tintColor"_sel), "Subclasses must override tintColor");
}

// Numeric entry for sliders.

int g_events = 0;

void countValueChange(id, SEL, id)
{
    ++g_events;
}

class SliderEntry : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_page = makePage("IconsListController");
        m_slider = static_cast<UISlider *>(msg<id, CGRect>(msg<id>(UISlider::class_(), "alloc"_sel),
                                                           "initWithFrame:"_sel,
                                                           CGRect{{0, 0}, {200, 30}}));
        msg<void>(m_slider, "setMinimumValue:"_sel, 0.05f);
        msg<void>(m_slider, "setMaximumValue:"_sel, 1.0f);
        msg<void>(m_slider, "setValue:"_sel, 0.3f);
        class_addMethod(object_getClass(m_page.get()), "countValueChange:"_sel,
                        reinterpret_cast<IMP>(countValueChange), "v@:@");
        msg<void, id, SEL, UIControlEvents>(m_slider, "addTarget:action:forControlEvents:"_sel,
                                            static_cast<id>(m_page.get()), "countValueChange:"_sel,
                                            UIControlEventValueChanged);
        g_events = 0;
    }
    void TearDown() override
    {
        for (const sim::VisibleAlert &alert : sim::visibleAlerts())
            sim::pressAlertButton(alert.alert, 0);
        objc_release(m_slider);
        PanelTest::TearDown();
    }

    // Types the text (or leaves the preset one) into the entry alert shown and presses "Set".
    void confirm(const char *text)
    {
        std::vector<sim::VisibleAlert> alerts = sim::visibleAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        UIAlertView *alert = alerts[0].alert;
        EXPECT_EQ(msg<NSInteger>(alert, "tag"_sel), 21);
        EXPECT_EQ(alerts[0].message,
                  "Edit the value of the slider by typing a numeric value here.");
        EXPECT_EQ(alerts[0].buttons, (std::vector<std::string>{"Cancel", "Set"}));
        id field = msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 0);
        m_presetText = describe(msg<NSString *>(field, "text"_sel));
        if (text)
            msg<void>(field, "setText:"_sel, NSString::stringWithUTF8String(text));
        ASSERT_TRUE(sim::pressAlertButton(alert, 1));
    }

    void enter(const char *text)
    {
        msg<void>(m_page.get(), "showEditAlertForSlider:"_sel, m_slider);
        confirm(text);
    }

    float value() { return msg<float>(m_slider, "value"_sel); }

    StrongRef<PSListController> m_page;
    UISlider *m_slider = nil;
    std::string m_presetText;
};

TEST_F(SliderEntry, ATypedValueMovesTheSliderAndSendsOneEventThePresetOneNothing)
{
    enter(nullptr);
    EXPECT_EQ(m_presetText, "0.3");
    EXPECT_EQ(g_events, 0);
    enter("0.75");
    EXPECT_FLOAT_EQ(value(), 0.75f);
    EXPECT_EQ(g_events, 1);
}

TEST_F(SliderEntry, TextThatIsNoNumberReadsAsZeroAndTheSliderClamps)
{
    enter("abc");
    EXPECT_FLOAT_EQ(value(), 0.05f); // 0, clamped to the slider's minimum
    EXPECT_EQ(g_events, 1);
    enter("7");
    EXPECT_FLOAT_EQ(value(), 1.0f);
    // Words and hexadecimal that a C library would read as numbers are no numbers here.
    for (const char *text : {"inf", "nan", "-inf", "infinity", "0x1p-1"}) {
        enter("0.5");
        enter(text);
        EXPECT_FLOAT_EQ(value(), 0.05f) << text;
    }
    enter("  0.5e0 and the rest");
    EXPECT_FLOAT_EQ(value(), 0.5f);
}

// A tap on a slider row's cell opens the entry for its slider; the value typed there is
// clamped to the row's range and reaches the row's setter, which stores and sends it.
TEST_F(SliderEntry, ATapOnASliderRowStoresTheClampedTypedValue)
{
    auto *table = msg<UITableView *>(m_page.get(), "table"_sel);
    msg<void>(table, "layoutIfNeeded"_sel); // the table loads its rows
    NSIndexPath *path = m_page->indexPathOf(rowWithKey(m_page, "iconImageAlpha"));
    auto *cell = msg<UIView *>(m_page.get(), "tableView:cellForRowAtIndexPath:"_sel, table, path);
    ASSERT_TRUE(sim::tapView(cell));
    confirm("-3");
    EXPECT_EQ(m_presetText, "1");
    EXPECT_FLOAT_EQ(gCVIcons.iconImageAlpha, 0.05f);
    const std::vector<Update> &received = updates(1);
    ASSERT_EQ(received.size(), 1u);
    auto *sent = static_cast<NSNumber *>(received[0].changes->objectForKey("iconImageAlpha"_ns));
    ASSERT_NE(sent, nil);
    EXPECT_FLOAT_EQ(sent->floatValue(), 0.05f);
}

} // namespace
