#pragma once
// The selection marker: a ring 22 points across that the picker keeps centred on the
// selection, above the circle of the selected colour. It draws itself at its contents scale
// whenever it displays.

#include "quartzcore/CALayer.h"

struct ColorPickerMarkerLayer : CALayer {
    static Class class_();
};
