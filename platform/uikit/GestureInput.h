#pragma once
// The device's fingers: entry points that a test or the device tool calls to make
// gestures happen on the interface, as a touch screen would.

#include "quartzcore/CGGeometry.h"

#include <vector>

struct UIView;

namespace sim {

// A tap at `point` in `root`'s bounds space (a window, usually). The deepest view under
// the point that accepts touches is found by hit-testing; the nearest tap recognizer on
// it or an ancestor that may begin recognises the tap. False when none did.
bool tapAt(UIView *root, CGPoint point);

// A pinch on `view` whose scale passes through `scales`, one step each `secondsPerStep`:
// began at the first scale, changed at each next, ended at the last. The nearest pinch
// recognizer on the view or an ancestor that may begin takes it. False when none did or
// there are no scales.
bool pinch(UIView *view, const std::vector<CGFloat> &scales, double secondsPerStep = 1.0 / 60);

} // namespace sim
