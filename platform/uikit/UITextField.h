#pragma once
// A text field reduced to what alerts and settings rows need: the text someone typed
// into it, and a delegate that hears textFieldDidEndEditing: when typing ends
// (sim::typeText in GestureInput.h types).

#include "foundation/NSString.h"
#include "uikit/UIView.h"

struct UITextField : UIView {
    StrongRef<NSString> m_text;
    StrongRef<NSString> m_placeholder;
    id m_delegate = nil; // not retained

    static Class class_();
};
