#include "foundation/NSNotificationCenter.h"

#include "foundation/RunLoop.h"
#include "foundation/dispatch.h"

#include <algorithm>
#include <condition_variable>
#include <iterator>
#include <mutex>

namespace {

Class g_notificationClass;
Class g_queueClass;
Class g_centerClass;
Class g_tokenClass;

const Class kRegistered = [] {
    g_notificationClass =
        ClassBuilder<NSNotification>("NSNotification", "NSObject").registerClass();
    g_queueClass = ClassBuilder<NSOperationQueue>("NSOperationQueue", "NSObject").registerClass();
    g_centerClass =
        ClassBuilder<NSNotificationCenter>("NSNotificationCenter", "NSObject").registerClass();
    g_tokenClass = ClassBuilder<NSObject>("__NSObserver", "NSObject").registerClass();
    return g_centerClass;
}();

bool matches(const NSNotificationCenter::Observer &observer, NSNotification *notification)
{
    if (observer.name && !observer.name->isEqualToString(notification->name()))
        return false;
    return !observer.object || observer.object == notification->object();
}

// Runs the block on the main queue and waits for it, or at once on the main thread.
void runOnMainAndWait(const std::function<void()> &block)
{
    if (sim::RunLoop::isMainThread()) {
        block();
        return;
    }
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    dispatch_async(dispatch_get_main_queue(), [&] {
        block();
        std::lock_guard guard(lock);
        finished = true;
        done.notify_one();
    });
    std::unique_lock wait(lock);
    done.wait(wait, [&] { return finished; });
}

} // namespace

Class NSNotification::class_()
{
    return g_notificationClass;
}

NSNotification *NSNotification::notificationWithNameObjectUserInfo(NSString *name, id object,
                                                                   NSDictionary *userInfo)
{
    auto *notification = sim::create<NSNotification>(g_notificationClass);
    notification->m_name = name;
    notification->m_object = object;
    notification->m_userInfo = userInfo;
    return autorelease(notification);
}

Class NSOperationQueue::class_()
{
    return g_queueClass;
}

NSOperationQueue *NSOperationQueue::mainQueue()
{
    static NSOperationQueue *const main = [] {
        auto *queue = sim::create<NSOperationQueue>(g_queueClass);
        queue->m_isMain = true;
        return queue;
    }();
    return main;
}

NSOperationQueue *NSOperationQueue::currentQueue()
{
    return sim::RunLoop::isMainThread() ? mainQueue() : nil;
}

void NSOperationQueue::addOperationWithBlock(std::function<void()> block)
{
    dispatch_async(dispatch_get_main_queue(), std::move(block));
}

Class NSNotificationCenter::class_()
{
    return g_centerClass;
}

NSNotificationCenter *NSNotificationCenter::defaultCenter()
{
    static NSNotificationCenter *const center = sim::create<NSNotificationCenter>(g_centerClass);
    return center;
}

void NSNotificationCenter::addObserverSelectorNameObject(id observer, SEL selector, NSString *name,
                                                         id object)
{
    if (!observer || !selector)
        return;
    std::lock_guard guard(m_lock);
    m_observers.push_back({observer, selector, name, object, nil, nullptr});
}

id NSNotificationCenter::addObserverForNameObjectQueueUsingBlock(
    NSString *name, id object, NSOperationQueue *queue, std::function<void(NSNotification *)> block)
{
    if (!block)
        return nil;
    id token = autorelease(sim::create(g_tokenClass));
    // The centre keeps the token alive until the observer is removed.
    objc_retain(token);
    std::lock_guard guard(m_lock);
    m_observers.push_back({token, nullptr, name, object, queue, std::move(block)});
    return token;
}

void NSNotificationCenter::removeObserver(id observer)
{
    removeObserverNameObject(observer, nil, nil);
}

void NSNotificationCenter::removeObserverNameObject(id observer, NSString *name, id object)
{
    // Removed entries (their names, queues and blocks) and tokens are let go of after the
    // lock is dropped: a release may run a -dealloc that uses the centre.
    std::vector<Observer> removed;
    {
        std::lock_guard guard(m_lock);
        auto kept = std::stable_partition(
            m_observers.begin(), m_observers.end(), [&](const Observer &entry) {
                return !(entry.observer == observer &&
                         (!name || (entry.name && entry.name->isEqualToString(name))) &&
                         (!object || entry.object == object));
            });
        std::move(kept, m_observers.end(), std::back_inserter(removed));
        m_observers.erase(kept, m_observers.end());
    }
    for (const Observer &entry : removed)
        if (entry.block)
            objc_release(entry.observer);
}

void NSNotificationCenter::postNotification(NSNotification *notification)
{
    if (!notification)
        return;
    // Observers may add or remove observers while being told: work from a copy, and skip
    // entries removed since the copy was taken.
    std::vector<Observer> targets;
    {
        std::lock_guard guard(m_lock);
        for (const Observer &observer : m_observers)
            if (matches(observer, notification))
                targets.push_back(observer);
    }
    for (const Observer &target : targets) {
        id observer = retainIfRegistered(target);
        if (!observer)
            continue;
        StrongRef<objc_object> held = StrongRef<objc_object>::adopt(observer);
        if (!target.block)
            sim::sendAction(target.observer, target.selector, notification);
        else if (target.queue && target.queue->m_isMain)
            runOnMainAndWait([&] { target.block(notification); });
        else
            target.block(notification);
    }
}

// The observer, retained, while it is still registered and not going away: another
// thread may remove and free it at any moment.
id NSNotificationCenter::retainIfRegistered(const Observer &observer)
{
    std::lock_guard guard(m_lock);
    bool registered =
        std::any_of(m_observers.begin(), m_observers.end(), [&](const Observer &entry) {
            return entry.observer == observer.observer && entry.selector == observer.selector;
        });
    return registered && sim::retainUnlessDeallocating(observer.observer) ? observer.observer : nil;
}

void NSNotificationCenter::postNotificationNameObjectUserInfo(NSString *name, id object,
                                                              NSDictionary *userInfo)
{
    postNotification(NSNotification::notificationWithNameObjectUserInfo(name, object, userInfo));
}
