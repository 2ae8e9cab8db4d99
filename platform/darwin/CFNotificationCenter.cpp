// The Darwin notify center over notify_register_dispatch: one registration on the main
// queue per observation, cancelled when the observation is removed.

#include "darwin/CFNotificationCenter.h"

#include "darwin/notify.h"

#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>

struct __CFNotificationCenter {};

namespace {

// Observer, name and callback: features that observe one name with no observer of their
// own keep their observations apart by their callbacks.
using Observation = std::tuple<const void *, std::string, CFNotificationCallback>;

// The notify token of each observation. Observations are added and removed rarely
// (start-up, a one-time alert), so one lock over a small map is all they need.
struct Observations {
    std::mutex lock;
    std::map<Observation, int> tokens;
};

Observations &observations()
{
    static auto &table = *new Observations; // never destroyed: handlers may run at exit
    return table;
}

notify_handler_t deliveryTo(CFNotificationCenterRef center, const void *observer,
                            CFNotificationCallback callBack, CFNotificationName name)
{
    StrongRef<NSString> ownName = StrongRef<NSString>::adopt(CFStringCreateCopy(nullptr, name));
    return [center, observer, callBack, ownName](int) {
        callBack(center, const_cast<void *>(observer), ownName.get(), nullptr, nullptr);
    };
}

} // namespace

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter()
{
    static __CFNotificationCenter darwinCenter;
    return &darwinCenter;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void *observer,
                                     CFNotificationCallback callBack, CFNotificationName name,
                                     const void *, CFNotificationSuspensionBehavior)
{
    if (center != CFNotificationCenterGetDarwinNotifyCenter() || !callBack || !name)
        return;
    Observation observation{observer, name->str(), callBack};
    Observations &table = observations();
    std::lock_guard guard(table.lock);
    if (table.tokens.count(observation))
        return;
    int token = -1;
    if (notify_register_dispatch(std::get<1>(observation).c_str(), &token,
                                 dispatch_get_main_queue(),
                                 deliveryTo(center, observer, callBack, name)) == NOTIFY_STATUS_OK)
        table.tokens.emplace(std::move(observation), token);
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void *observer,
                                        CFNotificationName name, const void *)
{
    if (center != CFNotificationCenterGetDarwinNotifyCenter())
        return;
    Observations &table = observations();
    std::lock_guard guard(table.lock);
    for (auto entry = table.tokens.begin(); entry != table.tokens.end();) {
        const auto &[entryObserver, entryName, entryCallBack] = entry->first;
        if (entryObserver == observer && (!name || entryName == name->str())) {
            notify_cancel(entry->second);
            entry = table.tokens.erase(entry);
        } else {
            ++entry;
        }
    }
}
