#include "springboard/SBIconListView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SBFolderIconView.h"
#include "springboard/home-screen/SBIconModel.h"
#include "uikit/UIApplication.h"

#include <algorithm>
#include <utility>

namespace {

using sim::SpringBoardMetrics;

CGFloat ask(SBIconListView *list, SEL selector)
{
    return msg<CGFloat>(list, selector);
}

NSUInteger columnsFor(SBIconListView *list, NSInteger orientation)
{
    return msg<NSUInteger, NSInteger>(object_getClass(list),
                                      "iconColumnsForInterfaceOrientation:"_sel, orientation);
}

NSUInteger rowsFor(SBIconListView *list, NSInteger orientation)
{
    return msg<NSUInteger, NSInteger>(object_getClass(list), "iconRowsForInterfaceOrientation:"_sel,
                                      orientation);
}

// The list's length along its lines of icons, and across them.
CGFloat lengthAlong(const SBIconListView *list)
{
    CGSize size = list->bounds().size;
    return list->isVertical() ? size.height : size.width;
}

CGFloat lengthAcross(const SBIconListView *list)
{
    CGSize size = list->bounds().size;
    return list->isVertical() ? size.width : size.height;
}

// The icon size along and across the lines, from the list's defaultIconSize.
CGSize iconAlongAndAcross(SBIconListView *list)
{
    CGSize size = msg<CGSize>(list, "defaultIconSize"_sel);
    return list->isVertical() ? CGSize{size.height, size.width} : size;
}

id iconController()
{
    return msg<id>(objc_getClass("SBIconController"), "sharedInstance"_sel);
}

namespace imp {

id initWithFrame(SBIconListView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBIconListView::class_(), self, _cmd, frame))
        return nil;
    self->m_icons = NSMutableArray::array();
    self->m_orientation = UIApplication::sharedApplication()->statusBarOrientation();
    return self;
}

NSArray *icons(SBIconListView *self, SEL)
{
    return NSArray::arrayWithArray(self->m_icons);
}

// Shows the icons, each in the view the map gives it, laid out at the next layout pass.
void setIcons(SBIconListView *self, SEL, NSArray *icons)
{
    self->m_icons = NSMutableArray::arrayWithArray(icons);
    for (id icon : *icons)
        sim::addSubview(self,
                        msg<SBIconView *>(self->m_viewMap.get(), "iconViewForIcon:"_sel, icon));
    msg<void>(self, "setNeedsLayout"_sel);
}

NSInteger orientation(SBIconListView *self, SEL)
{
    return self->m_orientation;
}

void setOrientation(SBIconListView *self, SEL, NSInteger orientation)
{
    self->m_orientation = orientation;
}

NSUInteger iconColumnsForCurrentOrientation(SBIconListView *self, SEL)
{
    return columnsFor(self, self->m_orientation);
}

NSUInteger iconRowsForCurrentOrientation(SBIconListView *self, SEL)
{
    return rowsFor(self, self->m_orientation);
}

CGSize defaultIconSize(SBIconListView *, SEL)
{
    return SpringBoardMetrics::iconViewSize();
}

CGFloat sideIconInset(SBIconListView *self, SEL)
{
    return SpringBoardMetrics::sideInset(self->m_kind, self->m_orientation, lengthAlong(self));
}

CGFloat topIconInset(SBIconListView *self, SEL)
{
    return SpringBoardMetrics::topInset(self->m_kind, self->m_orientation);
}

CGFloat bottomIconInset(SBIconListView *self, SEL)
{
    return SpringBoardMetrics::bottomInset(self->m_kind, self->m_orientation);
}

// The gap between neighbours in a line: what the two side insets and the icons leave of
// the line, shared equally.
CGFloat horizontalIconPadding(SBIconListView *self, SEL)
{
    auto columns =
        static_cast<CGFloat>(msg<NSUInteger>(self, "iconColumnsForCurrentOrientation"_sel));
    if (columns < 2)
        return 0;
    CGFloat used = 2 * ask(self, "sideIconInset"_sel) + columns * iconAlongAndAcross(self).width;
    return (lengthAlong(self) - used) / (columns - 1);
}

