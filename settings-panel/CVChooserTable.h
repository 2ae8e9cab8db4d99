#pragma once
// What the font and application choosers share: a plain table of entries (an identifier
// and the title shown), sorted by title, one checkmark per selected entry, and the
// chooser itself as the table's data source and delegate.

#include "foundation/NSDictionary.h"
#include "uikit/UITableView.h"

#include <vector>

struct CVChooserEntry {
    StrongRef<NSString> identifier; // "" for the first, empty entry
    StrongRef<NSString> title;
};
using CVChooserEntries = std::vector<CVChooserEntry>;

// Sorts by title, ascending (CVTitleLess); equal titles keep their order.
void CVSortByTitle(CVChooserEntries &entries);

// The entries as an array of {"identifier": …, "title": …} dictionaries, autoreleased.
NSArray *CVEntriesArray(const CVChooserEntries &entries);

// Makes the chooser's view a table over the screen whose data source and delegate is the
// chooser (its loadView).
void CVLoadChooserTable(id chooser);

// A reused or new cell of the default style for the identifier, showing the title.
UITableViewCell *CVChooserCell(UITableView *table, NSString *reuseIdentifier, NSString *title);
void CVSetChecked(UITableViewCell *cell, bool checked);
