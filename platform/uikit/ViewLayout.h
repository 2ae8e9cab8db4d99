#pragma once
// Deferred layout. setNeedsLayout marks a view and, once per turn, schedules a layout
// pass on the main run loop; every view marked before the pass runs is laid out by it,
// so a burst of changes costs one layoutSubviews per view. layoutIfNeeded runs the
// pending layout of a view's tree at once: from the topmost marked ancestor down, each
// marked view is unmarked and sent layoutSubviews before its subviews are visited, so a
// superview places its subviews before they lay out their own.

struct UIView;
struct objc_selector;

namespace sim {

class ViewLayout {
public:
    // The methods behind -setNeedsLayout and -layoutIfNeeded.
    static void setNeedsLayout(UIView *view, const objc_selector *);
    static void layoutIfNeeded(UIView *view, const objc_selector *);

    // Runs the pass now, as the next turn of the run loop would.
    static void layoutPendingViews();
};

} // namespace sim
