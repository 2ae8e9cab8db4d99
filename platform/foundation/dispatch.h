#pragma once
// Dispatch queues, with the platform's names and meanings. A block handed to a queue
// runs later on that queue's thread; a serial queue runs its blocks one at a time in the
// order they were submitted.
//
// - The main queue is served by the main run loop (RunLoop::submitToMainQueue): its
//   blocks run in order at the loop's next iteration in a common mode (never in a private
//   mode), and never inside one another: a block that runs the loop nested does not see
//   later blocks of the queue run until it has returned. Its delayed blocks are
//   main-loop timers in the common modes that join the queue when due, so the virtual
//   clock fires them at their due time along with every other timer.
// - A queue from dispatch_queue_create is serial and owns one real thread. Its delayed
//   blocks wait for real: the delay is measured on the process clock when the block is
//   submitted and then slept out.
// - The global queue is one concurrent queue shared by every priority: four threads
//   take its blocks in submission order and run them side by side.
// Every block runs inside an autorelease pool of its own.
// A queue from dispatch_queue_create lives until its last dispatch_release: its thread
// then runs the blocks already submitted (delayed ones at their time) and ends. The main
// and global queues ignore retains and releases. At process exit the threads of queues
// still alive finish the block in hand and are joined, and blocks still waiting are
// dropped.
//
// Groups track blocks in flight (dispatch_group_async, or enter/leave around other work)
// and tell when they are all done; semaphores count. Both are made with a reference
// that dispatch_release gives back. Their waits are real waits: the timeout is measured
// on the process clock when the wait begins and then waited out.
//
// dispatch_time_t counts nanoseconds on the process clock (sim::now()); 0 means now and
// ~0 never.

#include <cstdint>
#include <functional>

using dispatch_block_t = std::function<void()>;
typedef struct dispatch_queue_s *dispatch_queue_t;
typedef struct dispatch_queue_attr_s *dispatch_queue_attr_t;
typedef struct dispatch_group_s *dispatch_group_t;
typedef struct dispatch_semaphore_s *dispatch_semaphore_t;
typedef std::uint64_t dispatch_time_t;
typedef long dispatch_once_t;

inline constexpr dispatch_queue_attr_t DISPATCH_QUEUE_SERIAL = nullptr;

inline constexpr long DISPATCH_QUEUE_PRIORITY_HIGH = 2;
inline constexpr long DISPATCH_QUEUE_PRIORITY_DEFAULT = 0;
inline constexpr long DISPATCH_QUEUE_PRIORITY_LOW = -2;
inline constexpr long DISPATCH_QUEUE_PRIORITY_BACKGROUND = INT16_MIN;

inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~0ull;
inline constexpr std::uint64_t NSEC_PER_SEC = 1000000000ull;
inline constexpr std::uint64_t NSEC_PER_MSEC = 1000000ull;

dispatch_queue_t dispatch_get_main_queue();
// Every priority and flag answers the same concurrent queue.
dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long flags);
// `attr` is DISPATCH_QUEUE_SERIAL; `label` names the queue's thread.
dispatch_queue_t dispatch_queue_create(const char *label, dispatch_queue_attr_t attr);

void dispatch_retain(dispatch_queue_t queue);
void dispatch_release(dispatch_queue_t queue);

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
// Runs `block` on `queue` and returns when it has run. Waiting on the serial queue the
// caller is running on (the main queue from the main thread included) can never end, so
// it stops the process instead. On the global queue the block runs on the caller's
// thread.
void dispatch_sync(dispatch_queue_t queue, dispatch_block_t block);
// Submits `block` to `queue` at `when`; DISPATCH_TIME_FOREVER never submits it.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);

// `when` (DISPATCH_TIME_NOW for the present) moved by `deltaNanoseconds`; a result in
// the past is DISPATCH_TIME_NOW.
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds);

// Runs `block` the first time any thread passes `predicate` (a zeroed static); callers
// that arrive meanwhile wait until it has finished.
void dispatch_once(dispatch_once_t *predicate, dispatch_block_t block);

dispatch_group_t dispatch_group_create();
// Submits `block` to `queue` as a member of `group` until it has run.
void dispatch_group_async(dispatch_group_t group, dispatch_queue_t queue, dispatch_block_t block);
// Counts work in flight by hand; every enter needs its leave.
void dispatch_group_enter(dispatch_group_t group);
void dispatch_group_leave(dispatch_group_t group);
// Waits until the group has nothing in flight: 0 then, non-zero when `timeout` came first.
long dispatch_group_wait(dispatch_group_t group, dispatch_time_t timeout);
// Submits `block` to `queue` once the group has nothing in flight (at once if it has not).
void dispatch_group_notify(dispatch_group_t group, dispatch_queue_t queue, dispatch_block_t block);
void dispatch_retain(dispatch_group_t group);
void dispatch_release(dispatch_group_t group);

// A counting semaphore starting at `value` (not negative; nil otherwise).
dispatch_semaphore_t dispatch_semaphore_create(long value);
// Takes one from the count, waiting while it is zero: 0, or non-zero when `timeout`
// came first.
long dispatch_semaphore_wait(dispatch_semaphore_t semaphore, dispatch_time_t timeout);
// Adds one to the count; non-zero when that woke a waiting thread.
long dispatch_semaphore_signal(dispatch_semaphore_t semaphore);
void dispatch_retain(dispatch_semaphore_t semaphore);
void dispatch_release(dispatch_semaphore_t semaphore);
