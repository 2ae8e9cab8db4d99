#pragma once
// A folder view shows a folder's icon lists as pages of a paging scroll view, side by
// side, and is the scroll view's delegate. The home screen is a folder view too (the root
// folder view, SBRootFolderView.h); an open folder is a floaty folder view
// (SBFloatyFolderView.h).
//
// Pages: the scroll view's content holds `leading pages` that are not icon lists (the
// Spotlight page left of the home screen's first page on iOS 9), then one page per icon
// list; `_scrollOffsetForFirstListView` answers where the first icon list starts, and on
// iOS 9 `currentPageIndex` answers the icon list at the left edge of the view (−1 on a
// leading page) and `resetIconListViews` puts every list back in its page, untransformed.
//
// While the scroll view moves, the folder view keeps the wallpaper sampling of the folder
// icons on its lists up to date; the root folder view also moves its page dots.

#include "foundation/NSArray.h"
#include "uikit/UIScrollView.h"
#include "uikit/UITextField.h"

struct SBIconListView;

struct SBFolderView : UIView {
    StrongRef<UIScrollView> m_scrollView;
    StrongRef<NSMutableArray> m_iconListViews;
    StrongRef<UITextField> m_titleTextField; // nil for the home screen
    NSInteger m_leadingPageCount = 0;
    NSInteger m_orientation = 1;
    CGFloat m_laidOutPageWidth = 0; // the page width of the last layout
    bool m_isEditing = false;
    bool m_isScrolling = false;

    static Class class_();

    // Adds the lists as the folder's pages, after any already there.
    void addIconListViews(NSArray *lists);
    // The frame of page `index` of the scroll view's content (leading pages included).
    CGRect pageFrame(NSInteger index) const;
    // Where the scroll view rests with the icon list `index` in view.
    CGPoint offsetForIconList(NSInteger index) const;
    // The page position of the content offset in icon lists: 0 with the first list in
    // view, 1.5 halfway between the second and the third, negative on leading pages.
    CGFloat iconListPosition() const;
};

namespace sim {
void registerFolderViewClass();
} // namespace sim
