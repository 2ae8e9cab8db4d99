#include "springboard-extension/home-screen/IconLists.h"

#include "objc/NSObject.h"
#include "quartzcore/CGGeometry.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/frame/Replacement.h"
#include "springboard-extension/home-screen/IconTransforms.h"
#include "springboard/SBIconCoordinate.h"

namespace {

using CountMethod = NSUInteger (*)(Class, SEL, NSInteger);

bool isPortrait(NSInteger orientation)
{
    return orientation == 1 || orientation == 2;
}

bool isLandscape(NSInteger orientation)
{
    return orientation == 3 || orientation == 4;
}

// The count methods take the portrait keys for orientations 1 and 2 only, so an unknown
// orientation (0 included) counts as landscape there.
NSUInteger columnsSetting(const CVIconListEntity &entity, bool portrait)
{
    return portrait ? entity.iconColumns : entity.iconColumnsLandscape;
}

NSUInteger rowsSetting(const CVIconListEntity &entity, bool portrait)
{
    return portrait ? entity.iconRows : entity.iconRowsLandscape;
}

NSUInteger settingOrPrevious(NSUInteger setting, CountMethod previous, Class self, SEL _cmd,
                             NSInteger orientation)
{
    return setting ? setting : previous(self, _cmd, orientation);
}

// The page counts are for page lists only: a dock or folder list class that reaches the
// page list's methods through its superclass keeps SpringBoard's count.
bool takesPageCounts(Class self)
{
    return self != gCVClasses.SBDockIconListView && self != gCVClasses.SBFolderIconListView;
}

// --- The dock ---

CountMethod orig_SBDockIconListView_iconColumnsForInterfaceOrientation;
NSUInteger SBDockIconListView_iconColumnsForInterfaceOrientation(Class self, SEL _cmd,
                                                                 NSInteger orientation)
{
    return settingOrPrevious(gCVIcons.dock.iconColumns,
                             orig_SBDockIconListView_iconColumnsForInterfaceOrientation, self, _cmd,
                             orientation);
}

CountMethod orig_SBDockIconListView_iconRowsForInterfaceOrientation;
NSUInteger SBDockIconListView_iconRowsForInterfaceOrientation(Class self, SEL _cmd,
                                                              NSInteger orientation)
{
    return settingOrPrevious(gCVIcons.dock.iconRows,
                             orig_SBDockIconListView_iconRowsForInterfaceOrientation, self, _cmd,
                             orientation);
}

NSUInteger (*orig_SBDockIconListView_iconColumnsOrRows)(Class, SEL);
NSUInteger SBDockIconListView_iconColumnsOrRows(Class self, SEL _cmd)
{
    NSUInteger rows = gCVIcons.dock.iconRows;
    return rows ? rows : orig_SBDockIconListView_iconColumnsOrRows(self, _cmd);
}

CGFloat (*orig_SBRootIconListView_sideIconInset)(id, SEL);
CGFloat SBRootIconListView_sideIconInset(id self, SEL _cmd);

CGFloat (*orig_SBDockIconListView_sideIconInset)(id, SEL);
// The dock's superclass while the dock only inherits sideIconInset, else nil.
Class g_dockSideInsetSuperclass;

// SpringBoard's dock inset before any page factor. A dock that only inherits the method
// reaches the page lists' replacement as its previous implementation, which has already
// applied the pages' factor; that replacement's own previous one has not.
CGFloat springBoardDockSideInset(id self, SEL _cmd)
{
    if (g_dockSideInsetSuperclass &&
        class_getMethodImplementation(g_dockSideInsetSuperclass, _cmd) ==
            reinterpret_cast<IMP>(SBRootIconListView_sideIconInset))
        return orig_SBRootIconListView_sideIconInset(self, _cmd);
    return orig_SBDockIconListView_sideIconInset(self, _cmd);
}

// The dock's factor is divided by the pages' factor, which the inherited inset already
// carries. A pages factor of 0 cannot be divided out; the dock then applies its own
// factor to SpringBoard's inset directly, which is what the division means for every
// other factor.
CGFloat SBDockIconListView_sideIconInset(id self, SEL _cmd)
{
    auto pages = static_cast<float>(gCVIcons.pages.sideInset);
    auto dock = static_cast<float>(gCVIcons.dock.sideInset);
    if (pages == 0.0f)
        return static_cast<float>(springBoardDockSideInset(self, _cmd)) * dock;
    return static_cast<float>(orig_SBDockIconListView_sideIconInset(self, _cmd)) * (dock / pages);
}

// --- The pages ---

CountMethod orig_SBRootIconListView_iconColumnsForInterfaceOrientation;
NSUInteger SBRootIconListView_iconColumnsForInterfaceOrientation(Class self, SEL _cmd,
                                                                 NSInteger orientation)
{
    NSUInteger columns = columnsSetting(gCVIcons.pages, isPortrait(orientation));
    return settingOrPrevious(takesPageCounts(self) ? columns : 0,
                             orig_SBRootIconListView_iconColumnsForInterfaceOrientation, self, _cmd,
                             orientation);
}

CountMethod orig_SBRootIconListView_iconRowsForInterfaceOrientation;
NSUInteger SBRootIconListView_iconRowsForInterfaceOrientation(Class self, SEL _cmd,
                                                              NSInteger orientation)
{
    NSUInteger rows = rowsSetting(gCVIcons.pages, isPortrait(orientation));
    return settingOrPrevious(takesPageCounts(self) ? rows : 0,
                             orig_SBRootIconListView_iconRowsForInterfaceOrientation, self, _cmd,
                             orientation);
}

CountMethod orig_SBRootIconListView_maxVisibleIconRowsInterfaceOrientation;
NSUInteger SBRootIconListView_maxVisibleIconRowsInterfaceOrientation(Class self, SEL _cmd,
                                                                     NSInteger orientation)
{
    NSUInteger rows = rowsSetting(gCVIcons.pages, isPortrait(orientation));
    return settingOrPrevious(takesPageCounts(self) ? rows : 0,
                             orig_SBRootIconListView_maxVisibleIconRowsInterfaceOrientation, self,
                             _cmd, orientation);
}

CGFloat SBRootIconListView_sideIconInset(id self, SEL _cmd)
{
    return static_cast<float>(orig_SBRootIconListView_sideIconInset(self, _cmd)) *
           static_cast<float>(gCVIcons.pages.sideInset);
}

// --- The folders ---

CountMethod orig_SBFolderIconListView_iconColumnsForInterfaceOrientation;
NSUInteger SBFolderIconListView_iconColumnsForInterfaceOrientation(Class self, SEL _cmd,
                                                                   NSInteger orientation)
{
    return settingOrPrevious(columnsSetting(gCVIcons.folders, isPortrait(orientation)),
                             orig_SBFolderIconListView_iconColumnsForInterfaceOrientation, self,
                             _cmd, orientation);
}

CountMethod orig_SBFolderIconListView_iconRowsForInterfaceOrientation;
NSUInteger SBFolderIconListView_iconRowsForInterfaceOrientation(Class self, SEL _cmd,
                                                                NSInteger orientation)
{
    return settingOrPrevious(rowsSetting(gCVIcons.folders, isPortrait(orientation)),
                             orig_SBFolderIconListView_iconRowsForInterfaceOrientation, self, _cmd,
                             orientation);
}

CountMethod orig_SBFolderIconListView_maxVisibleIconRowsInterfaceOrientation;
NSUInteger SBFolderIconListView_maxVisibleIconRowsInterfaceOrientation(Class self, SEL _cmd,
                                                                       NSInteger orientation)
{
    return settingOrPrevious(rowsSetting(gCVIcons.folders, isPortrait(orientation)),
                             orig_SBFolderIconListView_maxVisibleIconRowsInterfaceOrientation, self,
                             _cmd, orientation);
}

CGFloat (*orig_SBFolderIconListView_sideIconInset)(id, SEL);
CGFloat SBFolderIconListView_sideIconInset(id self, SEL _cmd)
{
    return static_cast<float>(orig_SBFolderIconListView_sideIconInset(self, _cmd)) *
           static_cast<float>(gCVIcons.folders.sideInset);
}

// --- Every list: origins and paddings ---

// The counts and vertical insets of the grid an origin is computed on. A count of 0
// leaves that axis to SpringBoard.
struct GridAxes {
    NSUInteger across; // icons in a row
    NSUInteger down;   // icons in a column
    float topInset;
    float bottomInset;
};

// A phone's dock in landscape stands upright: its columns run down the screen and its
// side inset is kept at both ends of them.
bool isUprightDock(id list)
{
    if (!list || object_getClass(list) != gCVClasses.SBDockIconListView)
        return false;
    id device = msg<id>(objc_getClass("UIDevice"), "currentDevice"_sel);
    id application = msg<id>(objc_getClass("UIApplication"), "sharedApplication"_sel);
    return msg<NSInteger>(device, "userInterfaceIdiom"_sel) == 0 &&
           !isPortrait(msg<NSInteger>(application, "statusBarOrientation"_sel));
}

GridAxes gridAxesFor(id list, NSUInteger columns, NSUInteger rows)
{
    if (isUprightDock(list)) {
        auto inset = static_cast<float>(msg<CGFloat>(list, "sideIconInset"_sel));
        if (columns)
            return {rows, columns, inset, inset};
        return {0, rows, inset, inset};
    }
    return {columns, rows, static_cast<float>(msg<CGFloat>(list, "topIconInset"_sel)),
            static_cast<float>(msg<CGFloat>(list, "bottomIconInset"_sel))};
}

// The x of column `column` (from 1) of `count` icons `iconSide` wide in a row `width`
// long: the free length is shared among two outer gaps of weight `sideWeight` and
// count − 1 inner gaps of weight `paddingWeight`. Weights that add up to nothing share
// nothing; the caller keeps SpringBoard's x then.
bool columnOrigin(float width, NSUInteger count, float iconSide, float sideWeight,
                  float paddingWeight, NSInteger column, float &x)
{
    auto n = static_cast<float>(count);
    float weights = (2.0f * sideWeight + (n - 1.0f) * paddingWeight) / (n + 1.0f);
    if (weights == 0.0f)
        return false;
    float gap = (width - n * iconSide) / (n + 1.0f);
    auto before = static_cast<float>(column - 1);
    x = before * iconSide + (gap * sideWeight) / weights +
        before * ((gap * paddingWeight) / weights);
    return true;
}

// The y of row `row` (from 1): the first row's top edge lies at the top inset, the
// others follow at equal gaps of `paddingWeight` times an equal share of the free height.
float rowOrigin(float height, NSUInteger count, float iconSide, float topInset, float bottomInset,
                float paddingWeight, NSInteger row)
{
    auto n = static_cast<float>(count);
    float freeHeight = height - n * iconSide - (topInset + bottomInset);
    float gap = (paddingWeight * freeHeight) / (n + 1.0f);
    auto before = static_cast<float>(row - 1);
    return topInset + before * iconSide + before * gap;
}

CGPoint (*orig_SBIconListView_originForIconAtCoordinate)(id, SEL, SBIconCoordinate);
CGPoint SBIconListView_originForIconAtCoordinate(id self, SEL _cmd, SBIconCoordinate coordinate)
{
    CGPoint origin = orig_SBIconListView_originForIconAtCoordinate(self, _cmd, coordinate);
    const CVIconListEntity &entity = entityForList(self);
    bool portrait = !isLandscape(msg<NSInteger>(self, "orientation"_sel));
    NSUInteger columns = portrait ? entity.iconColumns : entity.iconColumnsLandscape;
    NSUInteger rows = portrait ? entity.iconRows : entity.iconRowsLandscape;
    if (!columns && !rows)
        return origin;
    auto iconSide = static_cast<float>(msg<CGSize>(self, "defaultIconSize"_sel).width);
    GridAxes axes = gridAxesFor(self, columns, rows);
    CGSize size = msg<CGRect>(self, "frame"_sel).size;
    float x = 0;
    if (axes.across &&
        columnOrigin(static_cast<float>(size.width), axes.across, iconSide,
                     static_cast<float>(entity.sideInset),
                     static_cast<float>(entity.horizontalPadding), coordinate.col, x))
        origin.x = x;
    if (axes.down)
        origin.y =
            rowOrigin(static_cast<float>(size.height), axes.down, iconSide, axes.topInset,
                      axes.bottomInset, static_cast<float>(entity.verticalPadding), coordinate.row);
    return origin;
}

CGFloat (*orig_SBIconListView_verticalIconPadding)(id, SEL);
CGFloat SBIconListView_verticalIconPadding(id self, SEL _cmd)
{
    return static_cast<float>(orig_SBIconListView_verticalIconPadding(self, _cmd)) *
           static_cast<float>(entityForList(self).verticalPadding);
}

CGFloat (*orig_SBIconListView_horizontalIconPadding)(id, SEL);
CGFloat SBIconListView_horizontalIconPadding(id self, SEL _cmd)
{
    return static_cast<float>(orig_SBIconListView_horizontalIconPadding(self, _cmd)) *
           static_cast<float>(entityForList(self).horizontalPadding);
}

// --- Page dots and the pull-down Spotlight ---

// A dot given no image is not drawn; the page control still counts and pages as before.
id indicatorImage(id image)
{
    return gCVIcons.hidePageDots ? nil : image;
}

void (*orig_SBIconListPageControl_setIndicatorImageToEnabledIndex)(id, SEL, id, BOOL, NSInteger);
void SBIconListPageControl_setIndicatorImageToEnabledIndex(id self, SEL _cmd, id image,
                                                           BOOL enabled, NSInteger index)
{
    orig_SBIconListPageControl_setIndicatorImageToEnabledIndex(self, _cmd, indicatorImage(image),
                                                               enabled, index);
}

void (*orig_SBIconListPageControl_setIndicatorImageToEnabled)(id, SEL, id, BOOL);
void SBIconListPageControl_setIndicatorImageToEnabled(id self, SEL _cmd, id image, BOOL enabled)
{
    orig_SBIconListPageControl_setIndicatorImageToEnabled(self, _cmd, indicatorImage(image),
                                                          enabled);
}

// "disableSpotlightValue" 2 and 3 block the pull-down (3 also the page left of the icons).
BOOL (*orig_SBSearchScrollView_canScrollY)(id, SEL);
BOOL SBSearchScrollView_canScrollY(id self, SEL _cmd)
{
    if (gCVIcons.disableSpotlight || (gCVIcons.disableSpotlightValue & ~1u) == 2)
        return NO;
    return orig_SBSearchScrollView_canScrollY(self, _cmd);
}

// --- Installation, in the order of the group's table ---

void installDockGrid()
{
    Class dock = objc_getClass("SBDockIconListView");
    Class dockClass = object_getClass(dock);
    ReplaceMethod(dockClass, "iconColumnsForInterfaceOrientation:"_sel,
                  SBDockIconListView_iconColumnsForInterfaceOrientation,
                  &orig_SBDockIconListView_iconColumnsForInterfaceOrientation);
    ReplaceMethod(dockClass, "iconRowsForInterfaceOrientation:"_sel,
                  SBDockIconListView_iconRowsForInterfaceOrientation,
                  &orig_SBDockIconListView_iconRowsForInterfaceOrientation);
    ReplaceMethod(dockClass, "iconColumnsOrRows"_sel, SBDockIconListView_iconColumnsOrRows,
                  &orig_SBDockIconListView_iconColumnsOrRows);
    SEL sideInset = "sideIconInset"_sel;
    Class superclass = class_getSuperclass(dock);
    Method own = class_getInstanceMethod(dock, sideInset);
    bool inherits = own && own == class_getInstanceMethod(superclass, sideInset);
    g_dockSideInsetSuperclass = inherits ? superclass : nil;
    ReplaceMethod(dock, sideInset, SBDockIconListView_sideIconInset,
                  &orig_SBDockIconListView_sideIconInset);
}

void installPageGrid()
{
    Class page = objc_getClass("SBRootIconListView");
    Class pageClass = object_getClass(page);
    ReplaceMethod(pageClass, "iconColumnsForInterfaceOrientation:"_sel,
                  SBRootIconListView_iconColumnsForInterfaceOrientation,
                  &orig_SBRootIconListView_iconColumnsForInterfaceOrientation);
    ReplaceMethod(pageClass, "iconRowsForInterfaceOrientation:"_sel,
                  SBRootIconListView_iconRowsForInterfaceOrientation,
                  &orig_SBRootIconListView_iconRowsForInterfaceOrientation);
    ReplaceMethod(pageClass, "maxVisibleIconRowsInterfaceOrientation:"_sel,
                  SBRootIconListView_maxVisibleIconRowsInterfaceOrientation,
                  &orig_SBRootIconListView_maxVisibleIconRowsInterfaceOrientation);
    ReplaceMethod(page, "sideIconInset"_sel, SBRootIconListView_sideIconInset,
                  &orig_SBRootIconListView_sideIconInset);
}

void installFolderGrid()
{
    Class folder = objc_getClass("SBFolderIconListView");
    Class folderClass = object_getClass(folder);
    ReplaceMethod(folderClass, "iconColumnsForInterfaceOrientation:"_sel,
                  SBFolderIconListView_iconColumnsForInterfaceOrientation,
                  &orig_SBFolderIconListView_iconColumnsForInterfaceOrientation);
    ReplaceMethod(folderClass, "iconRowsForInterfaceOrientation:"_sel,
                  SBFolderIconListView_iconRowsForInterfaceOrientation,
                  &orig_SBFolderIconListView_iconRowsForInterfaceOrientation);
    ReplaceMethod(folderClass, "maxVisibleIconRowsInterfaceOrientation:"_sel,
                  SBFolderIconListView_maxVisibleIconRowsInterfaceOrientation,
                  &orig_SBFolderIconListView_maxVisibleIconRowsInterfaceOrientation);
    ReplaceMethod(folder, "sideIconInset"_sel, SBFolderIconListView_sideIconInset,
                  &orig_SBFolderIconListView_sideIconInset);
}

void installListLayout()
{
    Class list = objc_getClass("SBIconListView");
    ReplaceMethod(list, "originForIconAtCoordinate:"_sel, SBIconListView_originForIconAtCoordinate,
                  &orig_SBIconListView_originForIconAtCoordinate);
    InstallIconListTriggerReplacements();
    ReplaceMethod(list, "verticalIconPadding"_sel, SBIconListView_verticalIconPadding,
                  &orig_SBIconListView_verticalIconPadding);
    ReplaceMethod(list, "horizontalIconPadding"_sel, SBIconListView_horizontalIconPadding,
                  &orig_SBIconListView_horizontalIconPadding);
    AddUpdateIconsMethod();
}

void installPageDots()
{
    Class pageControl = objc_getClass("SBIconListPageControl");
    ReplaceMethod(pageControl, "_setIndicatorImage:toEnabled:index:"_sel,
                  SBIconListPageControl_setIndicatorImageToEnabledIndex,
                  &orig_SBIconListPageControl_setIndicatorImageToEnabledIndex);
    ReplaceMethod(pageControl, "_setIndicatorImage:toEnabled:"_sel,
                  SBIconListPageControl_setIndicatorImageToEnabled,
                  &orig_SBIconListPageControl_setIndicatorImageToEnabled);
}

} // namespace

CVIconListEntity &entityForList(id list)
{
    Class cls = object_getClass(list);
    if (cls && cls == gCVClasses.SBDockIconListView)
        return gCVIcons.dock;
    if (cls && cls == gCVClasses.SBFolderIconListView)
        return gCVIcons.folders;
    return gCVIcons.pages;
}

void IconListsInit()
{
    gCVIcons.changeCallback = applyIconListSettings;
    InstallCrossfadeReplacements();
    installDockGrid();
    installPageGrid();
    installFolderGrid();
    installListLayout();
    InstallDockScrollTrigger();
    installPageDots();
    ReplaceMethod(objc_getClass("SBSearchScrollView"), "_canScrollY"_sel,
                  SBSearchScrollView_canScrollY, &orig_SBSearchScrollView_canScrollY);
    InstallImageCrossfadeReplacement();
    AddCrossfadingStatusMethods();
}
