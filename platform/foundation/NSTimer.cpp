// NSTimer: a repeating or one-shot action on a run loop, and NSRunLoop's way of adding
// one. The loop holds a scheduled timer through its source's callback, so removing the
// source (invalidating the timer), or the loop ending with its thread, lets go of it.

#include "foundation/CFRunLoop.h"

#include "foundation/Clock.h"

#include <algorithm>
#include <cmath>

namespace {

Class g_timerClass;

// The platform holds timers to at least a tenth of a millisecond.
constexpr NSTimeInterval kShortestInterval = 0.0001;

namespace imp {

void invalidate(NSTimer *self, SEL)
{
    self->invalidate();
}

BOOL isValid(NSTimer *self, SEL)
{
    return self->isValid();
}

void fire(NSTimer *self, SEL)
{
    self->fire();
}

id userInfo(NSTimer *self, SEL)
{
    return self->userInfo();
}

NSTimeInterval timeInterval(NSTimer *self, SEL)
{
    return self->timeInterval();
}

NSDate *fireDate(NSTimer *self, SEL)
{
    return self->fireDate();
}

void setFireDate(NSTimer *self, SEL, NSDate *date)
{
    self->setFireDate(date);
}

} // namespace imp

const Class kRegistered = [] {
    g_timerClass = ClassBuilder<NSTimer>("NSTimer", "NSObject")
                       .method("invalidate", imp::invalidate)
                       .method("isValid", imp::isValid)
                       .method("fire", imp::fire)
                       .method("userInfo", imp::userInfo)
                       .method("timeInterval", imp::timeInterval)
                       .method("fireDate", imp::fireDate)
                       .method("setFireDate:", imp::setFireDate)
                       .registerClass();
    return g_timerClass;
}();

NSTimer *newTimer(NSTimeInterval interval, bool repeats)
{
    auto *timer = sim::create<NSTimer>(g_timerClass);
    timer->m_interval = std::max(std::isfinite(interval) ? interval : 0.0, kShortestInterval);
    timer->m_repeats = repeats;
    timer->m_fireTime = sim::now() + timer->m_interval;
    return timer;
}

} // namespace

Class NSTimer::class_()
{
    return g_timerClass;
}

NSTimer *NSTimer::timerWithTimeIntervalTargetSelectorUserInfoRepeats(NSTimeInterval interval,
                                                                     id target, SEL selector,
                                                                     id userInfo, bool repeats)
{
    NSTimer *timer = newTimer(interval, repeats);
    timer->m_target = target;
    timer->m_selector = selector;
    timer->m_userInfo = userInfo;
    return autorelease(timer);
}

NSTimer *NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
    NSTimeInterval interval, id target, SEL selector, id userInfo, bool repeats)
{
    NSTimer *timer = timerWithTimeIntervalTargetSelectorUserInfoRepeats(interval, target, selector,
                                                                        userInfo, repeats);
    NSRunLoop::currentRunLoop()->addTimerForMode(timer, NSDefaultRunLoopMode);
    return timer;
}

NSTimer *NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(NSTimeInterval interval, bool repeats,
                                                             std::function<void(NSTimer *)> block)
{
    NSTimer *timer = autorelease(newTimer(interval, repeats));
    timer->m_block = std::move(block);
    NSRunLoop::currentRunLoop()->addTimerForMode(timer, NSDefaultRunLoopMode);
    return timer;
}

void NSTimer::fire()
{
    if (!m_valid)
        return;
    StrongRef<NSTimer> keepAlive(this); // the action may invalidate the last owner
    StrongRef<objc_object> target;
    std::function<void(NSTimer *)> block;
    {
        std::lock_guard guard(m_lock);
        target = m_target;
        block = m_block;
    }
    if (block)
        block(this);
    else if (target)
        sim::sendAction(target, m_selector, this);
    if (!m_repeats)
        invalidate();
}

void NSTimer::invalidate()
{
    if (!m_valid.exchange(false))
        return;
    StrongRef<NSTimer> keepAlive(this); // removing the source lets go of the loop's reference
    // What the timer held goes after its lock is dropped: a release may run any -dealloc.
    StrongRef<objc_object> target;
    StrongRef<objc_object> userInfo;
    std::function<void(NSTimer *)> block;
    std::shared_ptr<sim::RunLoop> loop;
    sim::RunLoop::SourceId source = 0;
    {
        std::lock_guard guard(m_lock);
        target = std::move(m_target);
        userInfo = std::move(m_userInfo);
        block = std::move(m_block);
        loop = m_loop.lock(); // null once the loop's thread has ended
        m_loop.reset();
        source = std::exchange(m_source, 0);
    }
    if (loop && source)
        loop->removeSource(source);
}

id NSTimer::userInfo()
{
    std::lock_guard guard(m_lock);
    return autorelease(retain(m_userInfo.get()));
}

NSDate *NSTimer::fireDate()
{
    double fireTime;
    {
        std::lock_guard guard(m_lock);
        fireTime = m_fireTime;
        if (auto loop = m_loop.lock(); loop && m_source) {
            double scheduled = loop->fireTime(m_source);
            if (!std::isnan(scheduled))
                fireTime = scheduled;
        }
    }
    return NSDate::dateWithTimeIntervalSinceNow(fireTime - sim::now());
}

void NSTimer::setFireDate(NSDate *date)
{
    if (!date)
        return;
    double fireTime = sim::now() + date->timeIntervalSinceNow();
    std::lock_guard guard(m_lock);
    m_fireTime = fireTime;
    if (auto loop = m_loop.lock(); loop && m_source)
        loop->setFireTime(m_source, fireTime);
}

void NSRunLoop::addTimerForMode(NSTimer *timer, NSString *mode)
{
    if (!timer || !timer->m_valid)
        return;
    sim::RunLoop &loop = *m_cfLoop->m_loop;
    std::lock_guard guard(timer->m_lock);
    if (timer->m_source) {
        // One fire date for every mode, and one loop per timer.
        if (timer->m_loop.lock().get() == &loop)
            loop.addTimerMode(timer->m_source, sim::modeName(mode));
        return;
    }
    timer->m_loop = loop.weak_from_this();
    timer->m_source = loop.addTimer(
        timer->m_fireTime, timer->m_repeats ? timer->m_interval : 0,
        [scheduled = StrongRef<NSTimer>(timer)] { scheduled->fire(); }, sim::modeName(mode));
}
