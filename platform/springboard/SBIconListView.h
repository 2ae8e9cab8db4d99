#pragma once
// Icon lists: one page of the home screen, the dock, a page of a folder. A list places
// its icons on a grid of columns and rows, counted from 1 at the top left, filled row
// after row; the counts come from the list's class (+iconColumnsForInterfaceOrientation:,
// +iconRowsForInterfaceOrientation:), and the place of each icon from the list's insets
// and paddings.
//
// Every step of the layout is a message, sent by the list to itself or its class, so a
// replaced method changes what SpringBoard draws: layoutIconsNow asks visibleIcons which
// icons fit, iconCoordinateForIndex:forOrientation: where each goes, and
// originForIconAtCoordinate: where that is; the origin asks defaultIconSize,
// sideIconInset, topIconInset, horizontalIconPadding and verticalIconPadding; the
// paddings ask the counts and insets. With s the side inset, t the top inset, (w, h) the
// icon size and p, q the horizontal and vertical paddings,
//
//     origin(row r, column c) = (s + (c − 1)(w + p), t + (r − 1)(h + q)),
//     p = (width − 2s − columns·w) / (columns − 1),
//     q = (height − t − bottom inset − rows·h) / (rows − 1)     (0 for a single line).
//
// A phone's dock in landscape runs upright: its columns go down the screen, so the roles
// of x and y (and of width and height) swap in all of the above, and its coordinates
// count the places down the dock as rows (row r, column 1 is the r-th place).

#include "springboard/SBIconCoordinate.h"
#include "springboard/SBIconViewMap.h"
#include "springboard/SpringBoardMetrics.h"

struct SBIconListView : UIView {
    StrongRef<NSMutableArray> m_icons;
    StrongRef<SBIconViewMap> m_viewMap;
    NSInteger m_orientation = 1;
    sim::IconListKind m_kind = sim::IconListKind::Root; // set by each kind's initializer

    static Class class_();
    // A list of the class (one of the kinds) showing the icons through the map; the caller
    // owns it.
    static SBIconListView *create(Class cls, CGRect frame, SBIconViewMap *map, NSArray *icons);

    // The dock of a phone in landscape.
    bool isVertical() const;
};

namespace sim {
// The base class; the kinds are registered by registerIconListKindClasses.
void registerIconListViewClass();
} // namespace sim
