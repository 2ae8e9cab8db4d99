#pragma once
// Which view shows which icon. The home screen has one map: an icon list asks it for the
// views of its icons (mappedIconViewForIcon:), and the map makes a view the first time
// an icon needs one (iconViewForIcon:): a folder view for a folder icon, a plain icon
// view otherwise. A home screen holds a few dozen icons, so the map is a list scanned
// from the front.

#include "springboard/SBIconView.h"

#include <vector>

struct SBIconViewMap : NSObject {
    struct Entry {
        StrongRef<SBIcon> icon;
        StrongRef<SBIconView> view;
    };
    std::vector<Entry> m_entries;

    static Class class_();
    // The caller owns the answer.
    static SBIconViewMap *create();

    SBIconView *mappedIconViewForIcon(SBIcon *icon) const;
};

namespace sim {
void registerIconViewMapClass();
} // namespace sim
