#include "springboard/home-screen/IconDragging.h"

#include "springboard/HostViews.h"

#include <cmath>
#include <limits>

namespace sim {
namespace {

id iconController()
{
    return msg<id>(objc_getClass("SBIconController"), "sharedInstance"_sel);
}

// The icon under the point, other than the grabbed one.
SBIcon *iconUnder(SBIconListView *list, SBIconView *grabbed, CGPoint point)
{
    for (id icon : *msg<NSArray *>(list, "visibleIcons"_sel)) {
        auto *view = msg<SBIconView *>(list->m_viewMap.get(), "mappedIconViewForIcon:"_sel, icon);
        if (view && view != grabbed && CGRectContainsPoint(view->frame(), point))
            return static_cast<SBIcon *>(icon);
    }
    return nil;
}

// The folder gains the icon; the list loses it and its view.
void moveIntoFolder(SBIconView *view, SBIconListView *list, SBIcon *folderIcon)
{
    StrongRef<SBIcon> icon(view->m_icon);
    auto *folder = msg<SBFolder *>(folderIcon, "folder"_sel);
    folder->m_icons->addObject(icon);
    list->m_icons->removeObject(icon);
    msg<void>(view, "removeFromSuperview"_sel);
    // The folder's miniature grid shows its new icon.
    folderIcon->m_image = nullptr;
    auto *folderView =
        msg<SBIconView *>(list->m_viewMap.get(), "mappedIconViewForIcon:"_sel, folderIcon);
    msg<void>(folderView, "_updateIconImageView"_sel);
    msg<void>(folderView, "_updateBadge"_sel);
}

NSUInteger nearestPlace(SBIconListView *list, CGPoint point, NSUInteger places)
{
    NSUInteger nearest = 0;
    CGFloat best = std::numeric_limits<CGFloat>::max();
    for (NSUInteger index = 0; index < places; ++index) {
        CGPoint center = centerOfPlace(list, index);
        CGFloat distance = std::hypot(center.x - point.x, center.y - point.y);
        if (distance < best) {
            best = distance;
            nearest = index;
        }
    }
    return nearest;
}

// The icon moves among the visible icons; hidden ones keep their places in the list.
void moveToPlace(SBIconListView *list, SBIcon *icon, NSUInteger place)
{
    NSArray *visible = msg<NSArray *>(list, "visibleIcons"_sel);
    id target = visible->objectAtIndex(place);
    if (target == icon)
        return;
    StrongRef<SBIcon> held(icon);
    list->m_icons->removeObject(icon);
    NSUInteger at = list->m_icons->indexOfObject(target);
    bool forward = visible->indexOfObject(icon) < place;
    list->m_icons->insertObjectAtIndex(icon, forward ? at + 1 : at);
}

} // namespace

CGPoint centerOfPlace(SBIconListView *list, NSUInteger index)
{
    auto coordinate = msg<SBIconCoordinate, NSUInteger, NSInteger>(
        list, "iconCoordinateForIndex:forOrientation:"_sel, index, list->m_orientation);
    CGPoint origin =
        msg<CGPoint, SBIconCoordinate>(list, "originForIconAtCoordinate:"_sel, coordinate);
    CGSize size = msg<CGSize>(list, "defaultIconSize"_sel);
    return {origin.x + size.width / 2, origin.y + size.height / 2};
}

void dropIconView(SBIconView *view, SBIconListView *list, CGPoint point)
{
    SBIcon *icon = view->m_icon;
    SBIcon *receiver = iconUnder(list, view, point);
    if (receiver && msg<BOOL>(receiver, "isFolderIcon"_sel) &&
        msg<BOOL, SBIcon *, SBIcon *>(iconController(), "icon:canReceiveGrabbedIcon:"_sel, receiver,
                                      icon))
        return moveIntoFolder(view, list, receiver);
    NSUInteger places = msg<NSArray *>(list, "visibleIcons"_sel)->count();
    if (places)
        moveToPlace(list, icon, nearestPlace(list, point, places));
}

} // namespace sim
