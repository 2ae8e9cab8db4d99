#pragma once
// An open folder: a rounded panel in the middle of the screen, over a dimmed home screen,
// holding the folder's icons in pages of folder icon lists, with the folder's name above
// it in a text field. The panel's backdrop is an SBFolderBackgroundView. Its gestures
// (`_configureGestures`, at creation and at every turn of the device): a tap beside the
// panel closes the folder; SpringBoard's pinch handler `_handlePinchGesture:` closes it
// for a pinch inward, for any pinch recognizer that targets it.

#include "springboard/SBFolderView.h"
#include "springboard/SBIcon.h"

struct SBIconViewMap;

struct SBFloatyFolderView : SBFolderView {
    StrongRef<SBFolder> m_folder;
    StrongRef<UIView> m_panelView; // SBFolderBackgroundView
    StrongRef<NSObject> m_outsideTap;

    static Class class_();
    // The open view of the folder, filling the interface; the caller owns it.
    static SBFloatyFolderView *create(SBFolder *folder, SBIconViewMap *map, NSInteger orientation);
};

namespace sim {
void registerFloatyFolderViewClass();
} // namespace sim
