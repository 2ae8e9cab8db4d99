#pragma once
// The panel's own bundle: where its localised strings and page icons come from. Every
// user-visible text of the panel is looked up in the bundle's strings table "Settings"
// with the English text as the key, so a missing translation shows the English text.

#include "foundation/NSBundle.h"

// The bundle whose executable registered RootListController, taken on first use (the
// bundle learns its classes only once its executable has finished loading).
NSBundle *CVPanelBundle();

// The localised text for an English text (nil stays nil); autoreleased.
NSString *CVLocalizedString(NSString *english);
NSString *CVLocalizedString(const char *english);

// The phone path of a page icon: the bundle's resources, "icons", then "<name>.png".
NSString *CVIconPath(NSString *name);

// The order in which titles are listed for people: case does not count, then it does.
bool CVTitleLess(NSString *a, NSString *b);
