#pragma once
// Alerts. A shown alert is part of the screen: it sits in a window of its own at the
// alert level, over everything else, listing its title, message and buttons, until one
// of its buttons is pressed (sim::pressAlertButton, as a finger would). Pressing tells
// the delegate alertView:clickedButtonAtIndex:, takes the alert off the screen, then
// tells alertView:didDismissWithButtonIndex:. A shown alert keeps itself alive until
// it is dismissed, as on the platform.
//
// The platform's initializer takes a nil-terminated list of other button titles; a
// message carries a fixed argument list, so here `otherButtonTitles:` is the first of
// them (or nil), and further buttons are added with addButtonWithTitle:.

#include "uikit/UITextField.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

#include <string>
#include <vector>

enum UIAlertViewStyle : NSInteger {
    UIAlertViewStyleDefault = 0,
    UIAlertViewStyleSecureTextInput,
    UIAlertViewStylePlainTextInput,
    UIAlertViewStyleLoginAndPasswordInput,
};

struct UIAlertView : UIView {
    StrongRef<NSString> m_title;
    StrongRef<NSString> m_message;
    id m_delegate = nil; // not retained
    std::vector<StrongRef<NSString>> m_buttonTitles;
    NSInteger m_cancelButtonIndex = -1;
    UIAlertViewStyle m_alertViewStyle = UIAlertViewStyleDefault;
    StrongRef<UITextField> m_textField; // made for the text-input styles
    StrongRef<UIWindow> m_alertWindow;  // while shown

    static Class class_();

    bool isVisible() const { return m_alertWindow; }
    // Tells the delegate about the press and takes the alert off the screen.
    void dismissWithClickedButtonIndex(NSInteger index);
};

namespace sim {

struct VisibleAlert {
    UIAlertView *alert;
    std::string title;
    std::string message;
    std::vector<std::string> buttons;
};

// The alerts on screen, oldest first.
std::vector<VisibleAlert> visibleAlerts();

// Presses a button of a shown alert; false, with a logged line, for an alert that is
// not shown or an index it does not have.
bool pressAlertButton(UIAlertView *alert, NSInteger index);

} // namespace sim
