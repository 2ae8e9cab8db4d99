#pragma once
// The dock: a translucent band along the bottom of the home screen (upright at the right
// edge of a phone in landscape) holding the dock's icon list, which fills it.

#include "springboard/IconListKinds.h"

struct SBDockView : UIView {
    StrongRef<SBIconListView> m_dockListView;
    StrongRef<UIView> m_backgroundView;

    static Class class_();
};

namespace sim {
void registerDockViewClass();
} // namespace sim
