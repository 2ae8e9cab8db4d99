#pragma once
// The backdrop of an open folder's panel: light translucent, or dark. It configures
// itself once, as it is made: on iOS 7.0 with `_configureBackground`, from iOS 7.1 with
// `_configureAccessibilityBackground`, which asks `_shouldUseDarkBackground` (NO on this
// phone) for the style. A backdrop that was never configured stays transparent.

#include "uikit/UIView.h"

struct SBFolderBackgroundView : UIView {
    // "none" until configured, then "light" or "dark".
    const char *m_style = "none";

    static Class class_();
};

namespace sim {
void registerFolderBackgroundViewClass();
} // namespace sim
