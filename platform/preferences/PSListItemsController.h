#pragma once
// The page a list row (PSLinkListCell) opens: one row per choice, titled from the opening
// row's titleDictionary in the order of its values, with a checkmark on the choice the
// opening row's getter answers. Selecting a choice writes its value through the opening
// row's setter on its target, moves the checkmark and deselects the row.

#include "preferences/PSListController.h"

struct PSListItemsController : PSListController {
    static Class class_();
};
