#pragma once
// UIColor(CVEffects): two colour conveniences offered beside the image filters. The
// category's class methods are added to UIColor when the library loads; C++ callers use
// the functions below. Both answer autoreleased colours.

#include "uikit/UIColor.h"

#include <cstdint>

// +randomColor: red, green and blue each (arc4random() modulo 255) ÷ 255 and alpha 1.0,
// so a component never reaches 1.0.
UIColor *CVRandomColor();

// +colorWithRGBABytes: red, green, blue and alpha from four bytes in that order, each
// divided by 255; nil for a null pointer.
UIColor *CVColorWithRGBABytes(const std::uint8_t *bytes);
