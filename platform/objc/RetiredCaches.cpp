// Freeing the method tables that growing and flushing retired (Class.h). A table may be
// freed once no thread can still be probing it: the runtime forces a memory barrier on
// every thread of the process (membarrier), which makes each thread's probing mark visible,
// and waits for every thread caught inside a probe to leave it; a probe takes nanoseconds,
// so the wait is short unless that thread lost its processor, and then the tables wait for
// the next attempt. Without the barrier (a kernel that lacks it) the tables are freed only
// when no other thread has ever sent a message, since the thread asking is not probing.
//
// Attempts come often enough to keep the retired tables few: after every
// kReclaimThreshold retirements, and whenever the host asks (a relaunch).

#include "objc/ClassData.h"
#include "objc/RuntimeLocks.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <linux/membarrier.h>
#include <mutex>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace sim {

constinit thread_local SendMark *t_sendMark = nullptr;

namespace {

constexpr std::size_t kReclaimThreshold = 256;
constexpr auto kProbeWait = std::chrono::milliseconds(2);

struct SendMarks {
    std::mutex lock;
    std::vector<SendMark *> all; // never freed: a mark outlives its thread
};

SendMarks &sendMarks()
{
    static auto &marks = *new SendMarks;
    return marks;
}

struct RetiredTables {
    std::mutex lock;
    std::vector<MethodCache *> tables;
    std::size_t sinceAttempt = 0;
};

RetiredTables &retiredTables()
{
    static auto &retired = *new RetiredTables;
    return retired;
}

bool threadIsGone(int thread)
{
    return syscall(SYS_tgkill, getpid(), thread, 0) != 0 && errno == ESRCH;
}

// Flags this thread's mark as ended when the thread's own destructors run; sends made by
// later destructors still use the mark, which is only handed on once the thread is gone.
struct MarkEnder {
    ~MarkEnder() { t_sendMark->ended.store(true, std::memory_order_release); }
};

bool forceBarrierOnEveryThread()
{
    static const bool registered =
        syscall(SYS_membarrier, MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED, 0, 0) == 0;
    return registered && syscall(SYS_membarrier, MEMBARRIER_CMD_PRIVATE_EXPEDITED, 0, 0) == 0;
}

// Waits briefly for a thread caught inside a probe to be seen outside one. After the
// barrier its mark can only show probes that began before (which may read a retired
// table) or after (which cannot): seeing it clear once means the earlier probe is over.
bool leavesProbe(const SendMark &mark)
{
    auto deadline = std::chrono::steady_clock::now() + kProbeWait;
    while (mark.probing.load(std::memory_order_acquire)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// Whether a table retired before now may be freed. The caller is not probing.
bool noThreadProbes()
{
    SendMarks &marks = sendMarks();
    bool barrier = forceBarrierOnEveryThread();
    std::lock_guard guard(marks.lock);
    for (SendMark *mark : marks.all) {
        if (mark == t_sendMark)
            continue;
        if (!barrier &&
            !(mark->ended.load(std::memory_order_acquire) && threadIsGone(mark->thread)))
            return false;
        if (!leavesProbe(*mark))
            return false;
    }
    return true;
}

void freeTable(MethodCache *table)
{
    for (std::uint32_t i = 0; i <= table->mask; ++i)
        table->entries[i].~CacheEntry();
    ::operator delete(table);
}

} // namespace

SendMark *markSendingThread()
{
    SendMarks &marks = sendMarks();
    SendMark *mark = nullptr;
    {
        std::lock_guard guard(marks.lock);
        for (SendMark *candidate : marks.all)
            if (candidate->ended.load(std::memory_order_acquire) &&
                threadIsGone(candidate->thread)) {
                mark = candidate;
                break;
            }
        if (!mark)
            mark = marks.all.emplace_back(new SendMark);
        mark->ended.store(false, std::memory_order_relaxed);
        mark->thread = static_cast<int>(gettid());
    }
    t_sendMark = mark;
    thread_local MarkEnder ender;
    return mark;
}

void retireCache(MethodCache *table)
{
    RetiredTables &retired = retiredTables();
    std::lock_guard guard(retired.lock);
    retired.tables.push_back(table);
    ++retired.sinceAttempt;
}

std::size_t reclaimRetiredMethodCaches()
{
    RetiredTables &retired = retiredTables();
    std::vector<MethodCache *> tables;
    {
        std::lock_guard guard(retired.lock);
        tables.swap(retired.tables);
        retired.sinceAttempt = 0;
    }
    if (tables.empty())
        return 0;
    if (!noThreadProbes()) {
        std::lock_guard guard(retired.lock);
        retired.tables.insert(retired.tables.end(), tables.begin(), tables.end());
        return 0;
    }
    for (MethodCache *table : tables)
        freeTable(table);
    return tables.size();
}

void reclaimWhenManyRetired()
{
    RetiredTables &retired = retiredTables();
    {
        std::lock_guard guard(retired.lock);
        if (retired.sinceAttempt < kReclaimThreshold)
            return;
    }
    reclaimRetiredMethodCaches();
}

std::size_t retiredMethodCacheCount()
{
    RetiredTables &retired = retiredTables();
    std::lock_guard guard(retired.lock);
    return retired.tables.size();
}

} // namespace sim
