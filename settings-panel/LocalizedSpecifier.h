#pragma once
// LocalizedSpecifier: a row whose name, footer and list titles are shown in the user's
// language. Every text given to it is the English one; it looks each up in the panel's
// strings table (CVPanelBundle.h) as it is set.

#include "preferences/PSSpecifier.h"

struct LocalizedSpecifier : PSSpecifier {
    static Class class_();

    // +preferenceSpecifierNamed:target:set:get:detail:cell:edit:, autoreleased.
    static LocalizedSpecifier *rowNamed(NSString *name, id target, SEL setter, SEL getter,
                                        Class detail, NSInteger cellType, Class edit);
    // +groupSpecifierWithTitle:footer:, autoreleased; either text may be nil.
    static LocalizedSpecifier *groupWithTitle(NSString *title, NSString *footer);
};
