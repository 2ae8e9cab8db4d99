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
    const void *observer;
    std::string name;
    bool hadObjectOrUserInfo;
    bool operator==(const Heard &) const = default;
};

std::vector<Heard> g_heard;

void record(CFNotificationCenterRef center, void *observer, CFNotificationName name,
            const void *object, CFDictionaryRef userInfo)
{
    g_heard.push_back({center, observer, name ? name->str() : "(null)",
                       object != nullptr || userInfo != nullptr});
}

void recordAgain(CFNotificationCenterRef center, void *observer, CFNotificationName name,
                 const void *object, CFDictionaryRef userInfo)
{
    record(center, observer, name, object, userInfo);
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

    // Posts, then runs the main loop until `count` callbacks were heard in all, and a little
    // longer, so that one too many would show.
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
    EXPECT_EQ(g_heard,
              std::vector<Heard>(2, Heard{center, &firstObserver, "test.cf.lockstate", false}));
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

TEST_F(DarwinNotifyCenter, RemovingEndsOneNameOrAllOfTheObserversNamesEvenFromItsCallback)
{
    observe(&firstObserver, record, "test.cf.a"_ns);
    observe(&firstObserver, record, "test.cf.b"_ns);
    observe(&secondObserver, record, "test.cf.a"_ns);
    CFNotificationCenterRemoveObserver(center, &firstObserver, "test.cf.a"_ns, nullptr);
    postAndListen("test.cf.a", 1);
    postAndListen("test.cf.b", 2);
    CFNotificationCenterRemoveObserver(center, &firstObserver, nullptr, nullptr);
    postAndListen("test.cf.b", 2);
    observe(&firstObserver, recordAndStopListening, "test.cf.once"_ns);
    postAndListen("test.cf.once", 3);
    postAndListen("test.cf.once", 3);
    EXPECT_EQ(g_heard, (std::vector<Heard>{{center, &secondObserver, "test.cf.a", false},
                                           {center, &firstObserver, "test.cf.b", false},
                                           {center, &firstObserver, "test.cf.once", false}}));
}

} // namespace
