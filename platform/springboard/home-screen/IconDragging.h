#pragma once
// Where a dragged icon lands. Lifting the finger over another icon of the list that can
// receive the grabbed one (the icon controller's `icon:canReceiveGrabbedIcon:`) and is a
// folder's icon puts the grabbed icon into that folder; anywhere else the icon takes the
// place of the list nearest the finger, and the icons between move up or down by one.

#include "springboard/SBIconListView.h"
#include "springboard/SBIconView.h"

namespace sim {

// `point` is in the list's bounds space.
void dropIconView(SBIconView *view, SBIconListView *list, CGPoint point);

// The centre of the index-th place of the list (from 0), in the list's bounds space.
CGPoint centerOfPlace(SBIconListView *list, NSUInteger index);

} // namespace sim
