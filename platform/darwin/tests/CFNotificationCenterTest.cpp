// The Darwin notify center: observers hear the posts of their names with the centre, the
// observer and the name, and stop hearing them once removed, even from inside a callback.

#include "darwin/CFNotificationCenter.h"
#include "DeviceTest.h"
#include "darwin/notify.h"

#include <string>
#include <vector>

namespace {

using test::DeviceTest;

struct Heard {
    CFNotificationCenterRef center;
    void *observer;
    std::string name;
    bool hadObjectOrUserInfo;
};

std::vector<Heard> g_heard;

void record(CFNotificationCenterRef center, void *observer, CFNotificationName name,
            const void *object, CFDictionaryRef userInfo)
{
    g_heard.push_back({center, observer, name ? name->str() : "(null)",
                       object != nullptr || userInfo != nullptr});
}

void recordAndStopListening(CFNotificationCenterRef center, void *observer, CFNotificationName name,
                            const void *object, CFDictionaryRef userInfo)
{
    record(center, observer, name, object, userInfo);
    CFNotificationCenterRemoveObserver(center, observer, name, nullptr);
}

class DarwinNotifyCenter : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        g_heard.clear();
    }

    void TearDown() override
    {
        CFNotificationCenterRemoveObserver(center, &firstObserver, nullptr, nullptr);
        CFNotificationCenterRemoveObserver(center, &secondObserver, nullptr, nullptr);
    }

    void observe(const char *observer, CFNotificationCallback callBack, NSString *name)
    {
        CFNotificationCenterAddObserver(center, observer, callBack, name, nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
    }

    // Posts, then lets the main loop run until `count` callbacks have been heard in all,
    // and a little longer, so that one too many would show. (A post's own process has its
    // deliveries queued before notify_post returns.)
    static void postAndListen(const char *name, std::size_t count)
    {
        ASSERT_EQ(notify_post(name), NOTIFY_STATUS_OK);
        test::runMainLoopUntil([&] { return g_heard.size() >= count; });
        test::runMainLoopUntil([] { return false; }, 100);
    }

    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    const char firstObserver = 0;
    const char secondObserver = 0;
};

TEST_F(DarwinNotifyCenter, AnObserverHearsEachPostOfItsNameOnlyWithoutObjectOrUserInfo)
{
    observe(&firstObserver, record, "test.cf.lockstate"_ns);
    observe(&firstObserver, record, "test.cf.lockstate"_ns); // no second observation
    postAndListen("test.cf.lockstate", 1);
    postAndListen("test.cf.unrelated", 1);
    postAndListen("test.cf.lockstate", 2);

    ASSERT_EQ(g_heard.size(), 2u);
    for (const Heard &heard : g_heard) {
        EXPECT_EQ(heard.center, center);
        EXPECT_EQ(heard.observer, &firstObserver);
        EXPECT_EQ(heard.name, "test.cf.lockstate");
        EXPECT_FALSE(heard.hadObjectOrUserInfo);
    }
}

void recordAgain(CFNotificationCenterRef center, void *observer, CFNotificationName name,
                 const void *object, CFDictionaryRef userInfo)
{
    record(center, observer, name, object, userInfo);
}

TEST_F(DarwinNotifyCenter, FeaturesWithoutObserversOfTheirOwnBothHearOneName)
{
    observe(nullptr, record, "test.cf.shared"_ns);
    observe(nullptr, recordAgain, "test.cf.shared"_ns);
    postAndListen("test.cf.shared", 2);
    EXPECT_EQ(g_heard.size(), 2u);
    CFNotificationCenterRemoveObserver(center, nullptr, "test.cf.shared"_ns, nullptr);
    postAndListen("test.cf.shared", 2);
    EXPECT_EQ(g_heard.size(), 2u);
}

TEST_F(DarwinNotifyCenter, RemovingEndsOneNameOrAllOfTheObserversNamesAndNoOneElses)
{
    observe(&firstObserver, record, "test.cf.a"_ns);
    observe(&firstObserver, record, "test.cf.b"_ns);
    observe(&secondObserver, record, "test.cf.a"_ns);
    CFNotificationCenterRemoveObserver(center, &firstObserver, "test.cf.a"_ns, nullptr);
    postAndListen("test.cf.a", 1);
    postAndListen("test.cf.b", 2);
    CFNotificationCenterRemoveObserver(center, &firstObserver, nullptr, nullptr);
    postAndListen("test.cf.b", 2);

    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[0].observer, &secondObserver);
    EXPECT_EQ(g_heard[1].observer, &firstObserver);
    EXPECT_EQ(g_heard[1].name, "test.cf.b");
}

TEST_F(DarwinNotifyCenter, ACallbackMayRemoveItsOwnObservation)
{
    observe(&firstObserver, recordAndStopListening, "test.cf.once"_ns);
    postAndListen("test.cf.once", 1);
    postAndListen("test.cf.once", 1);
    EXPECT_EQ(g_heard.size(), 1u);
}

} // namespace
