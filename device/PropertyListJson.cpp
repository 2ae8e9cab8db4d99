#include "PropertyListJson.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace sim {

namespace {

bool isKindOf(id object, Class cls)
{
    return msg<BOOL>(object, "isKindOfClass:"_sel, cls);
}

std::string base64(const NSData *data)
{
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto *bytes = static_cast<const unsigned char *>(data->bytes());
    std::string out;
    for (NSUInteger i = 0; i < data->length(); i += 3) {
        unsigned value = bytes[i] << 16;
        if (i + 1 < data->length())
            value |= bytes[i + 1] << 8;
        if (i + 2 < data->length())
            value |= bytes[i + 2];
        out += kAlphabet[(value >> 18) & 63];
        out += kAlphabet[(value >> 12) & 63];
        out += i + 1 < data->length() ? kAlphabet[(value >> 6) & 63] : '=';
        out += i + 2 < data->length() ? kAlphabet[value & 63] : '=';
    }
    return out;
}

nlohmann::json jsonFromNumber(const NSNumber *number)
{
    if (number->isBoolean())
        return number->boolValue();
    if (number->isReal())
        return number->doubleValue();
    if (number->m_kind == NSNumber::Kind::UnsignedInteger ||
        number->m_kind == NSNumber::Kind::UnsignedInt ||
        number->m_kind == NSNumber::Kind::UnsignedChar)
        return static_cast<std::uint64_t>(number->unsignedIntegerValue());
    return number->longLongValue();
}

nlohmann::json jsonFromDictionary(NSDictionary *dictionary)
{
    nlohmann::json object = nlohmann::json::object();
    for (const auto &[key, value] : *dictionary)
        object[describe(key)] = jsonFromPropertyList(value);
    return object; // nlohmann's objects keep their keys sorted
}

} // namespace

nlohmann::json jsonFromPropertyList(id object)
{
    if (!object || isKindOf(object, NSNull::class_()))
        return nullptr;
    if (isKindOf(object, NSString::class_()))
        return static_cast<NSString *>(object)->str();
    if (isKindOf(object, NSNumber::class_()))
        return jsonFromNumber(static_cast<NSNumber *>(object));
    if (isKindOf(object, NSDictionary::class_()))
        return jsonFromDictionary(static_cast<NSDictionary *>(object));
    if (isKindOf(object, NSArray::class_())) {
        nlohmann::json array = nlohmann::json::array();
        for (const auto &element : *static_cast<NSArray *>(object))
            array.push_back(jsonFromPropertyList(element));
        return array;
    }
    if (isKindOf(object, NSData::class_()))
        return base64(static_cast<NSData *>(object));
    if (isKindOf(object, NSDate::class_()))
        return static_cast<NSDate *>(object)->timeIntervalSince1970();
    return describe(object);
}

id propertyListFromJson(const nlohmann::json &value)
{
    switch (value.type()) {
    case nlohmann::json::value_t::boolean:
        return NSNumber::numberWithBool(value.get<bool>());
    case nlohmann::json::value_t::number_integer:
        return NSNumber::numberWithLongLong(value.get<long long>());
    case nlohmann::json::value_t::number_unsigned:
        return NSNumber::numberWithUnsignedInteger(value.get<unsigned long>());
    case nlohmann::json::value_t::number_float:
        return NSNumber::numberWithDouble(value.get<double>());
    case nlohmann::json::value_t::string:
        return NSString::stringWithString(value.get_ref<const std::string &>());
    case nlohmann::json::value_t::array: {
        NSMutableArray *array = NSMutableArray::array();
        for (const auto &element : value) {
            id converted = propertyListFromJson(element);
            if (!converted)
                return nil;
            array->addObject(converted);
        }
        return array;
    }
    case nlohmann::json::value_t::object: {
        NSMutableDictionary *dictionary = NSMutableDictionary::dictionary();
        for (const auto &[key, element] : value.items()) {
            id converted = propertyListFromJson(element);
            NSString *convertedKey = NSString::stringWithString(key);
            if (!converted || !convertedKey)
                return nil;
            dictionary->setObjectForKey(converted, convertedKey);
        }
        return dictionary;
    }
    default:
        return nil;
    }
}

nlohmann::json parseCommandLineValue(const std::string &text)
{
    nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
    if (parsed.is_discarded())
        return text;
    return parsed;
}

} // namespace sim
