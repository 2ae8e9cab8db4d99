#pragma once
// Folder controllers own a folder's view: the root folder controller owns the home
// screen (its contentView is the SBRootFolderView), a plain folder controller the view
// of an open folder.

#include "springboard/SBFolderView.h"
#include "springboard/SBIcon.h"

struct SBFolderController : NSObject {
    StrongRef<SBFolder> m_folder;
    StrongRef<SBFolderView> m_contentView;

    static Class class_();
    // The caller owns the answer.
    static SBFolderController *create(Class cls, SBFolder *folder, SBFolderView *view);
};

struct SBRootFolderController : SBFolderController {
    static Class class_();
};

namespace sim {
void registerFolderControllerClasses();
} // namespace sim
