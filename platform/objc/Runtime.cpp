// Selectors and the class registry.

#include "objc/runtime.h"
#include "objc/ClassData.h"
#include "objc/RuntimeLocks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace sim {

std::shared_mutex &runtimeLock()
{
    static auto &lock = *new std::shared_mutex;
    return lock;
}

std::vector<Class> &allClasses()
{
    static auto &classes = *new std::vector<Class>;
    return classes;
}

namespace {

// Selector names are interned for the life of the process; a selector is compared by
// pointer.
struct SelectorTable {
    std::mutex lock;
    std::unordered_map<std::string, objc_selector *> byName;
};

SelectorTable &selectors()
{
    static auto &table = *new SelectorTable;
    return table;
}

std::unordered_map<std::string, Class> &classesByName()
{
    static auto &table = *new std::unordered_map<std::string, Class>;
    return table;
}

Class newClassObject(const char *name, bool isMeta)
{
    auto *cls = new objc_class{};
    cls->cache.store(emptyMethodCache(), std::memory_order_relaxed);
    cls->name = strdup(name);
    cls->data = new ClassData;
    cls->isMeta = isMeta;
    return cls;
}

} // namespace

void setCxxType(Class cls, std::size_t size, Constructor construct, Destructor destruct)
{
    std::unique_lock lock(runtimeLock());
    cls->data->instanceSize = size;
    cls->data->construct = construct;
    cls->data->destruct = destruct;
}

} // namespace sim

using namespace sim;

SEL sel_registerName(const char *name)
{
    if (!name)
        return nullptr;
    SelectorTable &table = selectors();
    std::lock_guard lock(table.lock);
    auto [entry, inserted] = table.byName.try_emplace(name, nullptr);
    if (inserted)
        entry->second = new objc_selector{entry->first.c_str()};
    return entry->second;
}

const char *sel_getName(SEL selector)
{
    return selector ? selector->name : "<null selector>";
}

Class objc_getClass(const char *name)
{
    if (!name)
        return Nil;
    std::shared_lock lock(runtimeLock());
    auto found = classesByName().find(name);
    return found == classesByName().end() ? Nil : found->second;
}

Class objc_getMetaClass(const char *name)
{
    Class cls = objc_getClass(name);
    return cls ? cls->isa : Nil;
}

// Makes a class and its metaclass. The metaclass chain mirrors the class chain, and the
// root metaclass inherits from the root class, so every class object also answers the
// root class's instance methods.
Class objc_allocateClassPair(Class superclass, const char *name, std::size_t extraBytes)
{
    if (!name || objc_getClass(name))
        return Nil;
    Class cls = newClassObject(name, false);
    Class meta = newClassObject(name, true);
    cls->isa = meta;
    cls->superclass = superclass;
    if (superclass) {
        meta->isa = superclass->isa->isa;
        meta->superclass = superclass->isa;
        std::shared_lock lock(runtimeLock());
        cls->data->instanceSize = superclass->data->instanceSize + extraBytes;
        cls->data->construct = superclass->data->construct;
        cls->data->destruct = superclass->data->destruct;
    } else {
        meta->isa = meta;
        meta->superclass = cls;
        cls->data->instanceSize = extraBytes;
    }
    return cls;
}

void objc_registerClassPair(Class cls)
{
    if (!cls || cls->isMeta)
        return;
    std::unique_lock lock(runtimeLock());
    if (cls->data->registered || classesByName().count(cls->name))
        return;
    cls->data->registered = true;
    cls->isa->data->registered = true;
    recordImage(cls);
    classesByName()[cls->name] = cls;
    allClasses().push_back(cls);
    allClasses().push_back(cls->isa);
}

// Removes the class from the registry, so that a new class of the same name may be
// registered (a relaunched host registers its classes afresh, a reloaded library its
// own). Its memory goes as soon as no instance and no subclass refers to it: at once for
// a class disposed after its subclasses, else when the last of them goes.
void objc_disposeClassPair(Class cls)
{
    if (!cls || cls->isMeta)
        return;
    // Values attached to the class object would outlive it in the association table.
    objc_removeAssociatedObjects(cls);
    objc_removeAssociatedObjects(cls->isa);
    std::unique_lock lock(runtimeLock());
    if (cls->data->disposed)
        return;
    auto found = classesByName().find(cls->name);
    if (found != classesByName().end() && found->second == cls)
        classesByName().erase(found);
    disposeClass(cls);
}

Class *objc_copyClassList(unsigned int *outCount)
{
    std::shared_lock lock(runtimeLock());
    std::vector<Class> registered;
    for (Class cls : allClasses())
        if (!cls->isMeta && cls->data->registered)
            registered.push_back(cls);
    if (outCount)
        *outCount = static_cast<unsigned int>(registered.size());
    auto *list = static_cast<Class *>(std::malloc((registered.size() + 1) * sizeof(Class)));
    if (!list)
        return nullptr;
    std::copy(registered.begin(), registered.end(), list);
    list[registered.size()] = Nil;
    return list;
}

const char *class_getName(Class cls)
{
    return cls ? cls->name : "nil";
}

Class class_getSuperclass(Class cls)
{
    return cls ? cls->superclass : Nil;
}

BOOL class_isMetaClass(Class cls)
{
    return cls && cls->isMeta;
}

std::size_t class_getInstanceSize(Class cls)
{
    if (!cls)
        return 0;
    std::shared_lock lock(runtimeLock());
    return cls->data->instanceSize;
}

Class object_getClass(id object)
{
    return object ? object->isa : Nil;
}

const char *object_getClassName(id object)
{
    return class_getName(object_getClass(object));
}
