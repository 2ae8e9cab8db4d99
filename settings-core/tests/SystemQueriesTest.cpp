// The shared system queries: the version gate, the Wi-Fi address and network name as the
// simulated phone's profile sets them, and the time as text on the virtual clock.

#include "SettingsTestSupport.h"

#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "foundation/NSDateFormatter.h"

namespace {

using namespace cvtest;

class SystemQueries : public testing::Test {
protected:
    void TearDown() override { sim::DeviceProfile::setCurrent(sim::DeviceProfile{}); }

    static std::string ssid()
    {
        StrongRef<NSString> owned = StrongRef<NSString>::adopt(CVStatusBar::getWifiSSID());
        return owned ? owned->str() : "(nil)";
    }

    AutoreleasePool m_pool;
};

TEST_F(SystemQueries, SupportedSystemsRunFromIOS7ToIOS9ZeroBothIncluded)
{
    const std::pair<double, bool> versions[] = {
        {847.2, true},    {1240.1, true}, {1140.1, true},  {847.19, false},
        {1240.11, false}, {793.0, false}, {1348.0, false},
    };
    for (const auto &[version, supported] : versions) {
        kCFCoreFoundationVersionNumber = version;
        EXPECT_EQ(CVIsSupportedSystem(), supported) << version;
    }
}

// Here "en0" holds the host's loopback address first and the profile's own after it: the
// last IPv4 address of the interface is the one shown.
TEST_F(SystemQueries, OfSeveralWiFiAddressesTheLastIsShown)
{
    sim::DeviceProfile phone;
    phone.wifiHostInterface = "lo";
    phone.wifiAddress = "192.168.7.42";
    sim::DeviceProfile::setCurrent(phone);
    EXPECT_EQ(CVStatusBar::getIPAddress()->str(), "192.168.7.42");
    phone.wifiAddress.reset();
    sim::DeviceProfile::setCurrent(phone);
    EXPECT_EQ(CVStatusBar::getIPAddress()->str(), "127.0.0.1");
    sim::DeviceProfile::setCurrent(sim::DeviceProfile{}); // Wi-Fi off
    EXPECT_EQ(CVStatusBar::getIPAddress()->str(), "n/a");
}

TEST_F(SystemQueries, TheNetworkNameIsThatOfTheJoinedNetworkWhileWiFiIsOn)
{
    sim::DeviceProfile phone;
    phone.wifiAddress = "10.0.0.5";
    phone.ssid = "Caf\xC3\xA9 Corvane";
    sim::DeviceProfile::setCurrent(phone);
    EXPECT_EQ(ssid(), "Caf\xC3\xA9 Corvane");
    phone.ssid.reset(); // not joined
    sim::DeviceProfile::setCurrent(phone);
    EXPECT_EQ(ssid(), "n/a");
    phone.ssid = "Remembered";
    phone.wifiAddress.reset(); // Wi-Fi off
    sim::DeviceProfile::setCurrent(phone);
    EXPECT_EQ(ssid(), "n/a");
}

class TimeStrings : public SystemQueries {
protected:
    void SetUp() override
    {
        sim::useVirtualClock(0, kEvening);
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{}); // en_US, UTC
    }
    void TearDown() override
    {
        sim::useRealClock();
        SystemQueries::TearDown();
    }

    static std::string now(NSDateFormatterStyle style)
    {
        NSString *text = msg<NSString *, NSDateFormatterStyle>(
            reinterpret_cast<id>(NSDate::class_()), "timeStringWithStyle:"_sel, style);
        return text ? text->str() : "(nil)";
    }

    static constexpr double kEvening = 1456866309.0; // 2016-03-01 21:05:09 UTC
};

// The short style shows hours and minutes, the medium one adds the seconds, and each call
// tells the time afresh.
TEST_F(TimeStrings, ShortAndMediumStylesOnTheVirtualClock)
{
    EXPECT_EQ(now(NSDateFormatterShortStyle), "9:05 PM");
    EXPECT_EQ(now(NSDateFormatterMediumStyle), "9:05:09 PM");
    sim::advanceVirtualClock(3 * 3600 + 55 * 60 + 2); // to 01:00:11 the next day
    EXPECT_EQ(now(NSDateFormatterMediumStyle), "1:00:11 AM");
    EXPECT_EQ(now(NSDateFormatterShortStyle), "1:00 AM");
}

} // namespace
