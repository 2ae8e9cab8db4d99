#include "springboard/Backdrop.h"

#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "quartzcore/CAFilter.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"

#include <nlohmann/json.hpp>

namespace {

namespace imp {

CGFloat blurRadius(_UIBackdropViewSettings *self, SEL)
{
    return self->m_blurRadius;
}

void setBlurRadius(_UIBackdropViewSettings *self, SEL, CGFloat radius)
{
    self->m_blurRadius = radius;
}

id backdropInitWithFrame(_UIBackdropView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(_UIBackdropView::class_(), self, _cmd, frame))
        return nil;
    self->m_inputSettings = StrongRef<_UIBackdropViewSettings>::adopt(
        sim::create<_UIBackdropViewSettings>(_UIBackdropViewSettings::class_()));
    self->m_colorTintView = sim::newView(UIView::class_(), CGRectZero);
    sim::addSubview(self, self->m_colorTintView);
    return self;
}

// The settings are read here, at every layout, so that what was set before the view
// appears shows in the frame that follows.
void backdropLayoutSubviews(_UIBackdropView *self, SEL)
{
    _UIBackdropViewSettings *settings = self->m_inputSettings;
    CAFilter *blur = CAFilter::filterWithName(NSString::stringWithString(sim::kBackdropBlurFilter));
    blur->setValueForKey(NSNumber::numberWithDouble(settings->m_blurRadius),
                         NSString::stringWithString(sim::kInputRadiusKey));
    msg<void, NSArray *>(msg<id>(self, "layer"_sel), "setFilters:"_sel,
                         NSArray::arrayWithObjects({blur}));
    sim::setFrame(self->m_colorTintView, self->bounds());
    msg<void, UIColor *>(self->m_colorTintView, "setBackgroundColor:"_sel, settings->m_colorTint);
    sim::setAlpha(self->m_colorTintView, settings->m_colorTintAlpha);
}

} // namespace imp

void dumpBackdrop(UIView *view, nlohmann::json &node)
{
    node.update(sim::backdropSettingsJson(static_cast<_UIBackdropView *>(view)->m_inputSettings));
}

} // namespace

Class _UIBackdropViewSettings::class_()
{
    return objc_getClass("_UIBackdropViewSettings");
}

Class _UIBackdropView::class_()
{
    return objc_getClass("_UIBackdropView");
}

StrongRef<_UIBackdropView> _UIBackdropView::create(CGFloat blurRadius, UIColor *tint,
                                                   CGFloat tintAlpha)
{
    auto backdrop = sim::newView<_UIBackdropView>(class_(), CGRectZero);
    _UIBackdropViewSettings *settings = backdrop->m_inputSettings;
    msg<void, CGFloat>(settings, "setBlurRadius:"_sel, blurRadius);
    msg<void, UIColor *>(settings, "setColorTint:"_sel, tint);
    msg<void, CGFloat>(settings, "setColorTintAlpha:"_sel, tintAlpha);
    return backdrop;
}

namespace sim {

nlohmann::json backdropSettingsJson(_UIBackdropViewSettings *settings)
{
    return {{"blurRadius", settings->m_blurRadius},
            {"colorTint", colorJson(settings->m_colorTint)},
            {"colorTintAlpha", settings->m_colorTintAlpha}};
}

void registerBackdropClasses()
{
    HostClass<_UIBackdropViewSettings>("_UIBackdropViewSettings", "NSObject")
        .ivar("_blurRadius", &_UIBackdropViewSettings::m_blurRadius)
        .ivar("_colorTint", &_UIBackdropViewSettings::m_colorTint)
        .ivar("_colorTintAlpha", &_UIBackdropViewSettings::m_colorTintAlpha)
        .method("blurRadius", imp::blurRadius)
        .method("setBlurRadius:", imp::setBlurRadius)
        .property<&_UIBackdropViewSettings::m_colorTint>("colorTint")
        .property<&_UIBackdropViewSettings::m_colorTintAlpha>("colorTintAlpha")
        .registerClass();
    HostClass<_UIBackdropView>("_UIBackdropView", "UIView")
        .ivar("_inputSettings", &_UIBackdropView::m_inputSettings)
        .ivar("_colorTintView", &_UIBackdropView::m_colorTintView)
        .method("initWithFrame:", imp::backdropInitWithFrame)
        .getter<&_UIBackdropView::m_inputSettings>("inputSettings")
        .method("layoutSubviews", imp::backdropLayoutSubviews)
        .registerClass();
    addViewDumpAttributes("_UIBackdropView", dumpBackdrop);
}

} // namespace sim
