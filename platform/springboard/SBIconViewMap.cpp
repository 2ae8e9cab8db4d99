#include "springboard/SBIconViewMap.h"

#include "springboard/HostClass.h"
#include "springboard/SBFolderIconView.h"
#include "springboard/SBIconController.h"

namespace {

namespace imp {

SBIconView *mappedIconViewForIcon(SBIconViewMap *self, SEL, SBIcon *icon)
{
    return self->mappedIconViewForIcon(icon);
}

SBIconView *iconViewForIcon(SBIconViewMap *self, SEL, SBIcon *icon)
{
    if (!icon)
        return nil;
    if (SBIconView *mapped = self->mappedIconViewForIcon(icon))
        return mapped;
    Class viewClass =
        msg<BOOL>(icon, "isFolderIcon"_sel) ? SBFolderIconView::class_() : SBIconView::class_();
    auto view = StrongRef<SBIconView>::adopt(SBIconView::create(viewClass, icon));
    self->m_entries.push_back({icon, view});
    return view;
}

// SpringBoard's own map of the home screen, kept by the icon controller.
SBIconViewMap *homescreenMap(id, SEL)
{
    auto *controller = msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
    return controller ? controller->m_iconViewMap.get() : nil;
}

} // namespace imp

} // namespace

Class SBIconViewMap::class_()
{
    return objc_getClass("SBIconViewMap");
}

SBIconViewMap *SBIconViewMap::create()
{
    return sim::create<SBIconViewMap>(class_());
}

SBIconView *SBIconViewMap::mappedIconViewForIcon(SBIcon *icon) const
{
    for (const Entry &entry : m_entries)
        if (entry.icon.get() == icon)
            return entry.view;
    return nil;
}

namespace sim {

void registerIconViewMapClass()
{
    HostClass<SBIconViewMap>("SBIconViewMap", "NSObject")
        .method("mappedIconViewForIcon:", imp::mappedIconViewForIcon)
        .method("iconViewForIcon:", imp::iconViewForIcon)
        .classMethod("homescreenMap", imp::homescreenMap)
        .onGenerations(iOS7 | iOS8)
        .registerClass();
}

} // namespace sim
