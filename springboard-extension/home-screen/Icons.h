#pragma once
// How single icons look and behave on the home screen: the label font and size, the
// badges (their text, their colours, hidden altogether or only on folders), hidden
// applications, the "recently updated" dot, the Newsstand, an image effect over every
// icon image, and three locks: no deleting, no wiggling, no moving.
//
// Almost every option is read from gCVIcons whenever SpringBoard asks, so it acts at the
// next redraw or query. The label font and the recoloured badge background are built the
// first time they are needed and kept for the life of SpringBoard, so their options show
// after a respring.
//
// IconsInit installs the group; two pairs of replacements differ between iOS 7 and later
// systems (the updated mark) and between iOS 7.0 and later ones (the Newsstand).

void IconsInit();
