#pragma once
// Sliders: a value in [minimumValue, maximumValue] picked by moving a thumb along a track.
// Every value is clamped to the range, whether it comes from a setter or a finger; a
// range whose ends cross moves the other end along. setValue: never sends events.
//
// A finger that comes down on the thumb (or within 10 points of it) takes it: from then
// on the thumb follows the finger's movement along the track, the thumb's centre
// travelling between the ends of the track, half a thumb in from the edges. A finger that
// comes down elsewhere moves nothing (so a tap on the track stays free for a tap
// recognizer of an ancestor). A continuous slider sends UIControlEventValueChanged at
// each change while the finger is down; one that is not continuous sends it once when
// the finger lifts, if the value changed.
//
// The track is drawn by the slider's own drawRect:, the thumb is a subview: a subclass
// that draws a track of its own overrides drawRect: and keeps the thumb.

#include "uikit/UIControl.h"

struct UISlider : UIControl {
    float m_value = 0;
    float m_minimumValue = 0;
    float m_maximumValue = 1;
    bool m_continuous = true;
    float m_valueAtTouchStart = 0;
    CGFloat m_grabOffset = 0; // from the thumb's centre to the finger, along the track
    StrongRef<UIColor> m_minimumTrackTintColor;
    StrongRef<UIColor> m_maximumTrackTintColor;
    StrongRef<UIView> m_thumbView;

    static Class class_();

    static constexpr CGFloat kThumbDiameter = 28;
    static constexpr CGFloat kTrackHeight = 2;

    // The rectangle the thumb's centre travels along, in the bounds: the track.
    CGRect trackRect() const;
    // The value whose thumb is centred at `x` (bounds space), clamped to the range.
    float valueForX(CGFloat x) const;
    CGFloat xForValue(float value) const;
};
