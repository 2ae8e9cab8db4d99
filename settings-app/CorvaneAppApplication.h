#pragma once
// The settings application: a window showing the settings panel's root page in a
// navigation stack of its own, without the system's Settings application.

#include "RootViewController.h"

#include "uikit/UIApplication.h"
#include "uikit/UIWindow.h"

struct CorvaneAppApplication : UIApplication {
    StrongRef<UIWindow> m_window;                   // "_window"
    StrongRef<RootViewController> m_viewController; // "_viewController"

    static Class class_();
};

// Where the panel's bundle is installed.
inline constexpr const char *kCVSettingsBundlePath =
    "/Library/PreferenceBundles/CV3Settings.bundle";
