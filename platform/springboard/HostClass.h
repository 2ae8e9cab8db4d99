#pragma once
// Declaring SpringBoard's classes, generation by generation. A host class is declared
// once, in one block, with every selector and instance variable it has on any
// generation; `.onGenerations(…)` after an entry says on which generations that entry
// exists, and right after the class name it says which generations have the class at
// all:
//
//     HostClass<SBIconListPageControl>("SBIconListPageControl", "UIView")
//         .method("_setIndicatorImage:toEnabled:", setIndicatorImage).onGenerations(iOS7 | iOS8)
//         .method("_setIndicatorImage:toEnabled:index:", setIndicatorImageAtIndex)
//         .onGenerations(iOS9)
//         .registerClass();
//
// registerClass registers what the running generation has (a class it lacks is not
// registered at all, so objc_getClass answers nil for it, as on the phone) and remembers
// the class, so that SpringBoard can dispose of all of its classes when it ends inside a
// process that starts it again (disposeHostClasses). The next start then registers them
// afresh, with their original implementations, whatever an extension replaced.
//
// The C++ types behind host classes follow the platform's rules (ClassBuilder.h): they
// derive from the superclass's type, have no virtual functions, and their `class_()`
// answers the class registered now, by name, since it changes from one start to the next.

#include "objc/ClassBuilder.h"
#include "springboard/Generation.h"

#include <functional>
#include <vector>

namespace sim {

// Called by HostClass: remembers a registered host class.
void recordHostClass(Class cls);
// Every host class registered since the last disposal, in the order of registration.
std::vector<Class> hostClasses();
// Disposes of every remembered host class, the last registered first.
void disposeHostClasses();

} // namespace sim

template <class T> class HostClass {
public:
    HostClass(const char *name, const char *superclassName)
        : m_name(name), m_superclassName(superclassName)
    {
    }

    // Restricts the last entry declared, or the class when no entry is declared yet.
    HostClass &onGenerations(sim::Generations generations)
    {
        if (m_entries.empty())
            m_generations = generations;
        else
            m_entries.back().generations = generations;
        return *this;
    }

    template <class R, class Receiver, class... Args>
    HostClass &method(const char *selector, R (*implementation)(Receiver *, SEL, Args...))
    {
        return declare([=](ClassBuilder<T> &builder) { builder.method(selector, implementation); });
    }

    template <class R, class Receiver, class... Args>
    HostClass &classMethod(const char *selector, R (*implementation)(Receiver *, SEL, Args...))
    {
        return declare(
            [=](ClassBuilder<T> &builder) { builder.classMethod(selector, implementation); });
    }

    template <auto Member> HostClass &getter(const char *selector)
    {
        return declare(
            [=](ClassBuilder<T> &builder) { builder.template getter<Member>(selector); });
    }

    template <auto Member> HostClass &property(const char *selector)
    {
        return declare(
            [=](ClassBuilder<T> &builder) { builder.template property<Member>(selector); });
    }

    template <class M> HostClass &ivar(const char *name, M T::*member)
    {
        return declare([=](ClassBuilder<T> &builder) { builder.ivar(name, member); });
    }

    HostClass &protocol(const char *name)
    {
        return declare([=](ClassBuilder<T> &builder) { builder.protocol(name); });
    }

    // The class as the running generation has it, or Nil when it has none (or the
    // superclass is missing).
    Class registerClass()
    {
        sim::Generation running = sim::currentGeneration();
        if (!(m_generations & running))
            return Nil;
        ClassBuilder<T> builder(m_name, m_superclassName);
        for (const Entry &entry : m_entries)
            if (entry.generations & running)
                entry.add(builder);
        Class cls = builder.registerClass();
        if (cls)
            sim::recordHostClass(cls);
        return cls;
    }

private:
    struct Entry {
        sim::Generations generations;
        std::function<void(ClassBuilder<T> &)> add;
    };

    HostClass &declare(std::function<void(ClassBuilder<T> &)> add)
    {
        m_entries.push_back({sim::kAllGenerations, std::move(add)});
        return *this;
    }

    const char *m_name;
    const char *m_superclassName;
    sim::Generations m_generations = sim::kAllGenerations;
    std::vector<Entry> m_entries;
};
