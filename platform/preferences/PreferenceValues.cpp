#include "preferences/PreferenceValues.h"

#include <cstdlib>

namespace sim {

std::optional<double> numberFromValue(id value)
{
    if (!value)
        return std::nullopt;
    if (msg<BOOL>(value, "isKindOfClass:"_sel, NSNumber::class_()))
        return static_cast<NSNumber *>(value)->doubleValue();
    if (!msg<BOOL>(value, "isKindOfClass:"_sel, NSString::class_()))
        return std::nullopt;
    const char *text = static_cast<NSString *>(value)->UTF8String();
    char *end = nullptr;
    double number = std::strtod(text, &end);
    if (end == text || *end != '\0')
        return std::nullopt;
    return number;
}

NSString *textFromValue(id value)
{
    if (!value)
        return nil;
    if (msg<BOOL>(value, "isKindOfClass:"_sel, NSString::class_()))
        return static_cast<NSString *>(value);
    if (msg<BOOL>(value, "isKindOfClass:"_sel, NSNumber::class_()))
        return static_cast<NSNumber *>(value)->stringValue();
    return nil;
}

} // namespace sim
