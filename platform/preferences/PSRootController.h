#pragma once
// The navigation controller of a settings application: the pages are pushed on it.
// contentView answers its view; lastController is another name for topViewController.

#include "uikit/UINavigationController.h"

struct PSRootController : UINavigationController {
    StrongRef<NSString> m_identifier;

    static Class class_();
};
