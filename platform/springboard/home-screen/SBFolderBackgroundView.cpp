#include "springboard/home-screen/SBFolderBackgroundView.h"

#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/ViewDumpAttributes.h"
#include "uikit/UIColor.h"

#include <nlohmann/json.hpp>

namespace {

constexpr CGFloat kCornerRadius = 36;

void applyStyle(SBFolderBackgroundView *self, bool dark)
{
    self->m_style = dark ? "dark" : "light";
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel,
                         dark ? UIColor::colorWithWhiteAlpha(0.05, 0.6)
                              : UIColor::colorWithWhiteAlpha(1, 0.3));
}

namespace imp {

id initWithFrame(SBFolderBackgroundView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBFolderBackgroundView::class_(), self, _cmd, frame))
        return nil;
    self->layer()->setCornerRadius(kCornerRadius);
    msg<void>(self, sim::runsIOS7_0() ? "_configureBackground"_sel
                                      : "_configureAccessibilityBackground"_sel);
    return self;
}

void configureBackground(SBFolderBackgroundView *self, SEL)
{
    applyStyle(self, false);
}

void configureAccessibilityBackground(SBFolderBackgroundView *self, SEL)
{
    applyStyle(self, msg<BOOL>(self, "_shouldUseDarkBackground"_sel));
}

BOOL shouldUseDarkBackground(SBFolderBackgroundView *, SEL)
{
    return NO;
}

} // namespace imp

void backgroundAttributes(UIView *view, nlohmann::json &node)
{
    node["backdrop"] = static_cast<SBFolderBackgroundView *>(view)->m_style;
}

} // namespace

Class SBFolderBackgroundView::class_()
{
    return objc_getClass("SBFolderBackgroundView");
}

namespace sim {

void registerFolderBackgroundViewClass()
{
    HostClass<SBFolderBackgroundView> background("SBFolderBackgroundView", "UIView");
    background.method("initWithFrame:", imp::initWithFrame);
    if (sim::runsIOS7_0())
        background.method("_configureBackground", imp::configureBackground);
    else
        background
            .method("_configureAccessibilityBackground", imp::configureAccessibilityBackground)
            .method("_shouldUseDarkBackground", imp::shouldUseDarkBackground);
    background.registerClass();
    addViewDumpAttributes("SBFolderBackgroundView", backgroundAttributes);
}

} // namespace sim
