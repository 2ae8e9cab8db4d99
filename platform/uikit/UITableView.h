#pragma once
// Table views: rows in sections, asked from a data source and shown as cells.
//
// The data source answers, by message (optional ones have defaults):
//
//     numberOfSectionsInTableView:               optional, 1
//     tableView:numberOfRowsInSection:
//     tableView:cellForRowAtIndexPath:
//     tableView:titleForHeaderInSection:         optional, no header
//     tableView:titleForFooterInSection:         optional, no footer
//
// and the delegate (the scroll view's delegate) hears tableView:willSelectRowAtIndexPath:
// (optional; it may answer another path, or nil to refuse) and
// tableView:didSelectRowAtIndexPath: when a finger selects a row; selecting from code
// (selectRowAtIndexPath:animated:scrollPosition:) tells nobody, as on the phone. As the
// labels of section headers and footers are placed, the delegate may style them:
// tableView:willDisplayHeaderView:forSection: and tableView:willDisplayFooterView:forSection:
// (optional) receive each label.
//
// The table asks for counts and titles when it first lays out and after reloadData, and
// for cells only for the rows its bounds show: rows are 44 points (rowHeight), sections
// of the grouped style are separated by a header band (with the title when there is one)
// and followed by their footer text. Cells that scroll away go to the reuse pool.
// cellForRowAtIndexPath: of the table answers the cell shown for a row, laying out first
// if needed, and nil for a row off screen, as on the phone.
//
// A finger that comes down on a row and lifts on the same row selects it.

#include "uikit/NSIndexPath.h"
#include "uikit/UIScrollView.h"
#include "uikit/UITableViewCell.h"

#include <map>
#include <string>
#include <vector>

enum UITableViewStyle : NSInteger {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
};

enum UITableViewScrollPosition : NSInteger {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

struct UITableView : UIScrollView {
    // Where one section lies in the content, top to bottom: header, rows, footer.
    struct SectionLayout {
        NSInteger rows = 0;
        StrongRef<NSString> headerTitle;
        StrongRef<NSString> footerTitle;
        CGFloat top = 0;
        CGFloat headerHeight = 0;
        CGFloat footerHeight = 0;

        CGFloat rowsTop() const { return top + headerHeight; }
    };
    // A row as a pair, for ordering the cells on screen.
    using RowKey = std::pair<NSInteger, NSInteger>; // section, row

    UITableViewStyle m_style = UITableViewStylePlain;
    id m_dataSource = nil; // not retained, as on the platform
    CGFloat m_rowHeight = 44;
    bool m_allowsSelection = true;

    bool m_needsReload = true;
    std::vector<SectionLayout> m_sections;
    std::map<RowKey, StrongRef<UITableViewCell>> m_visibleCells;
    std::map<std::string, std::vector<StrongRef<UITableViewCell>>> m_reusableCells;
    std::vector<StrongRef<UIView>> m_sectionLabels; // header and footer labels on screen
    StrongRef<NSIndexPath> m_selectedRow;
    StrongRef<NSIndexPath> m_touchedRow; // the row under a finger that is down

    static Class class_();

    // Asks the data source for the sections now, if it has not since the last reloadData.
    void updateSectionsIfNeeded();
    // The rectangle of a row in the content; CGRectNull for a row that does not exist.
    CGRect rectForRow(NSInteger section, NSInteger row);
    // The row at a point of the content, or nil.
    NSIndexPath *indexPathForPoint(CGPoint point);
    // Selects the row as a finger would: asks the delegate, selects, tells it.
    void selectRowByUser(NSIndexPath *path);
};
