#pragma once
// The base of every settings page: a view controller that knows the row that opened it
// (specifier, retained), the navigation controller of the settings (rootController) and
// the page it was opened from (parentController); neither of those two is retained,
// since they hold the page. initForContentSize: is the initializer pages are made with.

#include "preferences/PSSpecifier.h"
#include "uikit/UIViewController.h"

struct PSViewController : UIViewController {
    StrongRef<PSSpecifier> m_specifier;
    id m_rootController = nil;
    id m_parentController = nil;

    static Class class_();
};
