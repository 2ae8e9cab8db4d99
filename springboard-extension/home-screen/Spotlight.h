#pragma once
// iOS 9's Spotlight sections: Siri suggestions (section 0), nearby (1) and news (2) can
// each be hidden: a hidden section has no rows and an empty header of zero size. Later
// sections are always SpringBoard's. The pull-down itself is switched off by the icon-list
// group (`_canScrollY`, IconLists.h), the left Spotlight page by the page-scroll hooks.
//
// SpotlightInit installs the group; the extension's entry calls it on iOS 9 only.

void SpotlightInit();
