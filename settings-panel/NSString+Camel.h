#pragma once
// NSString(Camel): `camelCaseToSpaced`, which turns a compact name into words for people
// to read ("HelveticaNeueBoldItalic" → "Helvetica Neue Bold Italic"). A space goes in
// where lower case meets upper case, and before the last capital of a run of capitals
// that a lower-case letter follows ("TTYFont" → "TTY Font"). The category method is added
// to NSString when the panel loads.

#include "foundation/NSString.h"

// The spaced form of `text`, autoreleased; an empty string for an empty one.
NSString *CVCamelCaseToSpaced(NSString *text);
