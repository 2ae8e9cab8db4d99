#pragma once
// The root class and reference counting. Every object of the platform and of the product
// is an NSObject: its class pointer, then a reference count that starts at 1 when the
// object is made (+alloc). objc_release of the last reference marks the object as
// deallocating (retains and releases while it goes away no longer free it) and sends
// -dealloc, whose root implementation removes associated objects, runs the C++ destructor of the
// object's class and frees the memory.
//
// C++ owners hold objects with StrongRef<T>, which retains on copy and releases when it
// goes away. Objects that a function hands back without giving ownership are
// autoreleased: they stay alive until the innermost AutoreleasePool of the thread ends
// (each run-loop iteration has one, and so has each block a dispatch queue runs).
//
// A C++ type that stands behind a class derives from NSObject (or from another such type)
// and adds plain members; it has no virtual functions, because behaviour that subclasses
// change goes through messages. Objects are made with +alloc (sim::create below), never
// with `new`.

#include "objc/message.h"
#include "objc/runtime.h"

#include <atomic>
#include <utility>

struct NSObject : objc_object {
    std::atomic<std::uint32_t> m_retainCount{1};
    std::atomic<std::uint32_t> m_runtimeFlags{0}; // kept by the runtime (associations)

    static Class class_();
};

extern "C" {
id objc_retain(id object);
void objc_release(id object);
id objc_autorelease(id object);
std::uint32_t objc_retainCount(id object);
// True once the last release has sent -dealloc (also inside -dealloc itself).
bool objc_isDeallocating(id object);
void *objc_autoreleasePoolPush();
void objc_autoreleasePoolPop(void *boundary);
}

template <class T> T *retain(T *object)
{
    objc_retain(object);
    return object;
}

template <class T> T *autorelease(T *object)
{
    objc_autorelease(object);
    return object;
}

// Drains the objects autoreleased on this thread since it was made.
class AutoreleasePool {
public:
    AutoreleasePool() : m_boundary(objc_autoreleasePoolPush()) {}
    ~AutoreleasePool() { objc_autoreleasePoolPop(m_boundary); }
    AutoreleasePool(const AutoreleasePool &) = delete;
    AutoreleasePool &operator=(const AutoreleasePool &) = delete;

private:
    void *m_boundary;
};

// An owning reference: retains what it is given, releases what it holds.
template <class T> class StrongRef {
public:
    StrongRef() = default;
    StrongRef(T *object) : m_object(object) { objc_retain(object); }
    StrongRef(const StrongRef &other) : StrongRef(other.m_object) {}
    StrongRef(StrongRef &&other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ~StrongRef() { objc_release(m_object); }

    // Takes over a reference the caller already owns (the result of alloc, new or copy).
    static StrongRef adopt(T *object)
    {
        StrongRef ref;
        ref.m_object = object;
        return ref;
    }

    StrongRef &operator=(StrongRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }

    T *get() const { return m_object; }
    T *operator->() const { return m_object; }
    T &operator*() const { return *m_object; }
    operator T *() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // Gives up ownership without releasing.
    T *leak() { return std::exchange(m_object, nullptr); }

private:
    T *m_object = nullptr;
};

namespace sim {

// Instance variables that own an object hold it in a StrongRef, which is laid out as the
// bare object pointer; they read by name as an object ("@"), as on the phone.
template <class T> struct TypeEncoding<StrongRef<T>, void> {
    static_assert(sizeof(StrongRef<T>) == sizeof(T *));
    static std::string get() { return "@"; }
};

// Retains `object` unless its last reference is already gone (it is deallocating, or
// about to): how a table that does not own its objects hands one out safely while
// another thread may be releasing it.
bool retainUnlessDeallocating(id object);

// +alloc then -init, as `[[cls alloc] init]`; the caller owns the result.
template <class T = NSObject> T *create(Class cls)
{
    id object = msg<id>(msg<id>(reinterpret_cast<id>(cls), "alloc"_sel), "init"_sel);
    return static_cast<T *>(object);
}

// The same, autoreleased.
template <class T = NSObject> T *make(Class cls)
{
    return autorelease(create<T>(cls));
}

} // namespace sim
