#pragma once
// An icon on screen: the icon's image with its name below. The view asks its icon for
// both (getIconImage:, displayName) when it is given one. While the home screen is being
// edited the icon view jitters (a slight turn) and shows its close box.

#include "springboard/SBIcon.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

struct SBIconView : UIView {
    StrongRef<SBIcon> m_icon;
    StrongRef<UIImageView> m_iconImageView;
    StrongRef<UILabel> m_labelView;
    StrongRef<UIView> m_closeBox;
    bool m_labelHidden = false;
    bool m_isJittering = false;

    static Class class_();
    // A view of the class (SBIconView or a subclass) of the default size showing the
    // icon; the caller owns it.
    static SBIconView *create(Class cls, SBIcon *icon);
};

namespace sim {
void registerIconViewClass();
} // namespace sim
