#pragma once
// Windows: the roots of view trees that the screen shows. A window is hidden until
// shown (setHidden:NO or makeKeyAndVisible); the screen composites the visible windows
// from the lowest windowLevel up, windows of one level in the order they were made.
// One window at a time is the key window. The list of windows does not own them: a
// window lives as long as someone holds it, as on the phone.

#include "uikit/UIView.h"

#include <vector>

using UIWindowLevel = CGFloat;
inline constexpr UIWindowLevel UIWindowLevelNormal = 0;
inline constexpr UIWindowLevel UIWindowLevelStatusBar = 1000;
inline constexpr UIWindowLevel UIWindowLevelAlert = 2000;

struct UIWindow : UIView {
    UIWindowLevel m_windowLevel = UIWindowLevelNormal;
    StrongRef<objc_object> m_rootViewController;

    ~UIWindow();

    static Class class_();
    static UIWindow *keyWindow();

    void makeKeyWindow();
    bool isKeyWindow() const { return keyWindow() == this; }
};

namespace sim {
// Every window alive, in the order they were made.
const std::vector<UIWindow *> &allWindows();
// The visible windows in the order the screen draws them, bottom first.
std::vector<UIWindow *> visibleWindowsBottomUp();
} // namespace sim
