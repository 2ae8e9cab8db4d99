#pragma once
// The three kinds of icon list. Each answers its own grid through its class methods, so
// that whoever asks a kind's class gets that kind's counts:
//
//   SBRootIconListView    a home-screen page
//   SBDockIconListView    the dock, a kind of root list (it inherits what it does not say)
//   SBFolderIconListView  a page of an open folder
//
// The dock answers its count of icons as columns; +iconColumnsOrRows answers the number of
// places SpringBoard gives the dock, for code that asks the single count.

#include "springboard/SBIconListView.h"

struct SBRootIconListView : SBIconListView {
    static Class class_();
};

struct SBDockIconListView : SBRootIconListView {
    static Class class_();
};

struct SBFolderIconListView : SBIconListView {
    static Class class_();
};

namespace sim {
void registerIconListKindClasses();
} // namespace sim
