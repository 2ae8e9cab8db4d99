// Table views: what they ask their data source, the cells they show and reuse, selection.

#include "UIKitTest.h"
#include "uikit/GestureInput.h"
#include "uikit/UITableView.h"

#include <string>
#include <vector>

namespace {

// The table the data source describes: rows per section, titles where not empty.
struct Model {
    std::vector<NSInteger> rows;
    std::vector<std::string> headers;
    std::vector<std::string> footers;
};
Model g_model;
std::vector<std::string> g_asked;
int g_cellsMade = 0;
NSInteger g_refusedSection = -1;

struct TableSource : NSObject {};

NSInteger numberOfSections(TableSource *, SEL, UITableView *)
{
    g_asked.push_back("sections");
    return g_model.rows.size();
}

NSInteger numberOfRows(TableSource *, SEL, UITableView *, NSInteger section)
{
    g_asked.push_back("rows " + std::to_string(section));
    return g_model.rows[section];
}

NSString *titleIn(const std::vector<std::string> &titles, NSInteger section)
{
    if (section >= static_cast<NSInteger>(titles.size()) || titles[section].empty())
        return nil;
    return NSString::stringWithString(titles[section]);
}

NSString *header(TableSource *, SEL, UITableView *, NSInteger section)
{
    return titleIn(g_model.headers, section);
}

NSString *footer(TableSource *, SEL, UITableView *, NSInteger section)
{
    return titleIn(g_model.footers, section);
}

UITableViewCell *cellForRow(TableSource *, SEL, UITableView *table, NSIndexPath *path)
{
    auto *cell = msg<UITableViewCell *, NSString *>(table, "dequeueReusableCellWithIdentifier:"_sel,
                                                    "Row"_ns);
    if (!cell) {
        ++g_cellsMade;
        cell = autorelease(msg<UITableViewCell *, UITableViewCellStyle, NSString *>(
            msg<id>(UITableViewCell::class_(), "alloc"_sel), "initWithStyle:reuseIdentifier:"_sel,
            UITableViewCellStyleValue1, "Row"_ns));
    }
    msg<void, NSString *>(msg<UILabel *>(cell, "textLabel"_sel), "setText:"_sel,
                          NSString::stringWithFormat("%ld.%ld", static_cast<long>(path->section()),
                                                     static_cast<long>(path->row())));
    return cell;
}

NSIndexPath *willSelect(TableSource *, SEL, UITableView *, NSIndexPath *path)
{
    g_asked.push_back("willSelect");
    return path->section() == g_refusedSection ? nil : path;
}

void didSelect(TableSource *, SEL, UITableView *, NSIndexPath *path)
{
    g_asked.push_back("didSelect " + std::to_string(path->section()) + "." +
                      std::to_string(path->row()));
}

Class sourceClass()
{
    static const Class cls = ClassBuilder<TableSource>("TableViewTestSource", "NSObject")
                                 .method("numberOfSectionsInTableView:", numberOfSections)
                                 .method("tableView:numberOfRowsInSection:", numberOfRows)
                                 .method("tableView:titleForHeaderInSection:", header)
                                 .method("tableView:titleForFooterInSection:", footer)
                                 .method("tableView:cellForRowAtIndexPath:", cellForRow)
                                 .method("tableView:willSelectRowAtIndexPath:", willSelect)
                                 .method("tableView:didSelectRowAtIndexPath:", didSelect)
                                 .registerClass();
    return cls;
}

class TableView : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        g_model = {{2, 3}, {"", "Second"}, {"First footer", ""}};
        g_asked.clear();
        g_cellsMade = 0;
        g_refusedSection = -1;
        source = StrongRef<NSObject>::adopt(sim::create(sourceClass()));
    }

    UITableView *makeTable(UITableViewStyle style, CGFloat height)
    {
        auto *table = autorelease(msg<UITableView *, CGRect, UITableViewStyle>(
            msg<id>(UITableView::class_(), "alloc"_sel), "initWithFrame:style:"_sel,
            CGRect{0, 0, 320, height}, style));
        msg<void, id>(table, "setDataSource:"_sel, source.get());
        msg<void, id>(table, "setDelegate:"_sel, source.get());
        return table;
    }

    static NSIndexPath *path(NSInteger row, NSInteger section)
    {
        return NSIndexPath::indexPathForRowInSection(row, section);
    }

    static UITableViewCell *cellAt(UITableView *table, NSInteger row, NSInteger section)
    {
        return msg<UITableViewCell *, NSIndexPath *>(table, "cellForRowAtIndexPath:"_sel,
                                                     path(row, section));
    }

    static CGRect rectAt(UITableView *table, NSInteger row, NSInteger section)
    {
        return msg<CGRect, NSIndexPath *>(table, "rectForRowAtIndexPath:"_sel, path(row, section));
    }

    static NSUInteger visibleCells(UITableView *table)
    {
        return msg<NSArray *>(table, "visibleCells"_sel)->count();
    }

    static std::string textOf(UITableViewCell *cell)
    {
        auto *text = msg<NSString *>(msg<UILabel *>(cell, "textLabel"_sel), "text"_sel);
        return text ? text->str() : "";
    }

    StrongRef<NSObject> source;
};

