#pragma once
// A settings page listing rows: its specifiers shown in a grouped table, of which it is
// the data source and the delegate.
//
// Rows: `specifiers` answers the instance variable "_specifiers" (the cache). A page
// overrides `specifiers` to build its rows into "_specifiers" on first call and answer
// them. reloadSpecifiers shows the rows again: for a page that overrides `specifiers`
// it empties the cache first, so the rows are built anew from the present state; a page
// that only filled "_specifiers" keeps them. Either way the table is reloaded, so every
// row asks its getter again. specifierForID: looks a row up by identifier.
//
// Sections: a PSGroupCell row begins a section whose header is the group's name and
// whose footer its "footerText"; rows before the first group form a section without
// header. The group row itself is not a row of the table.
//
// Cells: tableView:cellForRowAtIndexPath: makes (or reuses) the cell class of the row's
// type: PSSwitchTableCell for PSSwitchCell, PSSliderTableCell for PSSliderCell,
// PSEditableTableCell for PSEditTextCell and PSSecureEditTextCell, PSTableCell for the
// others. It fills the cell from the row (refreshCellContentsWithSpecifier:) and the
// value the row's getter answers on its target (setValue:). Pages override the message,
// call super and adjust the cell. A control's change reaches the row's setter on its
// target with an NSNumber (switch: boolean; slider: float) or an NSString (text).
//
// Selecting a row that names a detail controller class opens it: the class is made with
// initForContentSize: (the page's size) when it answers that, else init; it gets
// setRootController: (this page's root controller), setParentController: (this page) and
// setSpecifier: (the row), and is pushed on this page's navigation controller.
//
// readPreferenceValue: answers the row's "default" property and setPreferenceValue:
// specifier: does nothing, so that pages override both and may call super.
// reloadSpecifier: shows one row's present value again. A group's "alignment" property
// (an NSTextAlignment number) aligns its footer.

#include "preferences/PSViewController.h"
#include "uikit/UITableView.h"

#include <vector>

struct PSListController : PSViewController {
    StrongRef<NSArray> m_specifiers; // "_specifiers"
    StrongRef<UITableView> m_table;

    // The rows of the table per section, pointing into m_shownSpecifiers.
    struct Section {
        PSSpecifier *group = nil; // nil for the rows before the first group
        std::vector<PSSpecifier *> rows;
    };
    std::vector<Section> m_sections; // rebuilt when the table asks for its sections
    StrongRef<NSArray> m_shownSpecifiers;

    static Class class_();

    // The row shown at a table position, or nil.
    PSSpecifier *specifierAt(NSIndexPath *path) const;
    // The table position of a row, or nil when it is not shown.
    NSIndexPath *indexPathOf(PSSpecifier *specifier) const;
};
