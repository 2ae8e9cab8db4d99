#pragma once
// Unordered collections of distinct objects: two objects that are -isEqual: are one
// member. A set retains its members and never changes after it is made. Touches reach
// views as a set of UITouch objects, as on the phone. C++ code iterates a set with a
// range-for, in the order the members were added.

#include "objc/ClassBuilder.h"

#include <initializer_list>
#include <vector>

struct NSArray;

struct NSSet : NSObject {
    std::vector<StrongRef<objc_object>> m_members;

    static Class class_();
    static NSSet *set();
    static NSSet *setWithObject(id object);
    // The distinct objects of the list; nil entries are left out.
    static NSSet *setWithObjects(std::initializer_list<id> objects);
    static NSSet *setWithArray(const NSArray *array);

    NSUInteger count() const { return m_members.size(); }
    // One of the members (the first added), or nil for an empty set.
    id anyObject() const { return m_members.empty() ? nil : m_members.front().get(); }
    bool containsObject(id object) const;
    // The member equal to `object`, or nil.
    id member(id object) const;
    NSArray *allObjects() const;

    auto begin() const { return m_members.begin(); }
    auto end() const { return m_members.end(); }
};
