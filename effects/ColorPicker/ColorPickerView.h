#pragma once
// ColorPickerView: the square colour picker that the settings panel's colour editor embeds.
// A finger on it picks hue and saturation from a wheel (ColorWheelGeometry.h); brightness
// and opacity come from outside (the brightness slider, the editor) and show as a black
// overlay and a checkerboard showing through. The selection is a ColorPickerState.
//
// Layers. The view's layer holds one contents layer (masking to bounds, round when the
// picker crops to a circle) holding, bottom to top: the gradient layer with the wheel
// bitmap, the brightness layer (black, opacity 1 − brightness), the circle of the selected
// colour, the checkerboard pattern layer (opacity 1 − opacity) and the selection marker.
// While a finger is down the loupe (ColorPickerLoupe.h) floats above it, beside the contents
// layer, so that it may reach beyond the view's edges.
//
// The wheel bitmap comes from the process-wide cache (ColorWheelGenerator.h) when the view
// enters a window, for the window's screen scale: that is when its pixel size is known.
// Until then (and after it leaves) its scale is 0 and it shows no wheel.
//
// Every change of the selection display happens inside one Core Animation transaction,
// without implicit animations for touches and with them for the setters, and is followed
// by colorPickerDidChangeSelection: to the delegate. The delegate's messages are all
// optional; it is not retained.
//
// The view must be square: a frame or bounds of unequal width and height stops the process
// with the internal-inconsistency assertion "must be square", as the platform's assertions
// do. initWithFrame: itself squares the frame it is given.

#include "effects/ColorPicker/ColorPickerLoupe.h"
#include "effects/ColorPicker/ColorPickerState.h"
#include "uikit/UIView.h"

struct ColorPickerView : UIView {
    id m_delegate = nil; // not retained
    bool m_cropToCircle = false;
    bool m_showLoupe = true;
    CGFloat m_scale = 0;
    StrongRef<ColorPickerState> m_state;
    StrongRef<CGImage> m_wheel;
    // The pixel diameter and padding m_wheel was made for, to tell when it is stale.
    CGFloat m_wheelDiameter = 0;
    CGFloat m_wheelPadding = 0;
    StrongRef<CALayer> m_contentsLayer;
    StrongRef<CALayer> m_gradientLayer;
    StrongRef<CALayer> m_brightnessLayer;
    StrongRef<CALayer> m_colorCircleLayer;
    StrongRef<CALayer> m_patternLayer;
    StrongRef<CALayer> m_markerLayer;
    StrongRef<ColorPickerLoupeLayer> m_loupeLayer; // made on the first touch

    static Class class_();

    static constexpr CGFloat kPaddingDistance = 11;
    static constexpr CGFloat kSelectionSize = 22;
    static constexpr CGFloat kPatternTileSize = 20;
    static constexpr CGFloat kPatternWhite = 0.5;

    ColorPickerState *state() const { return m_state.get(); }
    // The side of the square bounds.
    CGFloat side() const { return bounds().size.width; }
    // Where the selection is, in the view's bounds space.
    CGPoint selection() const;
};
