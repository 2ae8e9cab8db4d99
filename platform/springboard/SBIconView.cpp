#include "springboard/SBIconView.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "uikit/UIFont.h"

namespace {

// The image format of icons on the home screen.
constexpr int kHomeScreenImageFormat = 2;
// The turn of a jittering icon, in radians.
constexpr CGFloat kJitterAngle = 0.035;
constexpr CGFloat kCloseBoxSide = 22;

using sim::SpringBoardMetrics;

namespace imp {

id initWithFrame(SBIconView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBIconView::class_(), self, _cmd, frame))
        return nil;
    CGFloat side = SpringBoardMetrics::iconImageSide();
    CGFloat labelHeight = SpringBoardMetrics::iconViewSize().height - side;
    self->m_iconImageView =
        sim::newView<UIImageView>(UIImageView::class_(), {{0, 0}, {side, side}});
    sim::addSubview(self, self->m_iconImageView);
    // The label may be wider than the icon: long names spread beyond it.
    self->m_labelView =
        sim::newLabel({{-side / 6, side}, {side * 4 / 3, labelHeight}}, nil,
                      UIFont::systemFontOfSize(SpringBoardMetrics::labelFontSize()));
    sim::addSubview(self, self->m_labelView);
    self->m_closeBox = sim::newView(UIView::class_(), {{-kCloseBoxSide / 3, -kCloseBoxSide / 3},
                                                       {kCloseBoxSide, kCloseBoxSide}});
    msg<void, UIColor *>(self->m_closeBox, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(0.2, 0.8));
    self->m_closeBox->layer()->setCornerRadius(kCloseBoxSide / 2);
    sim::setHidden(self->m_closeBox, true);
    sim::addSubview(self, self->m_closeBox);
    return self;
}

id initWithDefaultSize(SBIconView *self, SEL)
{
    return msg<id, CGRect>(self, "initWithFrame:"_sel,
                           {{0, 0}, SpringBoardMetrics::iconViewSize()});
}

SBIcon *icon(SBIconView *self, SEL)
{
    return self->m_icon;
}

void setIcon(SBIconView *self, SEL, SBIcon *icon)
{
    self->m_icon = icon;
    msg<void, UIImage *>(self->m_iconImageView, "setImage:"_sel,
                         msg<UIImage *, int>(icon, "getIconImage:"_sel, kHomeScreenImageFormat));
    msg<void, NSString *>(self->m_labelView, "setText:"_sel,
                          msg<NSString *>(icon, "displayName"_sel));
}

UIImageView *iconImageView(SBIconView *self, SEL)
{
    return self->m_iconImageView;
}

UILabel *labelView(SBIconView *self, SEL)
{
    return self->m_labelView;
}

BOOL isLabelHidden(SBIconView *self, SEL)
{
    return self->m_labelHidden;
}

void setLabelHidden(SBIconView *self, SEL, BOOL hidden)
{
    self->m_labelHidden = hidden;
    sim::setHidden(self->m_labelView, hidden);
}

CGFloat iconImageAlpha(SBIconView *self, SEL)
{
    return self->m_iconImageView->alpha();
}

void setIconImageAlpha(SBIconView *self, SEL, CGFloat alpha)
{
    sim::setAlpha(self->m_iconImageView, alpha);
}

BOOL isJittering(SBIconView *self, SEL)
{
    return self->m_isJittering;
}

// Folders cannot be deleted from the home screen, so only application icons show a close
// box.
void setIsJittering(SBIconView *self, SEL, BOOL jittering)
{
    self->m_isJittering = jittering;
    bool removable = !msg<BOOL>(self->m_icon.get(), "isFolderIcon"_sel);
    sim::setHidden(self->m_closeBox, !(jittering && removable));
    msg<void, CGAffineTransform>(self, "setTransform:"_sel,
                                 jittering ? CGAffineTransformMakeRotation(kJitterAngle)
                                           : CGAffineTransformIdentity);
}

} // namespace imp

} // namespace

Class SBIconView::class_()
{
    return objc_getClass("SBIconView");
}

SBIconView *SBIconView::create(Class cls, SBIcon *icon)
{
    auto *view =
        static_cast<SBIconView *>(msg<id>(msg<id>(cls, "alloc"_sel), "initWithDefaultSize"_sel));
    msg<void, SBIcon *>(view, "setIcon:"_sel, icon);
    return view;
}

namespace sim {

void registerIconViewClass()
{
    HostClass<SBIconView>("SBIconView", "UIView")
        .ivar("_icon", &SBIconView::m_icon)
        .ivar("_iconImageView", &SBIconView::m_iconImageView)
        .ivar("_labelView", &SBIconView::m_labelView)
        .ivar("_closeBox", &SBIconView::m_closeBox)
        .ivar("_isJittering", &SBIconView::m_isJittering)
        .method("initWithFrame:", imp::initWithFrame)
        .method("initWithDefaultSize", imp::initWithDefaultSize)
        .method("icon", imp::icon)
        .method("setIcon:", imp::setIcon)
        .method("_iconImageView", imp::iconImageView)
        .method("labelView", imp::labelView)
        .method("isLabelHidden", imp::isLabelHidden)
        .method("setLabelHidden:", imp::setLabelHidden)
        .method("iconImageAlpha", imp::iconImageAlpha)
        .method("setIconImageAlpha:", imp::setIconImageAlpha)
        .method("isJittering", imp::isJittering)
        .method("setIsJittering:", imp::setIsJittering)
        .registerClass();
}

} // namespace sim
