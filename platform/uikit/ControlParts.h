#pragma once
// What the controls, cells and bars are drawn from: plain views coloured by their layer
// (a rounded rectangle is a view with a corner radius), and the platform's colours.

#include "uikit/UILabel.h"

namespace sim {

// A new view (autoreleased) filled with `color`, its corners rounded by `cornerRadius`;
// it takes no touches, so they reach the control it is a part of.
UIView *makeFilledView(CGRect frame, UIColor *color, CGFloat cornerRadius = 0);

// A new label (autoreleased) in the system font of `size`, in `color`.
UILabel *makeLabel(CGFloat size, UIColor *color);

// The platform's default tint: the blue of buttons, sliders and checkmarks.
UIColor *defaultTintColor();
// The grey of secondary text: detail labels, headers and footers.
UIColor *secondaryTextColor();

} // namespace sim
