#pragma once
// Switches: on or off. A tap (a touch that lifts inside) flips the switch and sends
// UIControlEventValueChanged; setOn: never sends events. A switch is always 51 × 31
// points, whatever frame it is given, as on the phone.

#include "uikit/UIControl.h"

struct UISwitch : UIControl {
    bool m_on = false;
    StrongRef<UIColor> m_onTintColor;
    StrongRef<UIView> m_knob;

    static Class class_();

    static constexpr CGFloat kWidth = 51;
    static constexpr CGFloat kHeight = 31;
};
