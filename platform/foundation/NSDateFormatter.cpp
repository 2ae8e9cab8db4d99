#include "foundation/NSDateFormatter.h"

#include "foundation/DeviceProfile.h"

#include <unicode/ucal.h>
#include <unicode/udat.h>
#include <unicode/ustring.h>

#include <algorithm>

namespace {

Class g_localeClass;
Class g_timeZoneClass;
Class g_formatterClass;

std::u16string toUTF16(std::string_view text)
{
    std::u16string converted(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(converted.data(), static_cast<int32_t>(converted.size()), &length, text.data(),
                  static_cast<int32_t>(text.size()), &status);
    converted.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return converted;
}

std::string toUTF8(std::u16string_view text)
{
    std::string converted(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(converted.data(), static_cast<int32_t>(converted.size()), &length, text.data(),
                static_cast<int32_t>(text.size()), &status);
    converted.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return converted;
}

// Runs one of ICU's "fill this buffer" calls, growing the buffer when the text is longer.
template <class Fill> std::u16string icuText(Fill fill)
{
    std::u16string text(64, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = fill(text.data(), static_cast<int32_t>(text.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        text.assign(static_cast<size_t>(length), u'\0');
        status = U_ZERO_ERROR;
        length = fill(text.data(), length, &status);
    }
    text.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return text;
}

// The platform counts styles up from "none"; ICU counts down from "full".
UDateFormatStyle icuStyle(NSDateFormatterStyle style)
{
    if (style == NSDateFormatterNoStyle || style > NSDateFormatterFullStyle)
        return UDAT_NONE;
    return static_cast<UDateFormatStyle>(UDAT_FULL + (NSDateFormatterFullStyle - style));
}

// Everything one use of a formatter needs, copied under its lock.
struct Settings {
    std::optional<std::string> explicitFormat;
    NSDateFormatterStyle dateStyle;
    NSDateFormatterStyle timeStyle;
    std::string locale;
    std::string timeZone;
    std::optional<std::string> amSymbol;
    std::optional<std::string> pmSymbol;

    bool operator==(const Settings &) const = default;
};

std::u16string patternForStyles(const Settings &settings)
{
    if (icuStyle(settings.dateStyle) == UDAT_NONE && icuStyle(settings.timeStyle) == UDAT_NONE)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUDateFormatPointer styled(
        udat_open(icuStyle(settings.timeStyle), icuStyle(settings.dateStyle),
                  settings.locale.c_str(), u"UTC", -1, nullptr, -1, &status));
    if (U_FAILURE(status))
        return {};
    std::u16string pattern = icuText([&](UChar *buffer, int32_t capacity, UErrorCode *error) {
        return udat_toPattern(styled.getAlias(), false, buffer, capacity, error);
    });
    std::replace(pattern.begin(), pattern.end(), u'\u202F', u' ');
    return pattern;
}

std::u16string patternFor(const Settings &settings)
{
    return settings.explicitFormat ? toUTF16(*settings.explicitFormat) : patternForStyles(settings);
}

void setSymbol(UDateFormat *formatter, int32_t index, const std::optional<std::string> &symbol)
{
    if (!symbol)
        return;
    std::u16string text = toUTF16(*symbol);
    UErrorCode status = U_ZERO_ERROR;
    udat_setSymbols(formatter, UDAT_AM_PMS, index, text.data(), static_cast<int32_t>(text.size()),
                    &status);
}

// An ICU formatter for the settings; null when ICU refuses the pattern.
icu::LocalUDateFormatPointer openFormatter(const Settings &settings)
{
    std::u16string pattern = patternFor(settings);
    std::u16string zone = toUTF16(settings.timeZone);
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUDateFormatPointer formatter(
        udat_open(UDAT_PATTERN, UDAT_PATTERN, settings.locale.c_str(), zone.data(),
                  static_cast<int32_t>(zone.size()), pattern.data(),
                  static_cast<int32_t>(pattern.size()), &status));
    if (U_FAILURE(status))
        return icu::LocalUDateFormatPointer();
    setSymbol(formatter.getAlias(), 0, settings.amSymbol);
    setSymbol(formatter.getAlias(), 1, settings.pmSymbol);
    // Text is read strictly; formatting does not depend on it.
    udat_setLenient(formatter.getAlias(), false);
    return formatter;
}

Settings settingsOf(const NSDateFormatter *formatter)
{
    std::lock_guard guard(formatter->m_lock);
    std::shared_ptr<const sim::DeviceProfile> device = sim::DeviceProfile::current();
    return {formatter->m_explicitFormat,
            formatter->m_dateStyle,
            formatter->m_timeStyle,
            formatter->m_locale ? formatter->m_locale->m_identifier : device->locale,
            formatter->m_timeZone ? formatter->m_timeZone->m_name : device->timeZone,
            formatter->m_amSymbol,
            formatter->m_pmSymbol};
}

} // namespace

struct NSDateFormatter::KeptFormatter {
    Settings settings;
    icu::LocalUDateFormatPointer icu;
};

namespace {

// Runs `use` with the formatter's ICU formatter for its current settings (null when ICU
// refuses them), under the formatter's lock, since formatting changes ICU's calendar.
template <class Use> auto withICUFormatter(const NSDateFormatter *formatter, Use use)
{
    Settings settings = settingsOf(formatter);
    std::lock_guard guard(formatter->m_lock);
    auto &kept = formatter->m_kept;
    if (!kept || !(kept->settings == settings)) {
        icu::LocalUDateFormatPointer icu = openFormatter(settings);
        kept = std::make_shared<NSDateFormatter::KeptFormatter>(
            NSDateFormatter::KeptFormatter{std::move(settings), std::move(icu)});
    }
    return use(kept->icu.getAlias());
}

NSString *symbol(const NSDateFormatter *formatter, int32_t index)
{
    return withICUFormatter(formatter, [&](UDateFormat *icu) -> NSString * {
        if (!icu)
            return nil;
        std::u16string text = icuText([&](UChar *buffer, int32_t capacity, UErrorCode *error) {
            return udat_getSymbols(icu, UDAT_AM_PMS, index, buffer, capacity, error);
        });
        return NSString::stringWithString(toUTF8(text));
    });
}

std::optional<std::string> textOf(NSString *string)
{
    return string ? std::optional<std::string>(string->str()) : std::nullopt;
}

// Each message answers through the C++ member of the same name.
const Class kRegistered = [] {
    using Formatter = NSDateFormatter;
    using Style = NSDateFormatterStyle;
    g_localeClass =
        ClassBuilder<NSLocale>("NSLocale", "NSObject")
            .classMethod(
                "currentLocale", +[](id, SEL) { return NSLocale::currentLocale(); })
            .classMethod(
                "localeWithLocaleIdentifier:",
                +[](id, SEL, NSString *identifier) {
                    return NSLocale::localeWithLocaleIdentifier(identifier);
                })
            .method(
                "localeIdentifier", +[](NSLocale *self, SEL) { return self->localeIdentifier(); })
            .registerClass();
    g_timeZoneClass =
        ClassBuilder<NSTimeZone>("NSTimeZone", "NSObject")
            .classMethod(
                "localTimeZone", +[](id, SEL) { return NSTimeZone::localTimeZone(); })
            .classMethod(
                "systemTimeZone", +[](id, SEL) { return NSTimeZone::systemTimeZone(); })
            .classMethod(
                "timeZoneWithName:",
                +[](id, SEL, NSString *name) { return NSTimeZone::timeZoneWithName(name); })
            .method(
                "name", +[](NSTimeZone *self, SEL) { return self->name(); })
            .registerClass();
    g_formatterClass =
        ClassBuilder<Formatter>("NSDateFormatter", "NSObject")
            .classMethod(
                "localizedStringFromDate:dateStyle:timeStyle:",
                +[](id, SEL, NSDate *date, Style dateStyle, Style timeStyle) {
                    return Formatter::localizedStringFromDateDateStyleTimeStyle(date, dateStyle,
                                                                                timeStyle);
                })
            .method(
                "dateStyle", +[](Formatter *self, SEL) { return self->dateStyle(); })
            .method(
                "setDateStyle:", +[](Formatter *self, SEL, Style s) { self->setDateStyle(s); })
            .method(
                "timeStyle", +[](Formatter *self, SEL) { return self->timeStyle(); })
            .method(
                "setTimeStyle:", +[](Formatter *self, SEL, Style s) { self->setTimeStyle(s); })
            .method(
                "dateFormat", +[](Formatter *self, SEL) { return self->dateFormat(); })
            .method(
                "setDateFormat:",
                +[](Formatter *self, SEL, NSString *format) { self->setDateFormat(format); })
            .method(
                "locale", +[](Formatter *self, SEL) { return self->locale(); })
            .method(
                "setLocale:",
                +[](Formatter *self, SEL, NSLocale *locale) { self->setLocale(locale); })
            .method(
                "timeZone", +[](Formatter *self, SEL) { return self->timeZone(); })
            .method(
                "setTimeZone:",
                +[](Formatter *self, SEL, NSTimeZone *zone) { self->setTimeZone(zone); })
            .method(
                "AMSymbol", +[](Formatter *self, SEL) { return self->AMSymbol(); })
            .method(
                "setAMSymbol:",
                +[](Formatter *self, SEL, NSString *symbol) { self->setAMSymbol(symbol); })
            .method(
                "PMSymbol", +[](Formatter *self, SEL) { return self->PMSymbol(); })
            .method(
                "setPMSymbol:",
                +[](Formatter *self, SEL, NSString *symbol) { self->setPMSymbol(symbol); })
            .method(
                "stringFromDate:",
                +[](Formatter *self, SEL, NSDate *date) { return self->stringFromDate(date); })
            .method(
                "dateFromString:",
                +[](Formatter *self, SEL, NSString *text) { return self->dateFromString(text); })
            .registerClass();
    return g_formatterClass;
}();

} // namespace

Class NSLocale::class_()
{
    return g_localeClass;
}

NSLocale *NSLocale::currentLocale()
{
    return localeWithLocaleIdentifier(
        NSString::stringWithString(sim::DeviceProfile::current()->locale));
}

NSLocale *NSLocale::localeWithLocaleIdentifier(NSString *identifier)
{
    auto *locale = sim::create<NSLocale>(g_localeClass);
    locale->m_identifier = identifier ? identifier->str() : "";
    return autorelease(locale);
}

NSString *NSLocale::localeIdentifier() const
{
    return NSString::stringWithString(m_identifier);
}

Class NSTimeZone::class_()
{
    return g_timeZoneClass;
}

NSTimeZone *NSTimeZone::localTimeZone()
{
    auto *zone = sim::create<NSTimeZone>(g_timeZoneClass);
    zone->m_name = sim::DeviceProfile::current()->timeZone;
    return autorelease(zone);
}

NSTimeZone *NSTimeZone::timeZoneWithName(NSString *name)
{
    if (!name)
        return nil;
    std::u16string identifier = toUTF16(name->str());
    UChar canonical[128];
    UBool isSystemZone = false;
    UErrorCode status = U_ZERO_ERROR;
    ucal_getCanonicalTimeZoneID(identifier.data(), static_cast<int32_t>(identifier.size()),
                                canonical, 128, &isSystemZone, &status);
    if (U_FAILURE(status) || !isSystemZone)
        return nil;
    auto *zone = sim::create<NSTimeZone>(g_timeZoneClass);
    zone->m_name = name->str();
    return autorelease(zone);
}

NSString *NSTimeZone::name() const
{
    return NSString::stringWithString(m_name);
}

Class NSDateFormatter::class_()
{
    return g_formatterClass;
}

NSDateFormatter *NSDateFormatter::formatter()
{
    return sim::make<NSDateFormatter>(g_formatterClass);
}

NSString *NSDateFormatter::localizedStringFromDateDateStyleTimeStyle(NSDate *date,
                                                                     NSDateFormatterStyle dateStyle,
                                                                     NSDateFormatterStyle timeStyle)
{
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setDateStyle(dateStyle);
    formatter->setTimeStyle(timeStyle);
    return formatter->stringFromDate(date);
}

NSDateFormatterStyle NSDateFormatter::dateStyle() const
{
    std::lock_guard guard(m_lock);
    return m_dateStyle;
}

void NSDateFormatter::setDateStyle(NSDateFormatterStyle style)
{
    std::lock_guard guard(m_lock);
    m_dateStyle = style;
    m_explicitFormat.reset();
}

NSDateFormatterStyle NSDateFormatter::timeStyle() const
{
    std::lock_guard guard(m_lock);
    return m_timeStyle;
}

void NSDateFormatter::setTimeStyle(NSDateFormatterStyle style)
{
    std::lock_guard guard(m_lock);
    m_timeStyle = style;
    m_explicitFormat.reset();
}

NSString *NSDateFormatter::dateFormat() const
{
    return NSString::stringWithString(toUTF8(patternFor(settingsOf(this))));
}

void NSDateFormatter::setDateFormat(NSString *format)
{
    std::lock_guard guard(m_lock);
    m_explicitFormat = format ? format->str() : "";
}

NSLocale *NSDateFormatter::locale() const
{
    std::unique_lock guard(m_lock);
    if (m_locale)
        return autorelease(retain(m_locale.get()));
    guard.unlock();
    return NSLocale::currentLocale();
}

void NSDateFormatter::setLocale(NSLocale *locale)
{
    std::lock_guard guard(m_lock);
    m_locale = locale;
}

NSTimeZone *NSDateFormatter::timeZone() const
{
    std::unique_lock guard(m_lock);
    if (m_timeZone)
        return autorelease(retain(m_timeZone.get()));
    guard.unlock();
    return NSTimeZone::localTimeZone();
}

void NSDateFormatter::setTimeZone(NSTimeZone *timeZone)
{
    std::lock_guard guard(m_lock);
    m_timeZone = timeZone;
}

NSString *NSDateFormatter::AMSymbol() const
{
    return symbol(this, 0);
}

void NSDateFormatter::setAMSymbol(NSString *symbol)
{
    std::lock_guard guard(m_lock);
    m_amSymbol = textOf(symbol);
}

NSString *NSDateFormatter::PMSymbol() const
{
    return symbol(this, 1);
}

void NSDateFormatter::setPMSymbol(NSString *symbol)
{
    std::lock_guard guard(m_lock);
    m_pmSymbol = textOf(symbol);
}

NSString *NSDateFormatter::stringFromDate(NSDate *date) const
{
    if (!date)
        return nil;
    return withICUFormatter(this, [&](UDateFormat *icu) -> NSString * {
        if (!icu)
            return nil;
        UDate milliseconds = date->timeIntervalSince1970() * 1000.0;
        std::u16string text = icuText([&](UChar *buffer, int32_t capacity, UErrorCode *error) {
            return udat_format(icu, milliseconds, buffer, capacity, nullptr, error);
        });
        return NSString::stringWithString(toUTF8(text));
    });
}

NSDate *NSDateFormatter::dateFromString(NSString *text) const
{
    if (!text)
        return nil;
    std::u16string characters = toUTF16(text->str());
    return withICUFormatter(this, [&](UDateFormat *icu) -> NSDate * {
        if (!icu)
            return nil;
        int32_t position = 0;
        UErrorCode status = U_ZERO_ERROR;
        UDate milliseconds = udat_parse(
            icu, characters.data(), static_cast<int32_t>(characters.size()), &position, &status);
        if (U_FAILURE(status) || position != static_cast<int32_t>(characters.size()))
            return nil;
        return NSDate::dateWithTimeIntervalSince1970(milliseconds / 1000.0);
    });
}
