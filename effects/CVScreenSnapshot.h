#pragma once
// UIScreen(CVEffects): +screenSnapshotView, a new autoreleased UIImageView showing what
// the screen shows at this moment, upright in the interface's orientation.
//
// The display's surface keeps the panel's portrait order, so the image carries the
// orientation that turns it upright: o − 1 for the interface orientations 2 to 4
// (upside-down portrait, landscape right, landscape left), up otherwise. The view has the
// image's size in points, at the main screen's scale. The method is added to UIScreen's
// class when the library loads.

#include "uikit/UIImageView.h"

UIImageView *CVScreenSnapshotView();
