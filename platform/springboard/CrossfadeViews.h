#pragma once
// The views SpringBoard crossfades through when a folder opens or closes.
//
// SBZoomableCrossfadeView grows from a start view (the folder icon's image) to an end
// view (the open folder's panel), or shrinks back, showing pictures of both and fading
// from the one to the other on the way (crossfadeWithCompletion:). Its layout keeps both
// pictures filling it at every step.
//
// SBIconImageCrossfadeView sits inside the icon view for the same time, over the icon's
// image, fading that image out or in; prepareGeometry puts it where the image is.

#include "uikit/UIView.h"

#include <functional>

struct SBZoomableCrossfadeView : UIView {
    StrongRef<UIView> m_startView;
    StrongRef<UIView> m_endView;
    StrongRef<UIView> m_startPicture;
    StrongRef<UIView> m_endPicture;

    static Class class_();
};

struct SBIconImageCrossfadeView : UIView {
    StrongRef<UIView> m_iconImageView; // the image it crossfades

    static Class class_();
};

namespace sim {

inline constexpr double kFolderCrossfadeDuration = 0.3;

// A crossfade from `from` to `to`, in `container`'s space; the caller owns it.
SBZoomableCrossfadeView *createZoomableCrossfade(UIView *container, UIView *from, UIView *to);
// An image crossfade over the icon view's image, inside the icon view; the caller owns it.
SBIconImageCrossfadeView *createIconImageCrossfade(UIView *iconView, UIView *iconImageView);

void registerCrossfadeViewClasses();

} // namespace sim
