#pragma once
// Layers have no implicit animations here (CALayer.h), but on the platform a view's own
// layer told a new value inside a view animation block animates: the layer asks its
// delegate, the view, for the action. The stand-in keeps that through one observer, which
// UIKit sets: the layer's message setters that a block may animate report each change
// after storing it, and UIKit animates the ones of a view's own layer. C++ callers of the
// member functions are not heard; they are UIKit's own setters, which animate already.

#include "quartzcore/LayerAnimation.h"

struct CALayer;

namespace sim {

using LayerChangeObserver = void (*)(CALayer *layer, AnimatedProperty property,
                                     const AnimatedValue &before, const AnimatedValue &after);

// Replaces the observer; nullptr hears nothing.
void setLayerChangeObserver(LayerChangeObserver observer);

} // namespace sim
