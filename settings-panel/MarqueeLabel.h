#pragma once
// MarqueeLabel: a one-line label that keeps 10 points clear on each side and scrolls a
// text too wide for that space. Such a text is drawn once into an image 20 points wider
// than the text (its own margins), and the image moves left by what overflows, starting
// one second after the text was set, at 40 points per second, until the end of the text
// is in view. A text that fits is drawn as a label draws it, inside the margins.

#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

#include <string>

struct MarqueeLabel : UILabel {
    StrongRef<UIImageView> m_scrollingText; // while the text overflows
    std::string m_laidOutText;              // what the scrolling image was made for
    CGFloat m_laidOutWidth = -1;

    static Class class_();

    static constexpr CGFloat kMargin = 10;
    static constexpr NSTimeInterval kScrollDelay = 1.0;
    static constexpr CGFloat kScrollSpeed = 40; // points per second
};
