#pragma once
// Badges: the red disc with white digits at the top right of an icon. The badge view's
// class makes its two images, each by a class method, so that a replaced one changes
// every badge at once: `+_checkoutBackgroundImage` the disc (shared; the caller does not
// own it) and `+_createImageForText:highlighted:` the text (new; the caller owns it).
// Both are SBIconAccessoryImage, a UIImage that `initWithImage:` makes from any image.
// The disc is stretched behind text wider than itself.

#include "uikit/UIImageView.h"

struct SBIconAccessoryImage : UIImage {
    static Class class_();
};

struct SBIconBadgeView : UIView {
    StrongRef<UIImageView> m_backgroundView;
    StrongRef<UIImageView> m_textView;
    StrongRef<NSString> m_text;

    static Class class_();
    // The height of every badge, in points.
    static CGFloat badgeHeight();
};

namespace sim {
// The colours a badge shows, read back from its images: the disc's at its centre and the
// text's at its most opaque pixel, as 0–255 red, green, blue (not premultiplied).
struct BadgeColors {
    int background[3] = {0, 0, 0};
    int text[3] = {0, 0, 0};
    bool hasText = false; // some pixel of the text image is opaque enough to see
};
BadgeColors badgeColors(SBIconBadgeView *badge);

void registerBadgeClasses();
} // namespace sim
