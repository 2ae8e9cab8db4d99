// Classes that go away: which library's code defines a class, so that a host unloading a
// library can dispose of the classes it registered, and freeing a disposed class once
// nothing refers to it any more. A disposed class leaves the registry at once; its memory
// goes when its last instance is gone and every subclass has gone before it, because
// until then objects and subclasses still reach it through `isa` and `superclass`.

#include "objc/ClassData.h"
#include "objc/RuntimeLocks.h"
#include "objc/RuntimeMemory.h"
#include "objc/runtime.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <unordered_set>

namespace sim {

namespace {

// The library holding `code`, or "" when it lies in none.
std::string imageHolding(const void *code)
{
    Dl_info info{};
    if (!code || dladdr(code, &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}

// Code of the class's own: a method it was built with, or the C++ constructor of its own
// type (one it did not inherit). Needs runtimeLock.
const void *ownCode(Class cls)
{
    for (Class side : {cls, cls->isa})
        if (!side->data->methods.empty())
            return reinterpret_cast<const void *>(
                side->data->methods.begin()->second->implementation.load());
    Constructor inherited = cls->superclass ? cls->superclass->data->construct : nullptr;
    if (cls->data->construct && cls->data->construct != inherited)
        return reinterpret_cast<const void *>(cls->data->construct);
    return nullptr;
}

void freeClassObject(Class cls)
{
    retireCacheOf(cls);
    for (const auto &[selector, method] : cls->data->methods)
        delete method;
    for (objc_ivar *ivar : cls->data->ivars)
        delete ivar;
    delete cls->data;
    std::free(const_cast<char *>(cls->name));
    delete cls;
}

void freeClassPair(Class cls)
{
    Class meta = cls->isa;
    auto &classes = allClasses();
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [&](Class each) { return each == cls || each == meta; }),
                  classes.end());
    freeClassObject(meta);
    freeClassObject(cls);
}

// Classes some other class names as its superclass (a root metaclass's own class is no
// reference: the pair goes together).
std::unordered_set<Class> superclassesInUse()
{
    std::unordered_set<Class> used;
    for (Class cls : allClasses())
        if (cls->superclass && !(cls->isMeta && cls->superclass->isa == cls))
            used.insert(cls->superclass);
    return used;
}

bool isFreeable(Class cls, const std::unordered_set<Class> &used)
{
    return !cls->isMeta && cls->data->disposed && !used.count(cls) && !used.count(cls->isa) &&
           cls->data->liveInstances.load(std::memory_order_acquire) == 0;
}

} // namespace

void recordImage(Class cls)
{
    cls->data->image = imageHolding(ownCode(cls));
    cls->isa->data->image = cls->data->image;
}

void disposeClass(Class cls)
{
    auto &classes = allClasses();
    bool listed = std::find(classes.begin(), classes.end(), cls) != classes.end();
    cls->data->registered = false;
    cls->isa->data->registered = false;
    cls->data->disposed = true;
    if (listed)
        freeUnreferencedDisposedClasses();
    else if (cls->data->liveInstances.load(std::memory_order_acquire) == 0)
        freeClassPair(cls); // never registered: no registered class can name it
}

void freeUnreferencedDisposedClasses()
{
    // Freeing a subclass may free its superclass in the next round.
    for (bool freed = true; freed;) {
        freed = false;
        std::unordered_set<Class> used = superclassesInUse();
        std::vector<Class> freeable;
        for (Class cls : allClasses())
            if (isFreeable(cls, used))
                freeable.push_back(cls);
        for (Class cls : freeable)
            freeClassPair(cls);
        freed = !freeable.empty();
    }
}

RuntimeMemory runtimeMemory()
{
    RuntimeMemory memory;
    {
        std::shared_lock lock(runtimeLock());
        memory.classObjects = allClasses().size();
    }
    memory.retiredMethodCaches = retiredMethodCacheCount();
    return memory;
}

void reclaimRuntimeMemory()
{
    {
        std::unique_lock lock(runtimeLock());
        freeUnreferencedDisposedClasses();
    }
    reclaimRetiredMethodCaches();
}

} // namespace sim

using namespace sim;

const char *class_getImageName(Class cls)
{
    if (!cls)
        return nullptr;
    std::shared_lock lock(runtimeLock());
    return cls->data->image.empty() ? nullptr : cls->data->image.c_str();
}

const char **objc_copyClassNamesForImage(const char *image, unsigned int *outCount)
{
    std::vector<const char *> names;
    if (image) {
        std::shared_lock lock(runtimeLock());
        for (Class cls : allClasses())
            if (!cls->isMeta && cls->data->registered && cls->data->image == image)
                names.push_back(cls->name);
    }
    if (outCount)
        *outCount = static_cast<unsigned int>(names.size());
    auto *list = static_cast<const char **>(std::malloc((names.size() + 1) * sizeof(char *)));
    if (!list)
        return nullptr;
    std::copy(names.begin(), names.end(), list);
    list[names.size()] = nullptr;
    return list;
}
