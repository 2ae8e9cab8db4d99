// NSDateFormatter: styles, patterns, AM/PM symbols, locales and time zones at a fixed
// moment of the virtual clock, Sunday 2026-12-06 09:41:07 UTC.

#include "foundation/NSDateFormatter.h"

#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr double kMorning = 1796550067;            // 2026-12-06 09:41:07 UTC
constexpr double kAfternoon = kMorning + 8 * 3600; // 17:41:07

class DateFormatting : public testing::Test {
protected:
    void SetUp() override
    {
        sim::useVirtualClock(0, kMorning);
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
    }
    void TearDown() override
    {
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
        sim::useRealClock();
    }

    static std::string format(NSDateFormatterStyle dateStyle, NSDateFormatterStyle timeStyle,
                              double when = kMorning)
    {
        NSDateFormatter *formatter = NSDateFormatter::formatter();
        formatter->setDateStyle(dateStyle);
        formatter->setTimeStyle(timeStyle);
        return formatter->stringFromDate(NSDate::dateWithTimeIntervalSince1970(when))->str();
    }

    AutoreleasePool m_pool;
};

TEST_F(DateFormatting, StylesInAmericanEnglish)
{
    using Style = NSDateFormatterStyle;
    const std::tuple<Style, Style, double, const char *> cases[] = {
        {NSDateFormatterNoStyle, NSDateFormatterShortStyle, kMorning, "9:41 AM"},
        {NSDateFormatterNoStyle, NSDateFormatterShortStyle, kAfternoon, "5:41 PM"},
        {NSDateFormatterNoStyle, NSDateFormatterMediumStyle, kMorning, "9:41:07 AM"},
        {NSDateFormatterNoStyle, NSDateFormatterLongStyle, kMorning, "9:41:07 AM UTC"},
        {NSDateFormatterNoStyle, NSDateFormatterFullStyle, kMorning,
         "9:41:07 AM Coordinated Universal Time"},
        {NSDateFormatterNoStyle, NSDateFormatterNoStyle, kMorning, ""},
        {NSDateFormatterShortStyle, NSDateFormatterNoStyle, kMorning, "12/6/26"},
        {NSDateFormatterMediumStyle, NSDateFormatterNoStyle, kMorning, "Dec 6, 2026"},
        {NSDateFormatterLongStyle, NSDateFormatterNoStyle, kMorning, "December 6, 2026"},
        {NSDateFormatterFullStyle, NSDateFormatterNoStyle, kMorning, "Sunday, December 6, 2026"},
        {NSDateFormatterMediumStyle, NSDateFormatterShortStyle, kMorning, "Dec 6, 2026, 9:41 AM"},
    };
    for (const auto &[dateStyle, timeStyle, when, expected] : cases)
        EXPECT_EQ(format(dateStyle, timeStyle, when), expected);
    // A style makes the locale's pattern, with an ordinary space.
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setTimeStyle(NSDateFormatterShortStyle);
    EXPECT_EQ(formatter->dateFormat()->str(), "h:mm a");
}

TEST_F(DateFormatting, AmPmSymbolsComeFromTheLocaleUntilSet)
{
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setTimeStyle(NSDateFormatterShortStyle);
    EXPECT_EQ(formatter->AMSymbol()->str(), "AM");
    EXPECT_EQ(formatter->PMSymbol()->str(), "PM");

    formatter->setAMSymbol("am"_ns);
    formatter->setPMSymbol("pm"_ns);
    EXPECT_EQ(formatter->stringFromDate(NSDate::dateWithTimeIntervalSince1970(kMorning))->str(),
              "9:41 am");
    EXPECT_EQ(formatter->stringFromDate(NSDate::dateWithTimeIntervalSince1970(kAfternoon))->str(),
              "5:41 pm");

    formatter->setAMSymbol(nil);
    EXPECT_EQ(formatter->stringFromDate(NSDate::date())->str(), "9:41 AM");
}

