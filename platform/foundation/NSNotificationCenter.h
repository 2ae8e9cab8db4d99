#pragma once
// Notifications within a process. Observers register for a name (nil: every name) and
// optionally an object (nil: any sender); a post calls every matching observer in the
// order they registered, on the posting thread. A selector observer is sent `selector`
// with the notification (or without it, when the selector takes no argument); a block
// observer runs its block on the queue it asked for, and the post waits for it, so that
// on the main queue a post from the main thread runs the block at once. The centre does
// not retain selector observers (they remove themselves before they go).
//
// Any thread may post, add and remove observers at any time: the centre calls observers
// with its lock released, from the list as it was when the post began, skipping those
// removed since. Once removeObserver returns on a thread, that thread's posts no longer
// reach the observer.

#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"

#include <functional>
#include <mutex>
#include <vector>

struct NSNotification : NSObject {
    StrongRef<NSString> m_name;
    StrongRef<objc_object> m_object;
    StrongRef<NSDictionary> m_userInfo;

    static Class class_();
    static NSNotification *notificationWithNameObjectUserInfo(NSString *name, id object,
                                                              NSDictionary *userInfo);
    NSString *name() const { return m_name; }
    id object() const { return m_object; }
    NSDictionary *userInfo() const { return m_userInfo; }
};

struct NSOperationQueue : NSObject {
    bool m_isMain = false;

    static Class class_();
    static NSOperationQueue *mainQueue();
    // The main queue on the main thread, else nil (this stand-in has no other queues).
    static NSOperationQueue *currentQueue();
    void addOperationWithBlock(std::function<void()> block);
};

struct NSNotificationCenter : NSObject {
    struct Observer {
        id observer;                       // not retained; the token object for blocks
        SEL selector;                      // for selector observers
        StrongRef<NSString> name;          // nil: every name
        id object;                         // nil: any sender; not retained
        StrongRef<NSOperationQueue> queue; // for block observers; nil: the posting thread
        std::function<void(NSNotification *)> block;
    };
    std::mutex m_lock; // guards m_observers
    std::vector<Observer> m_observers;

    static Class class_();
    static NSNotificationCenter *defaultCenter();

    void addObserverSelectorNameObject(id observer, SEL selector, NSString *name, id object);
    // Answers the token to remove the observer with; the centre keeps the token.
    id addObserverForNameObjectQueueUsingBlock(NSString *name, id object, NSOperationQueue *queue,
                                               std::function<void(NSNotification *)> block);
    void removeObserver(id observer);
    void removeObserverNameObject(id observer, NSString *name, id object);
    void postNotification(NSNotification *notification);
    void postNotificationNameObjectUserInfo(NSString *name, id object, NSDictionary *userInfo);
    void postNotificationNameObject(NSString *name, id object)
    {
        postNotificationNameObjectUserInfo(name, object, nil);
    }

private:
    id retainIfRegistered(const Observer &observer);
};
