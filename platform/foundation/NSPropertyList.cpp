#include "foundation/NSPropertyList.h"

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "foundation/PropertyListLimits.h"

#include <plist/plist.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

Class g_serializationClass;

// libplist's nodes, owned.
struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

// Seconds between 1970 and 2001, the reference date that property-list dates count from.
constexpr double kReferenceDateSince1970 = NSTimeIntervalSince1970;

// The most bytes of strings and data one property list may carry when written: libplist
// answers the serialised length in 32 bits, and base64 grows data by a third.
constexpr std::uint64_t kMaxWrittenPayload = 1ULL << 30;

bool isKind(id object, Class cls)
{
    return msg<BOOL>(object, "isKindOfClass:"_sel, cls);
}

// ---------------------------------------------------------------------------------------
// Dates. libplist keeps a date as seconds and microseconds with 64-bit seconds, but its
// API takes and answers 32-bit seconds, split as truncated seconds and unsigned
// microseconds (so -0.5 and 0.5 come out the same). Its binary format carries the exact
// value as a double, so dates go in and out through a one-object binary property list.

// The furthest dates written, the platform's distantPast and distantFuture (years 1 and
// 4001); beyond them calendars and libplist's XML writer stop making sense.
constexpr double kEarliestDate = -63114076800.0;
constexpr double kLatestDate = 63113904000.0;

plist_t newDateNode(double sinceReference)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &sinceReference, sizeof bits);
    std::string binary = "bplist00\x33";
    for (int shift = 56; shift >= 0; shift -= 8)
        binary += static_cast<char>((bits >> shift) & 0xFF);
    binary += '\x08'; // the offset table: object 0 at offset 8
    binary += std::string(6, '\0');
    binary += '\x01'; // offset size
    binary += '\x01'; // reference size
    for (std::uint64_t field : {std::uint64_t{1}, std::uint64_t{0}, std::uint64_t{17}})
        for (int shift = 56; shift >= 0; shift -= 8)
            binary += static_cast<char>((field >> shift) & 0xFF);
    plist_t node = nullptr;
    plist_from_bin(binary.data(), static_cast<std::uint32_t>(binary.size()), &node);
    return node;
}

bool dateSinceReference(plist_t node, double &sinceReference)
{
    PlistNode copy(plist_copy(node));
    char *binary = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(copy.get(), &binary, &length);
    if (!binary)
        return false;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(binary);
    bool found = length >= 17 && std::memcmp(bytes, "bplist00", 8) == 0 && bytes[8] == 0x33;
    if (found) {
        std::uint64_t bits = sim::readBigEndian(bytes + 9, 8);
        std::memcpy(&sinceReference, &bits, sizeof sinceReference);
    }
    plist_to_bin_free(binary);
    return found;
}

// ---------------------------------------------------------------------------------------
// Reading: libplist's tree to objects.

// libplist keeps whether an integer with the top bit set is unsigned (a value above
// INT64_MAX) or negative, but answers only the 64 bits; its XML says which.
bool isUnsignedInteger(plist_t node)
{
    PlistNode copy(plist_copy(node));
    char *xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(copy.get(), &xml, &length);
    if (!xml)
        return false;
    std::string_view text(xml, length);
    std::size_t open = text.find("<integer>");
    bool isUnsigned =
        open != std::string_view::npos && open + 9 < text.size() && text[open + 9] != '-';
    plist_to_xml_free(xml);
    return isUnsigned;
}

struct Reader {
    NSUInteger options;
    std::string failure;

