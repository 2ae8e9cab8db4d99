#pragma once
// A SpringBoard class that a feature group finds by name when it first needs it, not when
// the extension loads: some classes register later, and some exist only on some systems.
// A lookup that finds nothing is tried again at the next use; one that finds the class
// keeps it.

#include "objc/runtime.h"

class LazyClass {
public:
    explicit constexpr LazyClass(const char *name) : m_name(name) {}

    Class get()
    {
        if (!m_class)
            m_class = objc_getClass(m_name);
        return m_class;
    }

private:
    const char *m_name;
    Class m_class = nil;
};
