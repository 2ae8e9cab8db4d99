#pragma once
// An icon on screen: the icon's image with its name below. The view asks its icon for
// both (getIconImage:, displayName) when it is given one, and shows the icon's badge, and
// the blue dot of a recently updated application before the name. The label's font comes
// from an SBIconLabelImageParameters (`font`). Each part is redrawn by its own message
// (`_updateLabel`, `_updateIconImageView`, `_updateBadge`, `_updateUpdatedMark`), sent
// when the icon is set and whenever SpringBoard lays the home screen out again.
//
// While the home screen is being edited the icon view jitters (the class's two jitter
// animations, `+_jitterPositionAnimation` and `+_jitterTransformAnimation`, on its layer)
// and shows its close box when its icon `allowsUninstall`. A finger on a jittering icon
// grabs it: each move (`touchesMoved:withEvent:`) carries it along, and lifting the finger
// drops it (IconDragging.h).

#include "springboard/SBIcon.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

struct SBIconView : UIView {
    StrongRef<SBIcon> m_icon;
    StrongRef<UIImageView> m_iconImageView;
    StrongRef<UILabel> m_labelView;
    StrongRef<UIView> m_closeBox;
    StrongRef<UIView> m_badgeView; // SBIconBadgeView
    StrongRef<UIView> m_updatedMarkView;
    bool m_labelHidden = false;
    bool m_isJittering = false;
    bool m_updatedMarkHidden = true;
    // A grab in editing mode: where the finger holds the view, and whether it has moved.
    bool m_grabbed = false;
    bool m_dragged = false;
    CGPoint m_grabOffset = CGPointZero;

    static Class class_();
    // A view of the class (SBIconView or a subclass) of the default size showing the
    // icon; the caller owns it.
    static SBIconView *create(Class cls, SBIcon *icon);

    // Whether the view shows a badge, and the blue dot.
    bool showsBadge() const;
    bool showsUpdatedMark() const;
};

namespace sim {
void registerIconViewClass();
} // namespace sim