    // An autoreleased object for the node, or nil with `failure` set.
    id read(plist_t node, unsigned depth)
    {
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            std::uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return value ? kCFBooleanTrue : kCFBooleanFalse;
        }
        case PLIST_UINT: {
            std::uint64_t value = 0;
            plist_get_uint_val(node, &value);
            if (value > static_cast<std::uint64_t>(std::numeric_limits<long long>::max()) &&
                isUnsignedInteger(node))
                return NSNumber::numberWithUnsignedInteger(value);
            return NSNumber::numberWithLongLong(static_cast<long long>(value));
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return NSNumber::numberWithDouble(value);
        }
        case PLIST_STRING:
            return readString(node);
        case PLIST_DATA: {
            std::uint64_t length = 0;
            const char *bytes = plist_get_data_ptr(node, &length);
            return NSData::dataWithBytes(bytes, bytes ? length : 0);
        }
        case PLIST_DATE:
            return readDate(node);
        case PLIST_ARRAY:
            return readArray(node, depth);
        case PLIST_DICT:
            return readDictionary(node, depth);
        case PLIST_UID:
            return fail("a keyed-archiver UID is not a property-list value");
        default:
            return fail("unexpected node in the property list");
        }
    }

    id fail(std::string why)
    {
        if (failure.empty())
            failure = std::move(why);
        return nil;
    }

    id readString(plist_t node)
    {
        std::uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        std::string_view view(text ? text : "", text ? length : 0);
        if (!sim::isValidUTF8(view))
            return fail("a string is not valid UTF-8");
        if (options == NSPropertyListMutableContainersAndLeaves) {
            NSMutableString *string = NSMutableString::string();
            string->m_text.assign(view);
            return string;
        }
        return NSString::stringWithString(view);
    }

    id readDate(plist_t node)
    {
        double sinceReference = 0;
        if (!dateSinceReference(node, sinceReference))
            return fail("a date libplist cannot serialise");
        return NSDate::dateWithTimeIntervalSince1970(sinceReference + kReferenceDateSince1970);
    }

    bool enter(unsigned depth)
    {
        if (depth >= sim::kPropertyListMaxDepth) {
            fail("the property list nests containers too deeply");
            return false;
        }
        return true;
    }

    id readArray(plist_t node, unsigned depth)
    {
        if (!enter(depth))
            return nil;
        Class cls =
            options == NSPropertyListImmutable ? NSArray::class_() : NSMutableArray::class_();
        auto *array = sim::make<NSArray>(cls);
        array->m_objects.reserve(plist_array_get_size(node));
        plist_array_iter iterator = nullptr;
        plist_array_new_iter(node, &iterator);
        if (!iterator)
            return fail("out of memory");
        for (;;) {
            plist_t item = nullptr;
            plist_array_next_item(node, iterator, &item);
            if (!item)
                break;
            id value = read(item, depth + 1);
            if (!value) {
                std::free(iterator);
                return nil;
            }
            array->m_objects.emplace_back(value);
        }
        std::free(iterator);
        return array;
    }

    id readDictionary(plist_t node, unsigned depth)
    {
        if (!enter(depth))
            return nil;
        NSMutableDictionary *dictionary = NSMutableDictionary::dictionary();
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        if (!iterator)
            return fail("out of memory");
        for (;;) {
            char *key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            NSString *keyString = key ? NSString::stringWithUTF8String(key) : nil;
            std::free(key);
            if (!keyString) {
                std::free(iterator);
                return fail("a dictionary key is not valid UTF-8");
            }
            id value = read(item, depth + 1);
            if (!value) {
                std::free(iterator);
                return nil;
            }
            dictionary->setObjectForKey(value, keyString);
        }
        std::free(iterator);
        if (options == NSPropertyListImmutable)
            return NSDictionary::dictionaryWithDictionary(dictionary);
        return dictionary;
    }
};

// ---------------------------------------------------------------------------------------
// Writing: objects to libplist's tree.

// libplist's plist_new_uint writes every value as signed; a node parsed from XML keeps
// the unsigned flag for values above INT64_MAX, in both formats.
plist_t newUnsignedNode(std::uint64_t value)
{
    char xml[96];
    int length =
        std::snprintf(xml, sizeof xml, "<plist><integer>%" PRIu64 "</integer></plist>", value);
    plist_t node = nullptr;
    plist_from_xml(xml, static_cast<std::uint32_t>(length), &node);
    return node;
}

struct Writer {
    std::string failure;
    std::uint64_t payload = 0;

    plist_t fail(std::string why)
    {
        if (failure.empty())
            failure = std::move(why);
        return nullptr;
    }

