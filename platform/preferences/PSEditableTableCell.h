#pragma once
// A text row: the name, then a UITextField (`textField`) with the row's "placeholder".
// When typing ends (the field's delegate hears textFieldDidEndEditing:) the text goes to
// the row's setter as an NSString, if it changed. Secure rows behave the same.

#include "preferences/PSTableCell.h"
#include "uikit/UITextField.h"

struct PSEditableTableCell : PSTableCell {
    StrongRef<UITextField> m_textField;

    static Class class_();
};
