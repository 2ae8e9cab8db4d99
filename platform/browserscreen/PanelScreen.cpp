#include "PanelScreen.h"

#include "preferences/PSEditableTableCell.h"
#include "preferences/PSTableCell.h"
#include "uikit/UIApplication.h"

namespace sim {

namespace {

bool isKindOf(id object, Class cls)
{
    return object && msg<BOOL>(object, "isKindOfClass:"_sel, cls);
}

} // namespace

UINavigationController *panelNavigationController()
{
    UIWindow *window = UIApplication::sharedApplication()->keyWindow();
    id root = msg<id>(window, "rootViewController"_sel);
    if (!isKindOf(root, UINavigationController::class_()))
        return nil;
    return static_cast<UINavigationController *>(root);
}

UIViewController *topPage(UINavigationController *navigation)
{
    return msg<UIViewController *>(navigation, "topViewController"_sel);
}

UIView *findView(UIView *root, Class cls)
{
    if (!root || root->isHidden())
        return nil;
    if (isKindOf(root, cls))
        return root;
    auto *subviews = msg<NSArray *>(root, "subviews"_sel);
    for (NSUInteger i = 0, count = subviews ? subviews->count() : 0; i < count; ++i)
        if (UIView *found = findView(static_cast<UIView *>(subviews->objectAtIndex(i)), cls))
            return found;
    return nil;
}

UITableView *tableOfPage(UIViewController *page)
{
    if (!page)
        return nil;
    return static_cast<UITableView *>(
        findView(msg<UIView *>(page, "view"_sel), UITableView::class_()));
}

UIView *controlOfCell(UITableViewCell *cell, Class cls)
{
    if (!cell)
        return nil;
    UIView *candidates[] = {
        isKindOf(cell, PSControlTableCell::class_()) ? msg<UIView *>(cell, "control"_sel) : nil,
        isKindOf(cell, PSEditableTableCell::class_()) ? msg<UIView *>(cell, "textField"_sel) : nil,
        msg<UIView *>(cell, "accessoryView"_sel),
    };
    for (UIView *candidate : candidates)
        if (isKindOf(candidate, cls))
            return candidate;
    return findView(cell, cls);
}

std::optional<std::string> checkRowExists(UITableView *table, long section, long row)
{
    if (!table)
        return "this page has no rows";
    NSInteger sections = msg<NSInteger>(table, "numberOfSections"_sel);
    if (section >= sections)
        return "section " + std::to_string(section) + " is not on this page (it has " +
               std::to_string(sections) + ")";
    NSInteger rows = msg<NSInteger>(table, "numberOfRowsInSection:"_sel, NSInteger(section));
    if (row >= rows)
        return "row " + std::to_string(row) + " is not in section " + std::to_string(section) +
               " (it has " + std::to_string(rows) + ")";
    return std::nullopt;
}

UITableViewCell *cellForRow(UITableView *table, NSInteger section, NSInteger row)
{
    if (checkRowExists(table, section, row))
        return nil;
    NSIndexPath *path = NSIndexPath::indexPathForRowInSection(row, section);
    if (auto *shown = msg<UITableViewCell *>(table, "cellForRowAtIndexPath:"_sel, path))
        return shown;
    return msg<UITableViewCell *>(msg<id>(table, "dataSource"_sel),
                                  "tableView:cellForRowAtIndexPath:"_sel, table, path);
}

UITextField *alertTextField(UIAlertView *alert)
{
    if (msg<UIAlertViewStyle>(alert, "alertViewStyle"_sel) == UIAlertViewStyleDefault)
        return nil;
    return msg<UITextField *, NSInteger>(alert, "textFieldAtIndex:"_sel, 0);
}

UIWindow *bannerWindow()
{
    for (UIWindow *window : visibleWindowsBottomUp())
        if (UIWindowLevel level = msg<UIWindowLevel>(window, "windowLevel"_sel);
            level > UIWindowLevelStatusBar && level < UIWindowLevelAlert)
            return window;
    return nil;
}

} // namespace sim
