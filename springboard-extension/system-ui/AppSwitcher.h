#pragma once
// The app switcher in its three generations: the iOS 7 app slider (AppSliderInit), the
// iOS 8 app switcher (AppSwitcherInit) and the iOS 9 card deck (DeckSwitcherInit). The
// extension's entry installs exactly one of them, for the running system; each replaces
// the methods its generation's SpringBoard classes offer and reads gCVAppSlider at the
// moment SpringBoard calls it, so a change shows the next time the switcher is built or
// laid out (the section has no change callback).
//
// What they change:
// - "appsMode": apps that are not running are shown as usual (0), left out of the
//   switcher (1), blurred (2) or darkened (3); a running app's page is never touched.
// - "homeAction": 1 makes the home screen's page removable and relaunches SpringBoard
//   when it is swiped away; other values but 0 only make it removable.
// - "pageScaleFactor": the size of the pages.
// - "hideIcons": no icons under the pages (and on iOS 9 no titles above the cards).

void AppSliderInit();
void AppSwitcherInit();
void DeckSwitcherInit();
