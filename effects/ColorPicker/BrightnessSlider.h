#pragma once
// BrightnessSlider: the slider beside a colour picker that sets the picker's brightness.
// Its range is 0 to 1 and it is continuous, so the picker follows the thumb while it moves.
// Linking a picker (setColorPicker:) moves the thumb to the picker's brightness; when the
// finger lifts, the picker's delegate hears colorPicker:touchesEnded:withEvent: (with the
// picker and no touches or event), as when a finger lifts from the picker itself, so that
// the editor keeps the colour either way. The track is a gradient from black at the left
// to white at the right, across the slider's full width and height.

#include "effects/ColorPicker/ColorPickerView.h"
#include "uikit/UISlider.h"

struct BrightnessSlider : UISlider {
    StrongRef<ColorPickerView> m_colorPicker;

    static Class class_();
};
