#pragma once
// Rows of a settings page. A specifier names the row (`name`), its cell type, the object
// that holds its value (`target`, not retained) and the two selectors the page calls on
// the target:
//
//     id   getter(id target, SEL, PSSpecifier *row);              the value to show
//     void setter(id target, SEL, id value, PSSpecifier *row);    the user's new value
//
// A link row also names the page it opens (`detailControllerClass`). Everything else is
// a property, set with setProperty:forKey:. The ones the pages honour:
//
//     "id"           the row's identifier (identifier answers it, else the name)
//     "default"      the value readPreferenceValue: answers when nothing is stored
//     "min", "max"   a slider's range (numbers)
//     "showValue"    a slider shows its value as text (boolean)
//     "footerText"   a group's footer
//     "alignment"    a group's footer alignment (an NSTextAlignment number)
//     "icon"         the path of the row's icon (setupIconImageWithPath: loads it)
//     "iconImage"    the row's icon image (a UIImage), shown by the cell
//     "placeholder"  an edit-text row's placeholder
//
// A list row (PSLinkListCell) carries its choices: `values` in order, and titleDictionary
// and shortTitleDictionary mapping each value to its title.
//
// The getter, setter, target and the rest are also instance variables under the names
// "getter", "setter", "target", "detailControllerClass", "cellType" and "editPaneClass";
// C++ code reads the fields.

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"

enum PSCellType : NSInteger {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSGiantIconCell = 10,
    PSGiantCell = 11,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
    PSEditTextViewCell = 14,
};

struct PSSpecifier : NSObject {
    StrongRef<NSString> m_name;
    id m_target = nil; // not retained: pages are the targets of their own rows
    SEL m_getter = nullptr;
    SEL m_setter = nullptr;
    Class m_detailControllerClass = Nil;
    Class m_editPaneClass = Nil;
    NSInteger m_cellType = PSGroupCell;
    StrongRef<NSMutableDictionary> m_properties;
    StrongRef<NSArray> m_values;
    StrongRef<NSDictionary> m_titleDictionary;
    StrongRef<NSDictionary> m_shortTitleDictionary;

    static Class class_();

    // The "id" property, else the name.
    NSString *identifier() const;
    id propertyForKey(NSString *key) const;
    void setPropertyForKey(id value, NSString *key);
};
