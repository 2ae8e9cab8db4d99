#pragma once
// Property lists: reading and writing trees of strings, numbers, booleans, data, dates,
// arrays and dictionaries in Apple's XML and binary formats, through libplist.
//
// Mapping, both ways:
//   dictionary <-> NSDictionary (keys are strings; a dictionary with any other key cannot
//                  be written), array <-> NSArray, string <-> NSString,
//   <true/>/<false/> <-> kCFBooleanTrue / kCFBooleanFalse,
//   integer <-> NSNumber: read as kind LongLong, or UnsignedInteger for values above
//                  INT64_MAX; every integer kind is written as <integer> with its own
//                  signed or unsigned value (an unsigned char 255 stays 255),
//   real    <-> NSNumber of kind Double (Float and Double numbers are written as <real>),
//   data    <-> NSData, date <-> NSDate.
//
// Reading is all or nothing: input that is not a well-formed property list gives nil,
// never a partial tree. That includes strings or keys that are not valid UTF-8 or, in
// binary, UTF-16 with unpaired surrogates (the whole input is rejected, not just the
// value), containers nested deeper than sim::kPropertyListMaxDepth, more than
// sim::kPropertyListMaxObjects objects once shared binary objects are expanded, input larger
// than sim::kPropertyListMaxLength, and keyed-archiver UIDs.
//
// Dictionaries are written with their keys sorted (bytewise), so equal dictionaries give
// equal files.
//
// What libplist 2.2 cannot do, and so neither can this:
//   - The OpenStep format: neither read (nil) nor written (nil and a description).
//   - XML dates keep whole seconds only, as the platform's XML does; binary dates keep
//     microseconds. Dates are written between the years 1 and 4001 (distantPast and
//     distantFuture); beyond that writing fails.
//   - XML writes negative zero as 0.0 (binary keeps the sign).
//   - libplist is lenient with some malformed XML scalars (an <integer> that is not a
//     number reads as 0, one out of range saturates, bad base64 is skipped), and takes
//     a binary "ASCII" string's bytes as UTF-8.

#include "objc/ClassBuilder.h"

struct NSData;
struct NSString;

enum NSPropertyListFormat : NSUInteger {
    NSPropertyListOpenStepFormat = 1,
    NSPropertyListXMLFormat_v1_0 = 100,
    NSPropertyListBinaryFormat_v1_0 = 200
};

enum : NSUInteger {
    NSPropertyListImmutable = 0,
    // Arrays and dictionaries come back as NSMutableArray / NSMutableDictionary.
    NSPropertyListMutableContainers = 1,
    // Also strings as NSMutableString (data stays NSData: there is no NSMutableData).
    NSPropertyListMutableContainersAndLeaves = 2
};

namespace sim {
// Limits that keep hostile input from exhausting the stack or memory.
inline constexpr unsigned kPropertyListMaxDepth = 512;              // nested containers
inline constexpr unsigned long kPropertyListMaxObjects = 1UL << 21; // values, keys included
inline constexpr unsigned long kPropertyListMaxLength = 64UL << 20; // bytes of input
} // namespace sim

struct NSPropertyListSerialization : NSObject {
    static Class class_();
    // Parses XML or binary data; nil when the data is not a property list. `format` and
    // `error` may be null; *format is set on success, *error (autoreleased) on failure.
    static id propertyListWithData(NSData *data, NSUInteger options, NSPropertyListFormat *format,
                                   NSString **error);
    // Serialises; nil (and a description in *errorDescription when given) for objects a
    // property list cannot hold, nesting deeper than sim::kPropertyListMaxDepth (a container
    // that holds itself), or the OpenStep format.
    static NSData *dataFromPropertyList(id plist, NSPropertyListFormat format,
                                        NSString **errorDescription);
};