    // A new node the caller owns, or null with `failure` set.
    plist_t write(id object, unsigned depth)
    {
        if (!object)
            return fail("nil cannot be stored in a property list");
        if (isKind(object, NSString::class_()))
            return writeString(static_cast<NSString *>(object)->str());
        if (isKind(object, NSNumber::class_()))
            return writeNumber(static_cast<NSNumber *>(object));
        if (isKind(object, NSDictionary::class_()))
            return writeDictionary(static_cast<NSDictionary *>(object), depth);
        if (isKind(object, NSArray::class_()))
            return writeArray(static_cast<NSArray *>(object), depth);
        if (isKind(object, NSData::class_())) {
            auto *data = static_cast<NSData *>(object);
            if (!addPayload(data->length()))
                return nullptr;
            return plist_new_data(static_cast<const char *>(data->bytes()), data->length());
        }
        if (isKind(object, NSDate::class_()))
            return writeDate(static_cast<NSDate *>(object));
        return fail(std::string("an object of class ") + object_getClassName(object) +
                    " cannot be stored in a property list");
    }

    bool addPayload(std::uint64_t bytes)
    {
        payload += bytes;
        if (payload > kMaxWrittenPayload) {
            fail("the property list is too large to serialise");
            return false;
        }
        return true;
    }

    bool checkString(const std::string &text, const char *what)
    {
        if (!sim::isValidUTF8(text)) {
            fail(std::string(what) + " is not valid UTF-8");
            return false;
        }
        if (text.find('\0') != std::string::npos) {
            fail(std::string(what) + " contains a NUL character");
            return false;
        }
        return addPayload(text.size());
    }

    plist_t writeString(const std::string &text)
    {
        if (!checkString(text, "a string"))
            return nullptr;
        return plist_new_string(text.c_str());
    }

    plist_t writeNumber(const NSNumber *number)
    {
        using Kind = NSNumber::Kind;
        switch (number->m_kind) {
        case Kind::Bool:
            return plist_new_bool(number->m_signed != 0);
        case Kind::Float:
        case Kind::Double:
            return plist_new_real(number->m_real);
        case Kind::UnsignedChar:
        case Kind::UnsignedInt:
        case Kind::UnsignedInteger:
            if (number->m_unsigned >
                static_cast<std::uint64_t>(std::numeric_limits<long long>::max())) {
                plist_t node = newUnsignedNode(number->m_unsigned);
                return node ? node : fail("out of memory");
            }
            return plist_new_uint(number->m_unsigned);
        case Kind::Char:
        case Kind::Int:
        case Kind::Integer:
        case Kind::LongLong:
            return plist_new_uint(static_cast<std::uint64_t>(number->m_signed));
        }
        return fail("a number of unknown kind");
    }

    plist_t writeDate(const NSDate *date)
    {
        double sinceReference = date->timeIntervalSince1970() - kReferenceDateSince1970;
        if (!std::isfinite(sinceReference))
            return fail("a date is not finite");
        if (sinceReference < kEarliestDate || sinceReference > kLatestDate)
            return fail("a date lies outside the years 1 to 4001");
        plist_t node = newDateNode(sinceReference);
        return node ? node : fail("libplist could not make a date");
    }

    bool enter(unsigned depth)
    {
        if (depth >= sim::kPropertyListMaxDepth) {
            fail("containers nest too deeply (or a container holds itself)");
            return false;
        }
        return true;
    }

    plist_t writeArray(const NSArray *array, unsigned depth)
    {
        if (!enter(depth))
            return nullptr;
        PlistNode node(plist_new_array());
        for (const auto &element : *array) {
            plist_t child = write(element.get(), depth + 1);
            if (!child)
                return nullptr;
            plist_array_append_item(node.get(), child);
        }
        return node.release();
    }

    plist_t writeDictionary(const NSDictionary *dictionary, unsigned depth)
    {
        if (!enter(depth))
            return nullptr;
        // Sorted keys, as the platform writes them, so that equal dictionaries give equal
        // files.
        std::vector<std::pair<const std::string *, id>> entries;
        entries.reserve(dictionary->count());
        for (const auto &[key, value] : *dictionary) {
            if (!isKind(key, NSString::class_()))
                return fail("a dictionary key is not a string (" + sim::describe(key) + ")");
            const std::string &text = static_cast<NSString *>(key.get())->str();
            if (!checkString(text, "a dictionary key"))
                return nullptr;
            entries.emplace_back(&text, value.get());
        }
        std::sort(entries.begin(), entries.end(),
                  [](const auto &a, const auto &b) { return *a.first < *b.first; });
        PlistNode node(plist_new_dict());
        for (const auto &[key, value] : entries) {
            plist_t child = write(value, depth + 1);
            if (!child)
                return nullptr;
            plist_dict_set_item(node.get(), key->c_str(), child);
        }
        return node.release();
    }
};

