#pragma once
// An open folder: a rounded panel in the middle of the screen, over a dimmed home screen,
// holding the folder's icons in pages of folder icon lists, with the folder's name above
// it in a text field.

#include "springboard/SBFolderView.h"
#include "springboard/SBIcon.h"

struct SBIconViewMap;

struct SBFloatyFolderView : SBFolderView {
    StrongRef<SBFolder> m_folder;
    StrongRef<UIView> m_panelView;

    static Class class_();
    // The open view of the folder, filling the interface; the caller owns it.
    static SBFloatyFolderView *create(SBFolder *folder, SBIconViewMap *map, NSInteger orientation);
};

namespace sim {
void registerFloatyFolderViewClass();
} // namespace sim