TEST_F(TableView, CountsTitlesAndSectionsComeFromTheDataSource)
{
    UITableView *table = makeTable(UITableViewStyleGrouped, 500);
    EXPECT_EQ(msg<NSInteger>(table, "numberOfSections"_sel), 2);
    EXPECT_EQ((msg<NSInteger, NSInteger>(table, "numberOfRowsInSection:"_sel, 1)), 3);
    EXPECT_EQ((msg<NSInteger, NSInteger>(table, "numberOfRowsInSection:"_sel, 7)), 0);
    EXPECT_EQ((std::vector<std::string>{"sections", "rows 0", "rows 1"}), g_asked);
    std::vector<std::string> labels;
    for (const auto &view : table->m_sectionLabels)
        labels.push_back(static_cast<UILabel *>(view.get())->m_text->str());
    EXPECT_EQ((std::vector<std::string>{"First footer", "Second"}), labels);

    // Grouped sections stack header, rows and footer.
    EXPECT_RECT_EQ(rectAt(table, 0, 0), 0, 35, 320, 44); // a header band without title: 35
    EXPECT_DOUBLE_EQ(rectAt(table, 1, 0).origin.y, 79);
    // The second section begins after the first one's footer, under a titled header.
    CGFloat footer = table->m_sections[0].footerHeight;
    EXPECT_GT(footer, 16);
    EXPECT_DOUBLE_EQ(rectAt(table, 0, 1).origin.y, 35 + 2 * 44 + footer + 55);
}

TEST_F(TableView, CellsAreAskedForVisibleRowsOnlyAgainOnReloadAndReused)
{
    UITableView *table = makeTable(UITableViewStylePlain, 100);
    msg<void>(table, "layoutIfNeeded"_sel);
    // Plain: rows 0.0 at 0, 0.1 at 44; the footer band of 22 follows.
    EXPECT_EQ(g_cellsMade, 2);
    UITableViewCell *cell = cellAt(table, 1, 0);
    ASSERT_NE(cell, nil);
    EXPECT_EQ(textOf(cell), "0.1");
    EXPECT_EQ(cellAt(table, 2, 1), nil);
    EXPECT_TRUE(sim::objectsEqual(
        msg<NSIndexPath *, UITableViewCell *>(table, "indexPathForCell:"_sel, cell), path(1, 0)));

    // reloadData asks again.
    g_model.rows = {1};
    g_asked.clear();
    msg<void>(table, "reloadData"_sel);
    EXPECT_EQ((std::vector<std::string>{"sections", "rows 0"}), g_asked);
    EXPECT_EQ(visibleCells(table), 1u);

    // Cells that scroll away are reused.
    g_model = {{40}, {}, {}};
    msg<void, CGRect>(table, "setFrame:"_sel, CGRect{0, 0, 320, 220}); // five rows
    msg<void>(table, "reloadData"_sel);
    msg<void>(table, "layoutIfNeeded"_sel);
    EXPECT_EQ(visibleCells(table), 5u);
    int made = g_cellsMade;
    msg<void, CGPoint>(table, "setContentOffset:"_sel, CGPoint{0, 44 * 20});
    msg<void>(table, "layoutIfNeeded"_sel);
    EXPECT_EQ(g_cellsMade, made);
    EXPECT_EQ(textOf(cellAt(table, 22, 0)), "0.22");
    EXPECT_EQ(visibleCells(table), 5u);
}

