#pragma once
// What the browser screen's tests share: a known phone (320 × 568 points, 2 pixels a
// point) on the virtual clock, and an application window whose settings navigation
// controller shows the sample panel (SamplePanel.h) as its first page, opened by a row
// named "Corvane", as the settings application shows its panel.

#include "SamplePanel.h"

#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/RunLoop.h"
#include "foundation/tests/Watchdog.h"
#include "preferences/PSRootController.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"
#include "uikit/tests/UIKitTest.h"

#include <gtest/gtest.h>

class BrowserScreenTest : public testing::Test {
protected:
    void SetUp() override
    {
        useTestPhone();
        sample::registerClasses();
        sample::panel() = {};
    }

    void TearDown() override
    {
        if (window)
            msg<void, BOOL>(window.get(), "setHidden:"_sel, YES);
    }

    // The window with a settings navigation controller as its root, key and visible, the
    // sample root page pushed, laid out.
    PSRootController *showPanel()
    {
        id made = msg<id>(UIWindow::class_(), "alloc"_sel);
        made = msg<id, CGRect>(made, "initWithFrame:"_sel, UIScreen::mainScreen()->bounds());
        window = StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(made));
        auto *controller = static_cast<PSRootController *>(
            autorelease(msg<id>(msg<id>(PSRootController::class_(), "alloc"_sel), "init"_sel)));
        msg<void>(window.get(), "setRootViewController:"_sel, controller);
        msg<void>(window.get(), "makeKeyAndVisible"_sel);
        msg<void, id, BOOL>(controller, "pushViewController:animated:"_sel, rootPage(controller),
                            NO);
        runOneTurn();
        return controller;
    }

    // One turn of the main run loop at the present instant: pending layout runs.
    static void runOneTurn() { sim::RunLoop::main().runInMode(sim::kDefaultMode, 0, false); }

    Watchdog watchdog{"browser screen test"};
    AutoreleasePool pool;
    StrongRef<UIWindow> window;

private:
    static id rootPage(PSRootController *controller)
    {
        id specifier =
            autorelease(msg<id>(msg<id>(PSSpecifier::class_(), "alloc"_sel), "init"_sel));
        msg<void>(specifier, "setName:"_sel, "Corvane"_ns);
        id page = msg<id>(objc_getClass("SampleRootPage"), "alloc"_sel);
        page = autorelease(msg<id, CGSize>(page, "initForContentSize:"_sel, CGSizeZero));
        msg<void>(page, "setRootController:"_sel, controller);
        msg<void>(page, "setParentController:"_sel, controller);
        msg<void>(page, "setSpecifier:"_sel, specifier);
        return page;
    }
};
