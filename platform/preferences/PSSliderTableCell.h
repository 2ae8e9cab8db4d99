#pragma once
// A slider row: a UISlider across the cell with the range of the row's "min" and "max"
// properties (0 and 1 when absent). With "showValue" on, a label at the trailing edge
// shows the value with two decimals. Moving the slider sends the row's setter an
// NSNumber float at each change.

#include "preferences/PSTableCell.h"

struct PSSliderTableCell : PSControlTableCell {
    StrongRef<UILabel> m_valueLabel; // shown with "showValue"

    static Class class_();
};
