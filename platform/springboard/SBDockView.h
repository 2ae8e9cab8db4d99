#pragma once
// The dock: a translucent band along the bottom of the home screen (upright at the right
// edge of a phone in landscape) holding the dock's icon list, which fills it. The band is
// drawn by background views that the dock lays out at every layout pass:
//
//   _backgroundView               the translucent band; from iOS 8 a view of its own class,
//                                 _SBDockBackgroundView
//   _accessibilityBackgroundView  the plain grey band used when transparency is reduced;
//                                 this phone never reduces it, so the variable stays nil
//   _backgroundImageView          the soft shadow line along the band's outer edge
//   _highlightView                the bright line along the band's inner edge
//
// SpringBoard copes with no dock view at all (an initializer that answers nil): the home
// screen then has no dock, and the pages keep their height.

#include "springboard/IconListKinds.h"
#include "uikit/UIImageView.h"

struct SBDockView : UIView {
    StrongRef<SBIconListView> m_dockListView;
    StrongRef<UIView> m_backgroundView;
    StrongRef<UIView> m_accessibilityBackgroundView;
    StrongRef<UIImageView> m_backgroundImageView;
    StrongRef<UIView> m_highlightView;

    static Class class_();
};

namespace sim {
void registerDockViewClass();
} // namespace sim
