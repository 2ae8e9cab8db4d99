#pragma once
// What the application's tests share: a known phone (320 × 568 points, 2 pixels a point)
// on the virtual clock, the sample panel (SamplePanel.h) as the root page's class, and the
// application's window showing it, made as the application makes it.

#include "RootViewController.h"
#include "SamplePanel.h"

#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/RunLoop.h"
#include "foundation/tests/Watchdog.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"
#include "uikit/tests/UIKitTest.h"

#include <gtest/gtest.h>

class SettingsAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        useTestPhone();
        sample::registerClasses();
        sample::panel() = {};
        gCVRootListControllerClass = objc_getClass("SampleRootPage");
    }

    void TearDown() override
    {
        if (window)
            msg<void, BOOL>(window.get(), "setHidden:"_sel, YES);
        gCVRootListControllerClass = Nil;
    }

    // The window with a RootViewController as its root, key and visible, laid out.
    RootViewController *showPanel()
    {
        id made = msg<id>(UIWindow::class_(), "alloc"_sel);
        made = msg<id, CGRect>(made, "initWithFrame:"_sel, UIScreen::mainScreen()->bounds());
        window = StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(made));
        auto *controller = static_cast<RootViewController *>(
            autorelease(msg<id>(msg<id>(RootViewController::class_(), "alloc"_sel), "init"_sel)));
        msg<void>(window.get(), "setRootViewController:"_sel, controller);
        msg<void>(window.get(), "makeKeyAndVisible"_sel);
        runOneTurn();
        return controller;
    }

    // One turn of the main run loop at the present instant: pending layout runs.
    static void runOneTurn() { sim::RunLoop::main().runInMode(sim::kDefaultMode, 0, false); }

    Watchdog watchdog{"settings app test"};
    AutoreleasePool pool;
    StrongRef<UIWindow> window;
};
