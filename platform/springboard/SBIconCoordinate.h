#pragma once
// Where an icon sits on an icon list's grid: its row and column, both counted from 1 at
// the top left. SpringBoard passes it by value to the list's layout methods
// (originForIconAtCoordinate:, iconCoordinateForIndex:forOrientation:), so code that
// replaces those methods needs the structure and its type encoding, and nothing else of
// the list.

#include "objc/TypeEncoding.h"
#include "objc/objc.h"

struct SBIconCoordinate {
    NSInteger row;
    NSInteger col;
};

namespace sim {
template <> struct TypeEncoding<SBIconCoordinate, void> {
    static std::string get() { return "{SBIconCoordinate=qq}"; }
};
} // namespace sim
