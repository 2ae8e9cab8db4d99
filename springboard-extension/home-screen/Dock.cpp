#include "springboard-extension/home-screen/Dock.h"

#include "objc/NSObject.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/LazyClass.h"
#include "springboard-extension/frame/Replacement.h"

namespace {

LazyClass g_dockBackgroundViewClass("_SBDockBackgroundView");

void setIvarHidden(id object, const char *name, BOOL hidden)
{
    msg<void, BOOL>(CVGetIvar<id>(object, name), "setHidden:"_sel, hidden);
}

id (*orig_SBDockView_initWithDockListView_forSnapshot)(id, SEL, id, BOOL);
id SBDockView_initWithDockListView_forSnapshot(id self, SEL _cmd, id dockListView, BOOL snapshot)
{
    id dock = orig_SBDockView_initWithDockListView_forSnapshot(self, _cmd, dockListView, snapshot);
    if (!gCVDock.hideDock)
        return dock;
    objc_release(dock);
    return nil;
}

// Systems with their own band class keep the accessibility band as SpringBoard set it.
void setBackgroundHidden(id self, BOOL hidden)
{
    setIvarHidden(self, "_backgroundImageView", hidden);
    setIvarHidden(self, "_highlightView", hidden);
    if (g_dockBackgroundViewClass.get()) {
        setIvarHidden(self, "_backgroundView", hidden);
        return;
    }
    setIvarHidden(self, "_backgroundView", hidden);
    setIvarHidden(self, "_accessibilityBackgroundView", hidden);
    setIvarHidden(self, "_backgroundImageView", hidden);
}

void (*orig_SBDockView_layoutSubviews)(id, SEL);
void SBDockView_layoutSubviews(id self, SEL _cmd)
{
    orig_SBDockView_layoutSubviews(self, _cmd);
    setBackgroundHidden(self, gCVDock.hideBackground);
}

} // namespace

void DockInit()
{
    Class dock = objc_getClass("SBDockView");
    ReplaceMethod(dock, "initWithDockListView:forSnapshot:"_sel,
                  SBDockView_initWithDockListView_forSnapshot,
                  &orig_SBDockView_initWithDockListView_forSnapshot);
    ReplaceMethod(dock, "layoutSubviews"_sel, SBDockView_layoutSubviews,
                  &orig_SBDockView_layoutSubviews);
}
