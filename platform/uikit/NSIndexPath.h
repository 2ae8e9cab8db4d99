#pragma once
// The position of a row in a table: its section and its row within the section. Index
// paths are values: two paths with the same section and row are -isEqual:, and a path
// is its own copy.

#include "objc/ClassBuilder.h"

struct NSIndexPath : NSObject {
    NSInteger m_section = 0;
    NSInteger m_row = 0;

    static Class class_();
    // Autoreleased.
    static NSIndexPath *indexPathForRowInSection(NSInteger row, NSInteger section);

    NSInteger section() const { return m_section; }
    NSInteger row() const { return m_row; }
};
