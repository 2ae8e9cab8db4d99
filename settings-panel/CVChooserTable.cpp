#include "settings-panel/CVChooserTable.h"

#include "settings-panel/CVPanelBundle.h"
#include "uikit/UIScreen.h"

#include <algorithm>

void CVSortByTitle(CVChooserEntries &entries)
{
    std::ranges::stable_sort(entries, [](const CVChooserEntry &a, const CVChooserEntry &b) {
        return CVTitleLess(a.title, b.title);
    });
}

NSArray *CVEntriesArray(const CVChooserEntries &entries)
{
    NSMutableArray *array = NSMutableArray::array();
    for (const CVChooserEntry &entry : entries)
        array->addObject(NSDictionary::dictionaryWithObjectsForKeys(
            {{"identifier"_ns, entry.identifier.get()}, {"title"_ns, entry.title.get()}}));
    return array;
}

void CVLoadChooserTable(id chooser)
{
    CGRect screen = msg<CGRect>(msg<id>(UIScreen::class_(), "mainScreen"_sel), "bounds"_sel);
    id table = msg<id, CGRect, UITableViewStyle>(msg<id>(UITableView::class_(), "alloc"_sel),
                                                 "initWithFrame:style:"_sel, screen,
                                                 UITableViewStylePlain);
    msg<void>(table, "setDataSource:"_sel, chooser);
    msg<void>(table, "setDelegate:"_sel, chooser);
    msg<void>(chooser, "setView:"_sel, table);
    objc_release(table);
}

UITableViewCell *CVChooserCell(UITableView *table, NSString *reuseIdentifier, NSString *title)
{
    id cell = msg<id>(table, "dequeueReusableCellWithIdentifier:"_sel, reuseIdentifier);
    if (!cell) {
        cell = msg<id>(UITableViewCell::class_(), "alloc"_sel);
        cell =
            msg<id, UITableViewCellStyle, NSString *>(cell, "initWithStyle:reuseIdentifier:"_sel,
                                                      UITableViewCellStyleDefault, reuseIdentifier);
        autorelease(cell);
    }
    msg<void>(msg<id>(cell, "textLabel"_sel), "setText:"_sel, title);
    return static_cast<UITableViewCell *>(cell);
}

void CVSetChecked(UITableViewCell *cell, bool checked)
{
    msg<void, UITableViewCellAccessoryType>(cell, "setAccessoryType:"_sel,
                                            checked ? UITableViewCellAccessoryCheckmark
                                                    : UITableViewCellAccessoryNone);
}
