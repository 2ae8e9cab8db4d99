#pragma once
// The settings framework stand-in: pages (PSListController) of rows (PSSpecifier) shown
// as cells (PSTableCell), opened on a navigation controller (PSRootController).

#include "preferences/PSEditableTableCell.h"
#include "preferences/PSListController.h"
#include "preferences/PSListItemsController.h"
#include "preferences/PSRootController.h"
#include "preferences/PSSliderTableCell.h"
#include "preferences/PSSpecifier.h"
#include "preferences/PSSwitchTableCell.h"
#include "preferences/PSTableCell.h"
#include "preferences/PSViewController.h"
