#pragma once
// A folder's icon on the home screen. Behind its miniature grid sits a background view
// that shows the part of the wallpaper behind the icon, tinted: SpringBoard tells it
// where on the wallpaper it is (setWallpaperRelativeCenter:) whenever the icon moves,
// after a layout and at every scroll step of the pages. While the folder opens, the
// grid fades as the open folder grows out of it (setFloatyFolderCrossfadeFraction:).

#include "springboard/SBIconView.h"

struct SBFolderIconBackgroundView : UIView {
    CGPoint m_wallpaperRelativeCenter = CGPointZero;

    static Class class_();
};

struct SBFolderIconView : SBIconView {
    StrongRef<SBFolderIconBackgroundView> m_backgroundView;
    CGFloat m_floatyFolderCrossfadeFraction = 0;

    static Class class_();

    // Tells the background where on the screen (and so on the wallpaper) the icon is now.
    void followWallpaper();
};

namespace sim {
void registerFolderIconViewClasses();
} // namespace sim
