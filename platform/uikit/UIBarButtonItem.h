#pragma once
// Buttons of a navigation bar: a title and the action sent to the target, with the item
// as sender, when the button is pressed (`void action(id target, SEL, id sender)`). The
// target is not retained.

#include "foundation/NSString.h"
#include "objc/ClassBuilder.h"

enum UIBarButtonItemStyle : NSInteger {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

struct UIBarButtonItem : NSObject {
    StrongRef<NSString> m_title;
    UIBarButtonItemStyle m_style = UIBarButtonItemStylePlain;
    id m_target = nil; // not retained
    SEL m_action = nullptr;
    bool m_enabled = true;

    static Class class_();

    // Sends the action to the target, as a press of the button does.
    void press();
};
