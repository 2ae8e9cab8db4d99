#pragma once
// Images of what is on screen. Before drawing, pending layout runs (for snapshots "after
// screen updates") and every layer that asked to be redrawn displays, so the image shows
// the interface as the next frame would. The screen image composites the visible windows
// in the order the screen stacks them (UIWindow.h); a view's image shows its layer tree
// in its own bounds, upright and without its position and transform, at the screen's
// scale.

#include "quartzcore/CGImage.h"

struct CALayer;
struct UIView;

namespace sim {

// The caller owns the answers.
CGImageRef snapshotOfScreen();
CGImageRef snapshotOfView(UIView *view);

// Views (autoreleased) whose layer contents are those images.
UIView *snapshotViewOfScreen(bool afterScreenUpdates);
UIView *snapshotView(UIView *view, bool afterScreenUpdates);

// Displays every layer of the tree that needs it, top-down.
void displayPendingLayers(CALayer *root);

} // namespace sim