TEST_F(DateFormatting, LocaleAndTimeZoneFollowTheDeviceProfile)
{
    sim::DeviceProfile german;
    german.locale = "de_DE";
    german.timeZone = "Europe/Berlin"; // UTC+1 in December
    sim::DeviceProfile::setCurrent(german);
    EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier()->str(), "de_DE");
    EXPECT_EQ(NSTimeZone::localTimeZone()->name()->str(), "Europe/Berlin");
    EXPECT_EQ(format(NSDateFormatterNoStyle, NSDateFormatterShortStyle), "10:41");

    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setTimeStyle(NSDateFormatterShortStyle);
    formatter->setTimeZone(NSTimeZone::timeZoneWithName("America/New_York"_ns)); // UTC-5
    EXPECT_EQ(formatter->stringFromDate(NSDate::date())->str(), "04:41");
    EXPECT_EQ(NSTimeZone::timeZoneWithName("Atlantis/Capital"_ns), nil);
    EXPECT_EQ(NSTimeZone::timeZoneWithName(nil), nil);
}

// One formatter used again and again, as the status bar's clock uses its own, keeps what
// it made for the last use; every change it depends on must still show in the next text.
TEST_F(DateFormatting, AFormatterUsedAgainFollowsEachChangeItDependsOn)
{
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setDateFormat("HH:mm:ss"_ns);
    auto now = [&] { return formatter->stringFromDate(NSDate::date())->str(); };
    EXPECT_EQ(now(), "09:41:07");
    sim::advanceVirtualClock(2);
    EXPECT_EQ(now(), "09:41:09");

    sim::DeviceProfile berlin;
    berlin.timeZone = "Europe/Berlin";
    sim::DeviceProfile::setCurrent(berlin);
    EXPECT_EQ(now(), "10:41:09");

    formatter->setTimeZone(NSTimeZone::timeZoneWithName("America/New_York"_ns));
    EXPECT_EQ(now(), "04:41:09");
    formatter->setDateFormat("h:mm a"_ns);
    EXPECT_EQ(now(), "4:41 AM");
    formatter->setAMSymbol("vorm."_ns);
    EXPECT_EQ(now(), "4:41 vorm.");
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("de_DE"_ns));
    formatter->setAMSymbol(nil);
    formatter->setTimeStyle(NSDateFormatterShortStyle); // replaces the 12-hour pattern
    EXPECT_EQ(now(), "04:41");
    // Reading goes through the same kept formatter: 04:41 in New York on the first day.
    NSDate *parsed = formatter->dateFromString("04:41"_ns);
    ASSERT_NE(parsed, nil);
    EXPECT_EQ(parsed->timeIntervalSince1970(), 9 * 3600 + 41 * 60);
}

TEST_F(DateFormatting, PatternsTakeQuotedTextLiterallyAndParsingReadsTheWholeTextOrNothing)
{
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setDateFormat("EEEE 'at' h:mm a"_ns);
    EXPECT_EQ(formatter->stringFromDate(NSDate::date())->str(), "Sunday at 9:41 AM");
    formatter->setDateFormat("HH:mm 'o''clock'"_ns);
    EXPECT_EQ(formatter->stringFromDate(NSDate::date())->str(), "09:41 o'clock");
    formatter->setDateFormat("yyyy-MM-dd HH:mm:ss"_ns);
    NSDate *parsed = formatter->dateFromString("2026-12-06 09:41:07"_ns);
    ASSERT_NE(parsed, nil);
    EXPECT_EQ(parsed->timeIntervalSince1970(), kMorning);
    EXPECT_EQ(formatter->dateFromString("2026-12-06 09:41:07 and more"_ns), nil);
    EXPECT_EQ(formatter->dateFromString("yesterday"_ns), nil);
    EXPECT_EQ(formatter->dateFromString(nil), nil);
    EXPECT_EQ(formatter->stringFromDate(nil), nil);
}

TEST_F(DateFormatting, MessagesReachTheSameFormatter)
{
    id formatter = sim::make(objc_getClass("NSDateFormatter"));
    msg<void>(formatter, "setTimeStyle:"_sel, NSDateFormatterMediumStyle);
    msg<void>(formatter, "setPMSymbol:"_sel, "p.m."_ns);
    NSDate *afternoon = NSDate::dateWithTimeIntervalSince1970(kAfternoon);
    EXPECT_EQ(msg<NSString *>(formatter, "stringFromDate:"_sel, afternoon)->str(), "5:41:07 p.m.");

    NSString *both = msg<NSString *>(reinterpret_cast<id>(NSDateFormatter::class_()),
                                     "localizedStringFromDate:dateStyle:timeStyle:"_sel, afternoon,
                                     NSDateFormatterShortStyle, NSDateFormatterShortStyle);
    EXPECT_EQ(both->str(), "12/6/26, 5:41 PM");
}

} // namespace