void setError(NSString **error, const std::string &text)
{
    if (error)
        *error = NSString::stringWithString(text);
}

id propertyListMessage(id, SEL, NSData *data, NSUInteger options, NSPropertyListFormat *format,
                       NSString **error)
{
    return NSPropertyListSerialization::propertyListWithData(data, options, format, error);
}

NSData *dataMessage(id, SEL, id plist, NSPropertyListFormat format, NSString **error)
{
    return NSPropertyListSerialization::dataFromPropertyList(plist, format, error);
}

const Class kRegistered = [] {
    g_serializationClass =
        ClassBuilder<NSPropertyListSerialization>("NSPropertyListSerialization", "NSObject")
            .classMethod("propertyListWithData:options:format:error:", propertyListMessage)
            .classMethod("dataFromPropertyList:format:errorDescription:", dataMessage)
            .registerClass();
    return g_serializationClass;
}();

} // namespace

Class NSPropertyListSerialization::class_()
{
    return g_serializationClass;
}

id NSPropertyListSerialization::propertyListWithData(NSData *data, NSUInteger options,
                                                     NSPropertyListFormat *format, NSString **error)
{
    if (!data || data->length() == 0) {
        setError(error, "no data to read a property list from");
        return nil;
    }
    if (data->length() > sim::kPropertyListMaxLength) {
        setError(error, "the data is too large for a property list");
        return nil;
    }
    const char *bytes = static_cast<const char *>(data->bytes());
    auto length = static_cast<std::uint32_t>(data->length());
    bool binary = plist_is_binary(bytes, length);
    bool withinLimits = binary ? sim::binaryPropertyListWithinLimits(
                                     reinterpret_cast<const std::uint8_t *>(bytes), length)
                               : sim::xmlPropertyListWithinLimits(bytes, length);
    if (!withinLimits) {
        setError(error, binary ? "the binary property list is malformed or exceeds the limits"
                               : "the XML property list is malformed or exceeds the limits");
        return nil;
    }
    plist_t parsed = nullptr;
    if (binary)
        plist_from_bin(bytes, length, &parsed);
    else
        plist_from_xml(bytes, length, &parsed);
    PlistNode root(parsed);
    if (!root) {
        setError(error, "the data is not a property list in a format libplist reads (XML, "
                        "binary)");
        return nil;
    }

    Reader reader{options, {}};
    StrongRef<objc_object> result;
    {
        AutoreleasePool pool;
        result = reader.read(root.get(), 0);
    }
    if (!result) {
        setError(error, "the property list is invalid: " + reader.failure);
        return nil;
    }
    if (format)
        *format = binary ? NSPropertyListBinaryFormat_v1_0 : NSPropertyListXMLFormat_v1_0;
    return autorelease(result.leak());
}

NSData *NSPropertyListSerialization::dataFromPropertyList(id plist, NSPropertyListFormat format,
                                                          NSString **errorDescription)
{
    if (format != NSPropertyListXMLFormat_v1_0 && format != NSPropertyListBinaryFormat_v1_0) {
        setError(errorDescription, format == NSPropertyListOpenStepFormat
                                       ? "the OpenStep format cannot be written"
                                       : "unknown property list format");
        return nil;
    }
    Writer writer;
    PlistNode root(writer.write(plist, 0));
    if (!root) {
        setError(errorDescription, "property list invalid for format: " + writer.failure);
        return nil;
    }
    char *bytes = nullptr;
    std::uint32_t length = 0;
    if (format == NSPropertyListXMLFormat_v1_0)
        plist_to_xml(root.get(), &bytes, &length);
    else
        plist_to_bin(root.get(), &bytes, &length);
    if (!bytes || length == 0) {
        if (bytes)
            (format == NSPropertyListXMLFormat_v1_0 ? plist_to_xml_free : plist_to_bin_free)(bytes);
        setError(errorDescription, "libplist could not serialise the property list");
        return nil;
    }
    NSData *data = NSData::dataWithBytes(bytes, length);
    if (format == NSPropertyListXMLFormat_v1_0)
        plist_to_xml_free(bytes);
    else
        plist_to_bin_free(bytes);
    return data;
}
