#pragma once
// SpringBoard's own measures of the home screen, for the device it runs on: how many
// columns and rows each kind of icon list has in an interface orientation, how large an
// icon is, how thick the dock is, and where pages, page dots and dock sit. These are the
// values SpringBoard answers when nothing replaces its methods; the methods themselves
// (SBIconListView and its kinds) are where the rest of the system asks, by message.
//
// A phone shows 4 columns and, in portrait, 6 rows on screens 667 points tall or taller,
// 5 on 568-point screens and 4 below; in landscape its pages turn to that many columns
// and 4 rows and its dock stands upright at the right edge. A pad shows 4 × 5 in
// portrait and 5 × 4 in landscape with the dock along the bottom. The dock holds four
// icons, a folder 3 × 3 on a phone and 4 × 4 on a pad. Icons are 60 points square on a
// phone and 76 on a pad, with their label below.

#include "quartzcore/CGGeometry.h"

#include <cstddef>

namespace sim {

enum class IconListKind { Root, Dock, Folder };

struct SpringBoardMetrics {
    static bool isPad();
    static bool isLandscape(long orientation);
    // The screen as the interface sees it in that orientation.
    static CGSize interfaceSize(long orientation);

    // The icon image, and the whole icon view (image and label below it).
    static CGFloat iconImageSide();
    static CGSize iconViewSize();
    static CGFloat labelFontSize();

    static CGFloat dockThickness();
    // A phone's dock stands upright in landscape, its icons one above the other.
    static bool dockIsVertical(long orientation);

    static unsigned long defaultColumns(IconListKind kind, long orientation);
    static unsigned long defaultRows(IconListKind kind, long orientation);
    static CGFloat topInset(IconListKind kind, long orientation);
    static CGFloat bottomInset(IconListKind kind, long orientation);
    // The inset at both ends of a line of icons `lineLength` long, chosen so that the
    // default number of icons leaves equal gaps between them and at the ends.
    static CGFloat sideInset(IconListKind kind, long orientation, CGFloat lineLength);

    // In the root folder view's space, which fills the interface.
    static CGRect pageFrame(long orientation);
    static CGRect dockFrame(long orientation);
    static CGRect pageControlFrame(long orientation);
    static CGFloat folderPanelSide();
};

} // namespace sim
