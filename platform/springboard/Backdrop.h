#pragma once
// The blurred backdrop behind Control Center and Notification Center. `_UIBackdropView`
// shows a Gaussian blur of whatever lies behind it, washed with a tint colour at a tint
// opacity; `inputSettings` (`_UIBackdropViewSettings`) holds the blur radius, the tint
// colour and the tint opacity. The view reads its settings each time it lays out, so a
// setter sent before the view appears shows in the next frame. The blur itself is drawn by
// the renderer from the layer's "backdropBlur" filter (CAFilter.h), every frame, over what
// was composited below the view.

#include "uikit/UIColor.h"
#include "uikit/UIView.h"

#include <nlohmann/json_fwd.hpp>

struct _UIBackdropViewSettings : NSObject {
    CGFloat m_blurRadius = 0;
    StrongRef<UIColor> m_colorTint;
    CGFloat m_colorTintAlpha = 0;

    static Class class_();
};

struct _UIBackdropView : UIView {
    StrongRef<_UIBackdropViewSettings> m_inputSettings;
    StrongRef<UIView> m_colorTintView;

    static Class class_();
    // A backdrop whose settings start with SpringBoard's blur radius and a tint.
    static StrongRef<_UIBackdropView> create(CGFloat blurRadius, UIColor *tint, CGFloat tintAlpha);
};

namespace sim {
void registerBackdropClasses();
// The settings as the dump shows them: {"blurRadius", "colorTint", "colorTintAlpha"}.
nlohmann::json backdropSettingsJson(_UIBackdropViewSettings *settings);
} // namespace sim