CGFloat verticalIconPadding(SBIconListView *self, SEL)
{
    auto rows = static_cast<CGFloat>(msg<NSUInteger>(self, "iconRowsForCurrentOrientation"_sel));
    if (rows < 2)
        return 0;
    CGFloat used = ask(self, "topIconInset"_sel) + ask(self, "bottomIconInset"_sel) +
                   rows * iconAlongAndAcross(self).height;
    return (lengthAcross(self) - used) / (rows - 1);
}

// An upright dock is a column: its icons go down the rows, one place per row.
SBIconCoordinate iconCoordinateForIndexForOrientation(SBIconListView *self, SEL, NSUInteger index,
                                                      NSInteger orientation)
{
    auto columns = static_cast<NSInteger>(std::max<NSUInteger>(columnsFor(self, orientation), 1));
    auto position = static_cast<NSInteger>(index);
    SBIconCoordinate coordinate{position / columns + 1, position % columns + 1};
    if (self->m_kind == sim::IconListKind::Dock && SpringBoardMetrics::dockIsVertical(orientation))
        std::swap(coordinate.row, coordinate.col);
    return coordinate;
}

CGPoint originForIconAtCoordinate(SBIconListView *self, SEL, SBIconCoordinate coordinate)
{
    bool vertical = self->isVertical();
    NSInteger place = vertical ? coordinate.row : coordinate.col;
    NSInteger line = vertical ? coordinate.col : coordinate.row;
    CGSize icon = iconAlongAndAcross(self);
    CGFloat along = ask(self, "sideIconInset"_sel) +
                    CGFloat(place - 1) * (icon.width + ask(self, "horizontalIconPadding"_sel));
    CGFloat across = ask(self, "topIconInset"_sel) +
                     CGFloat(line - 1) * (icon.height + ask(self, "verticalIconPadding"_sel));
    return vertical ? CGPoint{across, along} : CGPoint{along, across};
}

// The icons that fit on the grid: those the icon model shows, as many as the grid has
// places, in order.
NSArray *visibleIcons(SBIconListView *self, SEL)
{
    NSUInteger places = msg<NSUInteger>(self, "iconColumnsForCurrentOrientation"_sel) *
                        msg<NSUInteger>(self, "iconRowsForCurrentOrientation"_sel);
    SBIconModel *model = SBIconModel::shared();
    NSMutableArray *visible = NSMutableArray::array();
    for (id icon : *self->m_icons) {
        if (visible->count() >= places)
            break;
        if (!model || msg<BOOL, id>(model, "isIconVisible:"_sel, icon))
            visible->addObject(icon);
    }
    return visible;
}

void layoutIconsNow(SBIconListView *self, SEL)
{
    NSArray *visible = msg<NSArray *>(self, "visibleIcons"_sel);
    SBIconViewMap *map = msg<SBIconViewMap *>(self, "viewMap"_sel);
    NSArray *icons = NSArray::arrayWithArray(self->m_icons);
    for (id icon : *icons) {
        auto *view = msg<SBIconView *>(map, "mappedIconViewForIcon:"_sel, icon);
        bool shown = visible->containsObject(icon);
        sim::setHidden(view, !shown);
        if (!view || !shown)
            continue;
        // Visible icons close ranks over the hidden ones.
        NSUInteger index = visible->indexOfObject(icon);
        auto coordinate = msg<SBIconCoordinate, NSUInteger, NSInteger>(
            self, "iconCoordinateForIndex:forOrientation:"_sel, index, self->m_orientation);
        CGPoint origin =
            msg<CGPoint, SBIconCoordinate>(self, "originForIconAtCoordinate:"_sel, coordinate);
        CGSize size = view->bounds().size;
        msg<void, CGPoint>(view, "setCenter:"_sel,
                           {origin.x + size.width / 2, origin.y + size.height / 2});
        if (object_getClass(view) == SBFolderIconView::class_())
            static_cast<SBFolderIconView *>(view)->followWallpaper();
    }
}

