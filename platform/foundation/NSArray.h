#pragma once
// Ordered collections of objects. An array retains what it holds; NSArray never changes
// after it is made, NSMutableArray may. C++ code iterates an array with a range-for.
//
// Asking for an index past the end is a programming error on the platform (an exception
// that ends the process); here it stops loudly with the same message.

#include "objc/ClassBuilder.h"

#include <initializer_list>
#include <vector>

struct NSArray : NSObject {
    std::vector<StrongRef<objc_object>> m_objects;

    static Class class_();
    static NSArray *array();
    static NSArray *arrayWithObjects(std::initializer_list<id> objects);
    static NSArray *arrayWithArray(const NSArray *other);

    NSUInteger count() const { return m_objects.size(); }
    id objectAtIndex(NSUInteger index) const;
    id firstObject() const { return m_objects.empty() ? nil : m_objects.front().get(); }
    id lastObject() const { return m_objects.empty() ? nil : m_objects.back().get(); }
    bool containsObject(id object) const;
    // The first index whose object isEqual: the argument, or NSNotFound.
    NSUInteger indexOfObject(id object) const;

    auto begin() const { return m_objects.begin(); }
    auto end() const { return m_objects.end(); }
};

struct NSMutableArray : NSArray {
    static Class class_();
    static NSMutableArray *array();
    static NSMutableArray *arrayWithArray(const NSArray *other);

    void addObject(id object);
    void insertObjectAtIndex(id object, NSUInteger index);
    void removeObjectAtIndex(NSUInteger index);
    // Removes every object that isEqual: the argument.
    void removeObject(id object);
    void removeAllObjects() { m_objects.clear(); }
};

inline constexpr NSUInteger NSNotFound = 0x7fffffffffffffffUL;

namespace sim {
// Whether two objects are equal by -isEqual: (nil equals only nil).
bool objectsEqual(id a, id b);
[[noreturn]] void rangeError(const char *function, NSUInteger index, NSUInteger count);
} // namespace sim
