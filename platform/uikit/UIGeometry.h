#pragma once
// UIKit's geometry additions: edge insets, as scroll views use them.

#include "quartzcore/CGGeometry.h"

#include <string>

struct UIEdgeInsets {
    CGFloat top, left, bottom, right;
};

inline constexpr UIEdgeInsets UIEdgeInsetsZero = {0, 0, 0, 0};

inline UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right)
{
    return {top, left, bottom, right};
}

namespace sim {
template <class T, class Enable> struct TypeEncoding;
template <> struct TypeEncoding<UIEdgeInsets, void> {
    static std::string get() { return "{UIEdgeInsets=dddd}"; }
};
} // namespace sim
