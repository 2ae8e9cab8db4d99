#pragma once
// The settings application's navigation stack: a settings navigation controller whose
// first page is the panel's root page, made from the class the panel's bundle names as
// its principal class.

#include "preferences/PSListController.h"
#include "preferences/PSRootController.h"

// The class of the panel's root page: the principal class of the panel's bundle once the
// application has loaded it; nil before, or when the bundle could not be loaded.
extern Class gCVRootListControllerClass;

struct RootViewController : PSRootController {
    StrongRef<PSListController> m_rootListController; // "_rootListController"

    static Class class_();
};
