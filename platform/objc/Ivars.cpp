// Instance variables and protocols.

#include "objc/ClassData.h"
#include "objc/RuntimeLocks.h"
#include "objc/runtime.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace sim {

namespace {

objc_ivar *findIvar(Class cls, const char *name)
{
    for (; cls; cls = cls->superclass) {
        for (objc_ivar *ivar : cls->data->ivars)
            if (ivar->name == name)
                return ivar;
    }
    return nullptr;
}

std::unordered_map<std::string, objc_protocol *> &protocolsByName()
{
    static auto &table = *new std::unordered_map<std::string, objc_protocol *>;
    return table;
}

} // namespace

void addIvarAt(Class cls, const char *name, const char *types, std::ptrdiff_t offset)
{
    if (!cls || !name)
        return;
    std::unique_lock lock(runtimeLock());
    cls->data->ivars.push_back(new objc_ivar{name, types ? types : "", offset});
}

Protocol *protocolNamed(const char *name)
{
    if (Protocol *existing = objc_getProtocol(name))
        return existing;
    Protocol *protocol = objc_allocateProtocol(name);
    objc_registerProtocol(protocol);
    return objc_getProtocol(name);
}

} // namespace sim

using namespace sim;

// Appends storage for a new instance variable after everything the class holds so far.
// Only classes not yet registered may grow, as on the platform.
BOOL class_addIvar(Class cls, const char *name, std::size_t size, std::uint8_t alignment,
                   const char *types)
{
    if (!cls || !name || cls->isMeta || cls->data->registered || findIvar(cls, name))
        return NO;
    std::unique_lock lock(runtimeLock());
    std::size_t align = std::size_t{1} << alignment;
    std::size_t offset = (cls->data->instanceSize + align - 1) / align * align;
    cls->data->instanceSize = offset + size;
    cls->data->ivars.push_back(
        new objc_ivar{name, types ? types : "", static_cast<std::ptrdiff_t>(offset)});
    return YES;
}

Ivar class_getInstanceVariable(Class cls, const char *name)
{
    if (!cls || !name)
        return nullptr;
    std::shared_lock lock(runtimeLock());
    return findIvar(cls, name);
}

const char *ivar_getName(Ivar ivar)
{
    return ivar ? ivar->name.c_str() : nullptr;
}

const char *ivar_getTypeEncoding(Ivar ivar)
{
    return ivar ? ivar->types.c_str() : nullptr;
}

std::ptrdiff_t ivar_getOffset(Ivar ivar)
{
    return ivar ? ivar->offset : 0;
}

id object_getIvar(id object, Ivar ivar)
{
    if (!object || !ivar)
        return nil;
    return *reinterpret_cast<id *>(reinterpret_cast<char *>(object) + ivar->offset);
}

void object_setIvar(id object, Ivar ivar, id value)
{
    if (!object || !ivar)
        return;
    *reinterpret_cast<id *>(reinterpret_cast<char *>(object) + ivar->offset) = value;
}

Protocol *objc_getProtocol(const char *name)
{
    if (!name)
        return nullptr;
    std::shared_lock lock(runtimeLock());
    auto found = protocolsByName().find(name);
    return found != protocolsByName().end() && found->second->registered ? found->second : nullptr;
}

Protocol *objc_allocateProtocol(const char *name)
{
    if (!name)
        return nullptr;
    std::unique_lock lock(runtimeLock());
    auto [entry, inserted] = protocolsByName().try_emplace(name, nullptr);
    if (!inserted)
        return nullptr;
    entry->second = new objc_protocol{name};
    return entry->second;
}

void objc_registerProtocol(Protocol *protocol)
{
    if (!protocol)
        return;
    std::unique_lock lock(runtimeLock());
    protocol->registered = true;
}

const char *protocol_getName(Protocol *protocol)
{
    return protocol ? protocol->name.c_str() : nullptr;
}

BOOL class_addProtocol(Class cls, Protocol *protocol)
{
    if (!cls || !protocol)
        return NO;
    std::unique_lock lock(runtimeLock());
    auto &list = cls->data->protocols;
    if (std::find(list.begin(), list.end(), protocol) != list.end())
        return NO;
    list.push_back(protocol);
    return YES;
}

// A class conforms when it or any superclass adopted the protocol.
BOOL class_conformsToProtocol(Class cls, Protocol *protocol)
{
    if (!protocol)
        return NO;
    std::shared_lock lock(runtimeLock());
    for (; cls; cls = cls->superclass) {
        auto &list = cls->data->protocols;
        if (std::find(list.begin(), list.end(), protocol) != list.end())
            return YES;
    }
    return NO;
}
