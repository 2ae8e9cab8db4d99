#include "springboard/SBFolderIconView.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "uikit/UIApplication.h"

namespace {

// How much lighter than the wallpaper behind it the background is.
constexpr CGFloat kBackgroundLightening = 0.3;

namespace imp {

// A blurred background shows the wallpaper behind it, lightened; the wallpaper is a
// vertical gradient, so the height of the centre decides the tint. Unblurred, it is a
// plain translucent white.
void setWallpaperRelativeCenter(SBFolderIconBackgroundView *self, SEL, CGPoint center)
{
    self->m_wallpaperRelativeCenter = center;
    if (!msg<BOOL, id>(self, "wantsBlur:"_sel, nil))
        return msg<void, UIColor *>(self, "setBackgroundColor:"_sel,
                                    UIColor::colorWithWhiteAlpha(1, kBackgroundLightening));
    long orientation = UIApplication::sharedApplication()->statusBarOrientation();
    CGFloat height = sim::SpringBoardMetrics::interfaceSize(orientation).height;
    sim::RGBA wallpaper = sim::wallpaperColorAt(height > 0 ? center.y / height : 0);
    auto lighten = [](CGFloat component) {
        return component + (1 - component) * kBackgroundLightening;
    };
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel,
                         UIColor::colorWithRedGreenBlueAlpha(lighten(wallpaper.red),
                                                             lighten(wallpaper.green),
                                                             lighten(wallpaper.blue), 1));
}

BOOL wantsBlur(SBFolderIconBackgroundView *, SEL, id)
{
    return YES;
}

id initWithFrame(SBFolderIconView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBFolderIconView::class_(), self, _cmd, frame))
        return nil;
    CGFloat side = sim::SpringBoardMetrics::iconImageSide();
    self->m_backgroundView = sim::newView<SBFolderIconBackgroundView>(
        SBFolderIconBackgroundView::class_(), {{0, 0}, {side, side}});
    self->m_backgroundView->layer()->setCornerRadius(side * 0.225);
    msg<void, UIView *, NSInteger>(self, "insertSubview:atIndex:"_sel, self->m_backgroundView, 0);
    return self;
}

void setFloatyFolderCrossfadeFraction(SBFolderIconView *self, SEL, CGFloat fraction)
{
    self->m_floatyFolderCrossfadeFraction = fraction;
    sim::setAlpha(self->m_iconImageView, 1 - fraction);
}

} // namespace imp

} // namespace

Class SBFolderIconBackgroundView::class_()
{
    return objc_getClass("SBFolderIconBackgroundView");
}

Class SBFolderIconView::class_()
{
    return objc_getClass("SBFolderIconView");
}

void SBFolderIconView::followWallpaper()
{
    CGRect bounds = m_backgroundView->bounds();
    CGPoint middle = {bounds.origin.x + bounds.size.width / 2,
                      bounds.origin.y + bounds.size.height / 2};
    CGPoint onScreen = m_backgroundView->convertPointToView(middle, nil);
    msg<void, CGPoint>(m_backgroundView, "setWallpaperRelativeCenter:"_sel, onScreen);
}

namespace sim {

void registerFolderIconViewClasses()
{
    HostClass<SBFolderIconBackgroundView>("SBFolderIconBackgroundView", "UIView")
        .getter<&SBFolderIconBackgroundView::m_wallpaperRelativeCenter>("wallpaperRelativeCenter")
        .method("setWallpaperRelativeCenter:", imp::setWallpaperRelativeCenter)
        .method("wantsBlur:", imp::wantsBlur)
        .registerClass();
    HostClass<SBFolderIconView>("SBFolderIconView", "SBIconView")
        .ivar("_backgroundView", &SBFolderIconView::m_backgroundView)
        .method("initWithFrame:", imp::initWithFrame)
        .getter<&SBFolderIconView::m_backgroundView>("backgroundView")
        .getter<&SBFolderIconView::m_floatyFolderCrossfadeFraction>("floatyFolderCrossfadeFraction")
        .method("setFloatyFolderCrossfadeFraction:", imp::setFloatyFolderCrossfadeFraction)
        .registerClass();
}

} // namespace sim
