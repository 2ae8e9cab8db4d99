#include "springboard/HostClass.h"

#include <mutex>

namespace {

std::mutex g_lock;

std::vector<Class> &registeredHostClasses()
{
    static std::vector<Class> classes;
    return classes;
}

} // namespace

namespace sim {

void recordHostClass(Class cls)
{
    std::lock_guard guard(g_lock);
    registeredHostClasses().push_back(cls);
}

std::vector<Class> hostClasses()
{
    std::lock_guard guard(g_lock);
    return registeredHostClasses();
}

void disposeHostClasses()
{
    std::vector<Class> classes;
    {
        std::lock_guard guard(g_lock);
        classes.swap(registeredHostClasses());
    }
    for (auto it = classes.rbegin(); it != classes.rend(); ++it)
        objc_disposeClassPair(*it);
}

} // namespace sim
