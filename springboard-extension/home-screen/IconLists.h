#pragma once
// The icon grid of SpringBoard's three kinds of icon list: the home screen's pages, the
// dock, and the pages of an open folder. SpringBoard lays a list out from what it asks
// the list's class (how many columns and rows) and the list itself (insets, paddings,
// the origin of each icon), all by message; replacing those methods reshapes the grid
// without touching SpringBoard's layout code. Each kind reads its own "pages", "dock" or
// "folders" entry of gCVIcons at the moment it is asked, so a live settings update acts
// at the next layout.
//
// A count of 0 keeps SpringBoard's count; the inset and padding weights multiply
// SpringBoard's values. When a count is set, the origin of each icon is computed afresh:
// the free length of a line (the list's width less the icons) is shared among two outer
// gaps of weight "sideInset" and the inner gaps of weight "horizontalPadding", and rows
// start below the top inset with gaps of "verticalPadding" times an equal share of the
// free height. All of it is 32-bit floating point, as on the phone it was made for.
//
// IconListsInit installs the whole group in one fixed order: the grid, the page dots,
// the pull-down Spotlight switch, and the icon transforms of IconTransforms.h.

#include "objc/objc.h"
#include "settings-core/CVSettings.h"

void IconListsInit();

// The settings entry of the list's kind, by the list's exact class: the dock's list and a
// folder's list have their own, every other list (a page, or a kind SpringBoard adds
// later) takes the pages' entry.
CVIconListEntity &entityForList(id list);
