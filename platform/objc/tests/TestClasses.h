#pragma once
// Small classes the runtime tests build on: a base with a value, and a subclass.

#include "objc/ClassBuilder.h"

#include <string>

struct Animal : NSObject {
    int m_legs = 4;
    std::string m_name = "animal";
    double m_weight = 0;
    static inline int s_deallocs = 0;
    ~Animal() { ++s_deallocs; }
};

struct Dog : Animal {
    id m_friend = nil;
};

inline int animalLegs(Animal *self, SEL)
{
    return self->m_legs;
}

inline const char *animalSound(Animal *, SEL)
{
    return "...";
}

inline const char *dogSound(Dog *, SEL)
{
    return "woof";
}

inline int animalKingdomSize(id, SEL, int scale)
{
    return 1000 * scale;
}

// A new class under `superclass`, registered.
inline Class registeredSubclass(Class superclass, const char *name)
{
    Class cls = objc_allocateClassPair(superclass, name, 0);
    objc_registerClassPair(cls);
    return cls;
}

// Registers the test classes once per process; later calls answer the same classes.
inline void registerTestClasses()
{
    static bool done = [] {
        ClassBuilder<Animal>("Animal", "NSObject")
            .ivar("_legs", &Animal::m_legs)
            .ivar("_weight", &Animal::m_weight)
            .method("legs", animalLegs)
            .method("sound", animalSound)
            .classMethod("kingdomSizeTimes:", animalKingdomSize)
            .protocol("Walking")
            .registerClass();
        ClassBuilder<Dog>("Dog", "Animal").ivar("_friend", &Dog::m_friend).registerClass();
        return true;
    }();
    (void)done;
}

// The test class of that name, registering the test classes first: fixtures ask for their
// classes in member initialisers, which run before SetUp.
inline Class testClass(const char *name)
{
    registerTestClasses();
    return objc_getClass(name);
}
