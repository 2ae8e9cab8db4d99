#pragma once
// Icon transforms: the size, cover flow, label and image alpha of every icon view of an
// icon list, set by one routine, updateIconsOfList. It gives each icon view's layer a
// sublayer transform (so the icon's image and label turn and shrink together while the
// view itself keeps its frame for SpringBoard's layout), shows or hides its label, and
// sets its image alpha. SpringBoard is made to call it after everything that may move
// or rebuild icons: layouts, orientation and frame changes, editing, visible-icon
// requests, and the scrolling of a scroll view inside the dock.
//
// Cover flow turns an icon about the vertical axis by its horizontal position p in the
// list (0 at the left edge, 1 at the right): the angle is (p − ½) × flowFactor radians,
// and the scale is 1.1 at the edges and "perspective" at p = 1 ÷ 1.9, near the middle.
// Icons right of the middle are lifted towards the viewer (m43 = 10000) so that they
// draw over their left neighbours as they turn; m34 gives the perspective, its sign
// flipped by "outside".
//
// Icon views that take part in one of SpringBoard's crossfades (a folder opening from
// its icon, a view zooming from an icon) are marked crossfading and keep identity
// transforms, so the crossfade's pictures line up with the icon; the update leaves them
// alone until they are unmarked. The mark is an associated object of the icon view,
// read and written by the two `_CV_CrossfadingStatus_` methods added to SBIconView.

#include "objc/objc.h"

// Sets the transforms, labels and image alpha of the list's icon views. With force NO
// and no list of any kind resizing or in cover flow, the sublayer transforms stay as
// they are. scrollOffset moves the icons' positions left (a scroll view in the dock).
void updateIconsOfList(id list, BOOL force, float scrollOffset);

// Marks the icon view that `crossfadeView` (an SBZoomableCrossfadeView) starts from as
// crossfading or not; marking it also puts its layer back to the identity.
void markCrossfading(id crossfadeView, BOOL crossfading);

// gCVIcons' change callback: forces the dock's icons up to date (they have no other
// trigger when every option is turned off) and has SpringBoard lay every list out again.
void applyIconListSettings();

// The installation steps of this group, each in the order of IconListsInit's table.
void InstallCrossfadeReplacements();
void InstallIconListTriggerReplacements();
void AddUpdateIconsMethod();
void InstallDockScrollTrigger();
void InstallImageCrossfadeReplacement();
void AddCrossfadingStatusMethods();
