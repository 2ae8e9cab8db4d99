#pragma once
// A text field reduced to what alerts need: the text someone typed into it.

#include "foundation/NSString.h"
#include "uikit/UIView.h"

struct UITextField : UIView {
    StrongRef<NSString> m_text;
    StrongRef<NSString> m_placeholder;

    static Class class_();
};
