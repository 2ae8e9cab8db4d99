#pragma once
// Dates as text, in the user's language, through ICU.
//
// A formatter turns an NSDate into text with a pattern in ICU's (and the platform's)
// pattern syntax: "h:mm a", "EEEE d MMMM", text in single quotes taken literally
// ("h 'at' mm"). The pattern is either given with setDateFormat or made from a date
// style and a time style (NSDateFormatterStyle) for the formatter's locale; setting a
// style makes the styles the source again. The locale and the time zone default to the
// device's (the profile's locale and time zone), read when the formatter is used, so a
// formatter follows a change of the device profile. AM and PM symbols come from the
// locale unless set, and a set symbol is what the text shows.
//
// The phones of these system generations put an ordinary space between the time and
// the AM/PM symbol ("9:41 AM"); current locale data uses a narrow no-break space there,
// so patterns made from styles use the ordinary space the phone shows.
//
// A formatter may be used from several threads; each use takes the formatter's lock.
// Making an ICU formatter costs far more than formatting with one, so each formatter
// keeps the last one it made and makes another only when what it was made for (the
// pattern, the locale, the time zone or the symbols) has changed.

#include "foundation/NSData.h"
#include "foundation/NSString.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

enum NSDateFormatterStyle : NSUInteger {
    NSDateFormatterNoStyle = 0,
    NSDateFormatterShortStyle = 1,
    NSDateFormatterMediumStyle = 2,
    NSDateFormatterLongStyle = 3,
    NSDateFormatterFullStyle = 4,
};

struct NSLocale : NSObject {
    std::string m_identifier;

    static Class class_();
    // The device's locale (the profile's), made afresh so it follows the profile.
    static NSLocale *currentLocale();
    static NSLocale *localeWithLocaleIdentifier(NSString *identifier);

    NSString *localeIdentifier() const;
    const std::string &identifier() const { return m_identifier; }
};

struct NSTimeZone : NSObject {
    std::string m_name;

    static Class class_();
    // The device's time zone (the profile's).
    static NSTimeZone *localTimeZone();
    static NSTimeZone *systemTimeZone() { return localTimeZone(); }
    // nil for a name that names no time zone.
    static NSTimeZone *timeZoneWithName(NSString *name);

    NSString *name() const;
};

struct NSDateFormatter : NSObject {
    NSDateFormatterStyle m_dateStyle = NSDateFormatterNoStyle;
    NSDateFormatterStyle m_timeStyle = NSDateFormatterNoStyle;
    std::optional<std::string> m_explicitFormat; // set by setDateFormat, until a style is set
    StrongRef<NSLocale> m_locale;                // nil: the device's
    StrongRef<NSTimeZone> m_timeZone;            // nil: the device's
    std::optional<std::string> m_amSymbol;
    std::optional<std::string> m_pmSymbol;
    mutable std::mutex m_lock;
    struct KeptFormatter;
    mutable std::shared_ptr<KeptFormatter> m_kept; // the last ICU formatter made, under m_lock

    static Class class_();
    // A new formatter, autoreleased.
    static NSDateFormatter *formatter();
    static NSString *localizedStringFromDateDateStyleTimeStyle(NSDate *date,
                                                               NSDateFormatterStyle dateStyle,
                                                               NSDateFormatterStyle timeStyle);

    NSDateFormatterStyle dateStyle() const;
    void setDateStyle(NSDateFormatterStyle style);
    NSDateFormatterStyle timeStyle() const;
    void setTimeStyle(NSDateFormatterStyle style);
    // The pattern in use: the one set, or the one the styles make for the locale.
    NSString *dateFormat() const;
    void setDateFormat(NSString *format);
    NSLocale *locale() const;
    void setLocale(NSLocale *locale);
    NSTimeZone *timeZone() const;
    void setTimeZone(NSTimeZone *timeZone);
    NSString *AMSymbol() const;
    void setAMSymbol(NSString *symbol);
    NSString *PMSymbol() const;
    void setPMSymbol(NSString *symbol);

    // nil for a nil date.
    NSString *stringFromDate(NSDate *date) const;
    // The date that the whole text spells in the pattern; nil when it spells none.
    NSDate *dateFromString(NSString *text) const;
};
