#include "springboard/IconListKinds.h"

#include "springboard/HostClass.h"

namespace {

using sim::IconListKind;
using sim::SpringBoardMetrics;

Class classOfKind(IconListKind kind)
{
    switch (kind) {
    case IconListKind::Dock:
        return SBDockIconListView::class_();
    case IconListKind::Folder:
        return SBFolderIconListView::class_();
    case IconListKind::Root:
        break;
    }
    return SBRootIconListView::class_();
}

// Each kind's initializer says which kind the list is, for the measures it reads; the
// dock's runs after the root list's it inherits, so the dock has the last word.
template <IconListKind Kind> id initWithFrame(SBIconListView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(classOfKind(Kind), self, _cmd, frame))
        return nil;
    self->m_kind = Kind;
    return self;
}

template <IconListKind Kind> NSUInteger columns(id, SEL, NSInteger orientation)
{
    return SpringBoardMetrics::defaultColumns(Kind, orientation);
}

template <IconListKind Kind> NSUInteger rows(id, SEL, NSInteger orientation)
{
    return SpringBoardMetrics::defaultRows(Kind, orientation);
}

// The most rows a list shows at once is its count of rows, as the class answers it.
NSUInteger maxVisibleIconRows(Class self, SEL, NSInteger orientation)
{
    return msg<NSUInteger, NSInteger>(self, "iconRowsForInterfaceOrientation:"_sel, orientation);
}

// The dock's own count of places, whatever its class answers per orientation.
NSUInteger iconColumnsOrRows(Class, SEL)
{
    return SpringBoardMetrics::defaultColumns(IconListKind::Dock, 1);
}

} // namespace

Class SBRootIconListView::class_()
{
    return objc_getClass("SBRootIconListView");
}

Class SBDockIconListView::class_()
{
    return objc_getClass("SBDockIconListView");
}

Class SBFolderIconListView::class_()
{
    return objc_getClass("SBFolderIconListView");
}

namespace sim {

void registerIconListKindClasses()
{
    HostClass<SBRootIconListView>("SBRootIconListView", "SBIconListView")
        .method("initWithFrame:", initWithFrame<IconListKind::Root>)
        .classMethod("iconColumnsForInterfaceOrientation:", columns<IconListKind::Root>)
        .classMethod("iconRowsForInterfaceOrientation:", rows<IconListKind::Root>)
        .classMethod("maxVisibleIconRowsInterfaceOrientation:", maxVisibleIconRows)
        .registerClass();
    HostClass<SBDockIconListView>("SBDockIconListView", "SBRootIconListView")
        .method("initWithFrame:", initWithFrame<IconListKind::Dock>)
        .classMethod("iconColumnsForInterfaceOrientation:", columns<IconListKind::Dock>)
        .classMethod("iconRowsForInterfaceOrientation:", rows<IconListKind::Dock>)
        .classMethod("iconColumnsOrRows", iconColumnsOrRows)
        .registerClass();
    HostClass<SBFolderIconListView>("SBFolderIconListView", "SBIconListView")
        .method("initWithFrame:", initWithFrame<IconListKind::Folder>)
        .classMethod("iconColumnsForInterfaceOrientation:", columns<IconListKind::Folder>)
        .classMethod("iconRowsForInterfaceOrientation:", rows<IconListKind::Folder>)
        .classMethod("maxVisibleIconRowsInterfaceOrientation:", maxVisibleIconRows)
        .registerClass();
}

} // namespace sim
