// Making and freeing objects, reference counts and autorelease pools.

#include "objc/ClassData.h"
#include "objc/NSObject.h"
#include "objc/RuntimeLocks.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool isClassObject(id object)
{
    return object->isa->isMeta;
}

// Each thread's autorelease stack: objects in the order they were autoreleased. A pool's
// boundary is the stack's height when it was pushed. Objects left when the thread ends
// are released then.
struct AutoreleaseStack {
    std::vector<id> objects;
    ~AutoreleaseStack() { drainTo(0); }

    void drainTo(std::size_t height)
    {
        // Releasing may autorelease further objects; they belong to the same pool.
        while (objects.size() > height) {
            id object = objects.back();
            objects.pop_back();
            objc_release(object);
        }
    }
};

AutoreleaseStack &autoreleaseStack()
{
    thread_local AutoreleaseStack stack;
    return stack;
}

} // namespace

id class_createInstance(Class cls, std::size_t extraBytes)
{
    if (!cls || cls->isMeta)
        return nil;
    sim::ClassData *data = cls->data;
    void *memory = std::calloc(1, data->instanceSize + extraBytes);
    if (!memory)
        return nil;
    if (data->construct)
        data->construct(memory);
    auto *object = static_cast<NSObject *>(memory);
    object->isa = cls;
    // Counted so that a disposed class stays while an instance still refers to it.
    data->liveInstances.fetch_add(1, std::memory_order_relaxed);
    return object;
}

namespace sim {

// The root -dealloc: associated objects go first, since their owners may look at the
// object while it is still whole; then the C++ destructor and the memory.
void destroyInstance(id object)
{
    objc_removeAssociatedObjects(object);
    sim::ClassData *data = object->isa->data;
    if (data->destruct)
        data->destruct(object);
    std::free(object);
    // The last touch of the class: once the count is down, a disposed class may go.
    data->liveInstances.fetch_sub(1, std::memory_order_release);
}

} // namespace sim

id objc_retain(id object)
{
    if (object && !isClassObject(object))
        static_cast<NSObject *>(object)->m_retainCount.fetch_add(1, std::memory_order_relaxed);
    return object;
}

// The count may climb from zero again while -dealloc runs (a helper keeps the object for
// a moment); only the release that first reached zero sends -dealloc.
void objc_release(id object)
{
    if (!object || isClassObject(object))
        return;
    auto *counted = static_cast<NSObject *>(object);
    if (counted->m_retainCount.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    std::uint32_t flags =
        counted->m_runtimeFlags.fetch_or(sim::kDeallocating, std::memory_order_acq_rel);
    if (!(flags & sim::kDeallocating))
        msg<void>(object, "dealloc"_sel);
}

bool objc_isDeallocating(id object)
{
    if (!object || isClassObject(object))
        return false;
    return static_cast<NSObject *>(object)->m_runtimeFlags.load(std::memory_order_acquire) &
           sim::kDeallocating;
}

id objc_autorelease(id object)
{
    if (object && !isClassObject(object))
        autoreleaseStack().objects.push_back(object);
    return object;
}

namespace sim {

bool retainUnlessDeallocating(id object)
{
    if (!object)
        return false;
    if (isClassObject(object))
        return true;
    auto &count = static_cast<NSObject *>(object)->m_retainCount;
    std::uint32_t seen = count.load(std::memory_order_relaxed);
    while (seen != 0 && !objc_isDeallocating(object)) {
        if (count.compare_exchange_weak(seen, seen + 1, std::memory_order_acquire))
            return true;
    }
    return false;
}

} // namespace sim

std::uint32_t objc_retainCount(id object)
{
    if (!object)
        return 0;
    if (isClassObject(object))
        return UINT32_MAX;
    return static_cast<NSObject *>(object)->m_retainCount.load(std::memory_order_relaxed);
}

void *objc_autoreleasePoolPush()
{
    return reinterpret_cast<void *>(autoreleaseStack().objects.size());
}

void objc_autoreleasePoolPop(void *boundary)
{
    autoreleaseStack().drainTo(reinterpret_cast<std::size_t>(boundary));
}
