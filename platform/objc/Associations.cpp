// Associated objects: values attached to an object under a key, kept in one table beside
// the objects. There won't be many associations per object, so each object's list is a
// small vector scanned in order. Values are retained or copied before the table's lock is
// taken and released after it is dropped, because a release may run a -dealloc that
// touches associations again.

#include "objc/ClassData.h"
#include "objc/NSObject.h"
#include "objc/runtime.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

using sim::kHasAssociations;

struct Association {
    const void *key;
    id value;
    bool owned;
};

struct AssociationTable {
    std::mutex lock;
    std::unordered_map<id, std::vector<Association>> byObject;
};

AssociationTable &associations()
{
    static auto &table = *new AssociationTable;
    return table;
}

bool retains(objc_AssociationPolicy policy)
{
    return policy != OBJC_ASSOCIATION_ASSIGN;
}

bool copies(objc_AssociationPolicy policy)
{
    return policy == OBJC_ASSOCIATION_COPY || policy == OBJC_ASSOCIATION_COPY_NONATOMIC;
}

NSObject *counted(id object)
{
    return object->isa->isMeta ? nullptr : static_cast<NSObject *>(object);
}

} // namespace

void objc_setAssociatedObject(id object, const void *key, id value, objc_AssociationPolicy policy)
{
    if (!object || !key)
        return;
    id stored = value;
    if (value && copies(policy))
        stored = msg<id>(value, "copy"_sel);
    else if (value && retains(policy))
        objc_retain(value);

    Association previous{key, nil, false};
    {
        AssociationTable &table = associations();
        std::lock_guard lock(table.lock);
        auto &list = table.byObject[object];
        auto slot = std::find_if(list.begin(), list.end(), [&](auto &a) { return a.key == key; });
        if (slot != list.end()) {
            previous = *slot;
            if (stored)
                *slot = {key, stored, retains(policy)};
            else
                list.erase(slot);
        } else if (stored) {
            list.push_back({key, stored, retains(policy)});
        }
        if (list.empty())
            table.byObject.erase(object);
        else if (NSObject *flagged = counted(object))
            flagged->m_runtimeFlags.fetch_or(kHasAssociations, std::memory_order_relaxed);
    }
    if (previous.owned)
        objc_release(previous.value);
}

id objc_getAssociatedObject(id object, const void *key)
{
    if (!object || !key)
        return nil;
    AssociationTable &table = associations();
    std::lock_guard lock(table.lock);
    auto found = table.byObject.find(object);
    if (found == table.byObject.end())
        return nil;
    for (const Association &association : found->second)
        if (association.key == key)
            return association.value;
    return nil;
}

void objc_removeAssociatedObjects(id object)
{
    if (!object)
        return;
    NSObject *flagged = counted(object);
    if (flagged && !(flagged->m_runtimeFlags.load(std::memory_order_relaxed) & kHasAssociations))
        return;
    std::vector<Association> removed;
    {
        AssociationTable &table = associations();
        std::lock_guard lock(table.lock);
        auto found = table.byObject.find(object);
        if (found == table.byObject.end())
            return;
        removed = std::move(found->second);
        table.byObject.erase(found);
    }
    for (const Association &association : removed)
        if (association.owned)
            objc_release(association.value);
}