TEST_F(TableView, SelectingARowByCodeOrFingerAsksAndTellsTheDelegate)
{
    UITableView *table = makeTable(UITableViewStyleGrouped, 500);
    sim::selectRow(table, path(2, 1));
    EXPECT_EQ(g_asked.back(), "didSelect 1.2");
    EXPECT_TRUE(
        sim::objectsEqual(msg<NSIndexPath *>(table, "indexPathForSelectedRow"_sel), path(2, 1)));
    UITableViewCell *cell = cellAt(table, 2, 1);
    EXPECT_TRUE(msg<BOOL>(cell, "isSelected"_sel));
    msg<void, NSIndexPath *, BOOL>(table, "deselectRowAtIndexPath:animated:"_sel, path(2, 1), YES);
    EXPECT_FALSE(msg<BOOL>(cell, "isSelected"_sel));
    EXPECT_EQ(msg<NSIndexPath *>(table, "indexPathForSelectedRow"_sel), nil);

    // A row the delegate refuses is not selected.
    g_refusedSection = 0;
    sim::selectRow(table, path(0, 0));
    EXPECT_EQ(g_asked.back(), "willSelect");
    EXPECT_EQ(msg<NSIndexPath *>(table, "indexPathForSelectedRow"_sel), nil);

    // A finger lifted on the row it came down on selects it; one that left its row does not.
    g_refusedSection = -1;
    msg<void>(table, "layoutIfNeeded"_sel);
    ASSERT_TRUE(sim::touchDown(table, {100, 80}));
    sim::touchUp({100, 80});
    EXPECT_EQ(g_asked.back(), "didSelect 0.1");
    g_asked.clear();
    ASSERT_TRUE(sim::touchDown(table, {100, 50}));
    sim::touchMove({100, 100});
    sim::touchUp({100, 100});
    EXPECT_TRUE(g_asked.empty());
}

TEST_F(TableView, CellsLayTheirLabelsOutByStyle)
{
    auto *cell = autorelease(msg<UITableViewCell *, UITableViewCellStyle, NSString *>(
        msg<id>(UITableViewCell::class_(), "alloc"_sel), "initWithStyle:reuseIdentifier:"_sel,
        UITableViewCellStyleDefault, "Plain"_ns));
    EXPECT_EQ(msg<UILabel *>(cell, "detailTextLabel"_sel), nil);
    msg<void, UITableViewCellAccessoryType>(cell, "setAccessoryType:"_sel,
                                            UITableViewCellAccessoryCheckmark);
    msg<void>(cell, "layoutIfNeeded"_sel);
    ASSERT_TRUE(cell->m_accessoryGlyph);
    CGRect accessory = cell->m_accessoryGlyph->frame();
    EXPECT_NEAR(CGRectGetMaxX(accessory), 320 - 15, 1e-9);
    EXPECT_LE(CGRectGetMaxX(cell->m_contentView->frame()), accessory.origin.x);
    auto *custom = makeView({0, 0, 30, 20});
    msg<void, UIView *>(cell, "setAccessoryView:"_sel, custom);
    msg<void>(cell, "layoutIfNeeded"_sel);
    EXPECT_FALSE(cell->m_accessoryGlyph) << "an accessory view wins over the type";
    EXPECT_RECT_EQ(custom->frame(), 320 - 15 - 30, 12, 30, 20);
}

} // namespace
