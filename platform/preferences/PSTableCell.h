#pragma once
// The cells of settings rows. A cell shows its row (specifier): the name, the icon image
// (the row's "iconImage" property) and, for a link row, the disclosure indicator; for a
// link-list row the title of its present value (titleDictionary of the value) as detail
// text; for a title-value row the value as text. refreshCellContentsWithSpecifier: shows
// the row; setValue: shows the value (each cell class in its own way).
//
// Control cells hold a control (`control`) whose changes reach the row's setter on its
// target (PSSpecifier.h): controlChanged: is the control's action, and the value sent is
// the cell's controlValue. Cells are made with initWithStyle:reuseIdentifier:specifier:.
//
// cellTypeFromString: answers the PSCellType named by a string ("PSSwitchCell" …), and
// PSLinkCell for a name it does not know, as the platform does.

#include "preferences/PSSpecifier.h"
#include "uikit/UIControl.h"
#include "uikit/UITableViewCell.h"

struct PSTableCell : UITableViewCell {
    StrongRef<PSSpecifier> m_specifier;
    StrongRef<objc_object> m_value;
    NSInteger m_type = PSLinkCell;

    static Class class_();

    static NSInteger cellTypeFromString(NSString *name);
    // The cell class for rows of a type.
    static Class cellClassForType(NSInteger type);
    // The cell style for rows of a type: Value1 where the value shows beside the name.
    static UITableViewCellStyle cellStyleForType(NSInteger type);
    // The reuse identifier of cells for rows of a type: the type's name.
    static NSString *reuseIdentifierForType(NSInteger type);

    // Keeps `value` as the cell's and calls the row's setter on its target with it.
    void commitValue(id value);
};

struct PSControlTableCell : PSTableCell {
    StrongRef<UIControl> m_control;

    static Class class_();
};
