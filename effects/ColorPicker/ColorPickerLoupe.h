#pragma once
// The loupe: a round layer 97 points across that floats above the finger while it is down
// and shows the wheel under the selection magnified, shaded by the picker's brightness and
// framed by a ring. Its anchor is its bottom centre, which hangs a little above the
// selection, so that it grows out of the finger when it appears ("cp_l_appear") and shrinks
// back into it when it is dismissed ("cp_l_disappear"), both scale animations of its
// transform.

#include "quartzcore/CALayer.h"

struct ColorPickerLoupeLayer : CALayer {
    StrongRef<CALayer> m_magnified; // the wheel under the selection, magnified
    StrongRef<CALayer> m_shade;     // black, opacity 1 − brightness
    StrongRef<CALayer> m_ring;
    bool m_shown = false;

    static Class class_();

    static constexpr CGFloat kSide = 97;
    // Each wheel pixel is drawn this many pixels square.
    static constexpr int kMagnification = 4;

    // A new loupe drawn for a screen of `scale` pixels a point; the caller owns it.
    static ColorPickerLoupeLayer *createWithScale(CGFloat scale);

    // Adds the loupe to `parent` (if not there yet) and lets it grow in.
    void appearIn(CALayer *parent);
    // Shrinks the loupe away and then removes it from its superlayer; without animation it
    // goes at once.
    void dismiss(bool animated);

    // Hangs the loupe above `selection` (the superlayer's points, frame origin rounded to
    // whole points) and draws the wheel around `wheelPixel` (pixels of `wheel`). With
    // `round` the wheel's corners, which a round picker hides, stay hidden here too.
    void showSelection(CGPoint selection, CGImageRef wheel, CGPoint wheelPixel, CGFloat brightness,
                       bool round);
};