// A layout with a duration animates the icons to their new places.
void layoutIconsIfNeededDomino(SBIconListView *self, SEL, NSTimeInterval duration, BOOL)
{
    if (duration <= 0)
        return msg<void>(self, "layoutIconsNow"_sel);
    StrongRef<SBIconListView> list(self);
    msg<void, NSTimeInterval, std::function<void()>>(
        UIView::class_(), "animateWithDuration:animations:"_sel, duration,
        [list] { msg<void>(list.get(), "layoutIconsNow"_sel); });
}

void layoutSubviews(SBIconListView *self, SEL)
{
    msg<void, NSTimeInterval, BOOL>(self, "layoutIconsIfNeeded:domino:"_sel, 0, NO);
}

// Jittering follows the home screen's editing mode.
void updateEditingStateForIconsAnimated(SBIconListView *self, SEL, NSArray *icons, BOOL)
{
    BOOL editing = msg<BOOL>(iconController(), "isEditing"_sel);
    SBIconViewMap *map = msg<SBIconViewMap *>(self, "viewMap"_sel);
    for (id icon : *icons)
        msg<void, BOOL>(msg<SBIconView *>(map, "mappedIconViewForIcon:"_sel, icon),
                        "setIsJittering:"_sel, editing);
}

} // namespace imp

} // namespace

Class SBIconListView::class_()
{
    return objc_getClass("SBIconListView");
}

SBIconListView *SBIconListView::create(Class cls, CGRect frame, SBIconViewMap *map, NSArray *icons)
{
    SBIconListView *list = sim::newView<SBIconListView>(cls, frame).leak();
    list->m_viewMap = map;
    msg<void, NSArray *>(list, "setIcons:"_sel, icons);
    return list;
}

bool SBIconListView::isVertical() const
{
    return m_kind == sim::IconListKind::Dock && SpringBoardMetrics::dockIsVertical(m_orientation);
}

namespace sim {

void registerIconListViewClass()
{
    HostClass<SBIconListView>("SBIconListView", "UIView")
        .ivar("_icons", &SBIconListView::m_icons)
        .ivar("_viewMap", &SBIconListView::m_viewMap)
        .ivar("_orientation", &SBIconListView::m_orientation)
        .method("initWithFrame:", imp::initWithFrame)
        .method("icons", imp::icons)
        .method("setIcons:", imp::setIcons)
        .getter<&SBIconListView::m_viewMap>("viewMap")
        .method("orientation", imp::orientation)
        .method("setOrientation:", imp::setOrientation)
        .method("iconColumnsForCurrentOrientation", imp::iconColumnsForCurrentOrientation)
        .method("iconRowsForCurrentOrientation", imp::iconRowsForCurrentOrientation)
        .method("defaultIconSize", imp::defaultIconSize)
        .method("sideIconInset", imp::sideIconInset)
        .method("topIconInset", imp::topIconInset)
        .method("bottomIconInset", imp::bottomIconInset)
        .method("horizontalIconPadding", imp::horizontalIconPadding)
        .method("verticalIconPadding", imp::verticalIconPadding)
        .method("iconCoordinateForIndex:forOrientation:", imp::iconCoordinateForIndexForOrientation)
        .method("originForIconAtCoordinate:", imp::originForIconAtCoordinate)
        .method("visibleIcons", imp::visibleIcons)
        .method("layoutIconsNow", imp::layoutIconsNow)
        .method("layoutIconsIfNeeded:domino:", imp::layoutIconsIfNeededDomino)
        .method("layoutSubviews", imp::layoutSubviews)
        .method("_updateEditingStateForIcons:animated:", imp::updateEditingStateForIconsAnimated)
        .registerClass();
}

} // namespace sim
