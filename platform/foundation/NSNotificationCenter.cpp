#include "foundation/NSNotificationCenter.h"

#include "foundation/RunLoop.h"
#include "foundation/dispatch.h"

#include <condition_variable>
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
    m_observers.push_back({token, nullptr, name, object, queue, std::move(block)});
    return token;
}

void NSNotificationCenter::removeObserver(id observer)
{
    removeObserverNameObject(observer, nil, nil);
}

void NSNotificationCenter::removeObserverNameObject(id observer, NSString *name, id object)
{
    std::vector<id> releasedTokens;
    std::erase_if(m_observers, [&](const Observer &entry) {
        bool remove = entry.observer == observer &&
                      (!name || (entry.name && entry.name->isEqualToString(name))) &&
                      (!object || entry.object == object);
        if (remove && entry.block)
            releasedTokens.push_back(entry.observer);
        return remove;
    });
    for (id token : releasedTokens)
        objc_release(token);
}

void NSNotificationCenter::postNotification(NSNotification *notification)
{
    if (!notification)
        return;
    // Observers may add or remove observers while being told: work from a copy, and skip
    // entries removed since the copy was taken.
    std::vector<Observer> targets;
    for (const Observer &observer : m_observers)
        if (matches(observer, notification))
            targets.push_back(observer);
    for (const Observer &target : targets) {
        bool stillRegistered =
            std::any_of(m_observers.begin(), m_observers.end(), [&](const Observer &entry) {
                return entry.observer == target.observer && entry.selector == target.selector;
            });
        if (!stillRegistered)
            continue;
        if (!target.block)
            msg<void>(target.observer, target.selector, static_cast<id>(notification));
        else if (target.queue && target.queue->m_isMain)
            runOnMainAndWait([&] { target.block(notification); });
        else
            target.block(notification);
    }
}

void NSNotificationCenter::postNotificationNameObjectUserInfo(NSString *name, id object,
                                                              NSDictionary *userInfo)
{
    postNotification(NSNotification::notificationWithNameObjectUserInfo(name, object, userInfo));
}
