#pragma once
// Where the settings application's interface keeps what the web page shows: the
// navigation controller at the root of the key window, the page on top of it, the page's
// table (a page without one is drawn as an image), the cells of its rows and the
// controls in them, and the banner window over the status bar. All of it is looked up
// afresh each time, on the main thread, so nothing here outlives a change of page.

#include "uikit/UIAlertView.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITableView.h"
#include "uikit/UIWindow.h"

#include <optional>
#include <string>

namespace sim {

// The key window's root view controller when it is a navigation controller, else nil
// (the panel's bundle did not load).
UINavigationController *panelNavigationController();

// The page on top of the navigation stack, or nil.
UIViewController *topPage(UINavigationController *navigation);

// The first visible table in the page's view (the view itself included), or nil for a
// page that draws its own view.
UITableView *tableOfPage(UIViewController *page);

// The first view of the tree (the root included, depth first) that is a `cls`, or nil.
UIView *findView(UIView *root, Class cls);

// The cell of a row: the one on screen, else a fresh one from the data source, as the
// table would make when the row scrolls in. Nil when the row does not exist.
UITableViewCell *cellForRow(UITableView *table, NSInteger section, NSInteger row);

// The control of a cell that is a `cls` (UISwitch, UISlider, UITextField): the settings
// cell's own control or text field, the accessory view, or a view inside the cell; nil
// when it has none.
UIView *controlOfCell(UITableViewCell *cell, Class cls);

// Why a row cannot be used, or nothing when section and row lie inside the table.
std::optional<std::string> checkRowExists(UITableView *table, long section, long row);

// The text field of an alert that asks for text, else nil.
UITextField *alertTextField(UIAlertView *alert);

// The visible window above the status bar and below the alerts (the settings-changed
// banner), or nil.
UIWindow *bannerWindow();

} // namespace sim
