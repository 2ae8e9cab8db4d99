#pragma once
// What a navigation bar shows for one view controller: its title and its bar buttons.
// Every view controller has one (navigationItem). A change to the item while a bar shows
// it lays the bar out again.

#include "uikit/UIBarButtonItem.h"

struct UINavigationBar;

struct UINavigationItem : NSObject {
    StrongRef<NSString> m_title;
    StrongRef<UIBarButtonItem> m_leftBarButtonItem;
    StrongRef<UIBarButtonItem> m_rightBarButtonItem;
    StrongRef<UIBarButtonItem> m_backBarButtonItem; // shown by the next item's back button
    bool m_hidesBackButton = false;
    UINavigationBar *m_navigationBar = nil; // the bar showing the item; it holds the item

    static Class class_();
};
