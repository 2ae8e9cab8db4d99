#pragma once
// The page dots under the home screen's pages: one dot per page, the current one bright.
// Each dot is an image view that gets its image from the page control's indicator
// method, sent once per dot whenever the count or the current page changes; an indicator
// method that hands over no image view leaves that dot without an image, and so unseen.
// iOS 7 and 8 name the indicator method `_setIndicatorImage:toEnabled:`, iOS 9 adds the
// dot's index (`_setIndicatorImage:toEnabled:index:`).

#include "uikit/UIImageView.h"

#include <vector>

struct SBIconListPageControl : UIView {
    NSInteger m_numberOfPages = 0;
    NSInteger m_currentPage = 0;
    std::vector<StrongRef<UIImageView>> m_indicators;
    StrongRef<UIImage> m_pageImage;
    StrongRef<UIImage> m_currentPageImage;

    static Class class_();
};

namespace sim {
void registerPageControlClass();
} // namespace sim
