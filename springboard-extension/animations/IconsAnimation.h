#pragma once
// The page-scroll effects on the home screen. While a finger (or the deceleration after
// it) moves the pages, the folder view's scroll steps play the chosen effect on the one
// or two icon lists in view, each with its page-relative offset (0 in view, positive as
// it leaves to the left, negative while it comes in from the right); when the pages come
// to rest every page and icon goes back to rest. "Random" draws a new effect after every
// swipe that ends at rest. The folder icons' wallpaper sampling is kept on screen while
// pages are transformed, and on iOS 9 locking can return the home screen to its first
// page ("returnToFirstPage").
//
// Page numbers come from the scroll position. Before iOS 9 the pages start at offset 0
// and the left page is floor(x ÷ width), the right one ceil(x ÷ width), the same page
// when one is exactly in view. On iOS 9 the Spotlight page comes first, so x is taken
// from the first icon page's offset and SpringBoard's currentPageIndex names the left
// page, the right one following it. Page numbers are held in 8 bits, as SpringBoard's
// page counts never come near 255, so a page left of the first (−1) wraps and is skipped.

// Chooses the effect, follows live changes of "scrollAnimationType", and installs the
// scroll and wallpaper replacements (and on iOS 9 the lock handler).
void IconsAnimationInit();
