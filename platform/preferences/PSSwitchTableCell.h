#pragma once
// A switch row: the name and a UISwitch as accessory. The value is a boolean number;
// flipping the switch sends the row's setter an NSNumber boolean.

#include "preferences/PSTableCell.h"

struct PSSwitchTableCell : PSControlTableCell {
    static Class class_();
};
