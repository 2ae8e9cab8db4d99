#pragma once
// The Core Foundation names the product uses. As on the platform, a CF object and the
// Foundation object are the same thing: a CFStringRef is an NSString, a CFDictionaryRef
// an NSDictionary, and CFRetain/CFRelease are retain and release. The "Create" and
// "Copy" functions hand back an object the caller owns.

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

using CFTypeRef = const void *;
using CFStringRef = NSString *;
using CFMutableStringRef = NSMutableString *;
using CFDictionaryRef = NSDictionary *;
using CFMutableDictionaryRef = NSMutableDictionary *;
using CFArrayRef = NSArray *;
using CFMutableArrayRef = NSMutableArray *;
using CFDataRef = NSData *;
using CFNumberRef = NSNumber *;
using CFBooleanRef = NSNumber *;
using CFIndex = long;
using CFTypeID = unsigned long;
using CFAllocatorRef = const void *;
using CFStringEncoding = std::uint32_t;
using Boolean = unsigned char;

struct CFRange {
    CFIndex location;
    CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length)
{
    return {location, length};
}

inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;
// For CFDataCreateWithBytesNoCopy: the bytes are not freed by the data object.
extern const CFAllocatorRef kCFAllocatorNull;
inline constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;

// Collection callbacks: every collection here retains its objects, so the platform's
// standard callback sets are the only ones there are.
struct CFDictionaryKeyCallBacks {};
struct CFDictionaryValueCallBacks {};
struct CFArrayCallBacks {};
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;
extern const CFArrayCallBacks kCFTypeArrayCallBacks;

// The running system's Core Foundation version; the device profile chooses it (iOS 7 is
// 847.20, iOS 8 1140.10, iOS 9 1240.10, the default).
extern double kCFCoreFoundationVersionNumber;

enum CFNumberType : CFIndex {
    kCFNumberSInt8Type = 1,
    kCFNumberSInt16Type = 2,
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat32Type = 5,
    kCFNumberFloat64Type = 6,
    kCFNumberCharType = 7,
    kCFNumberIntType = 9,
    kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13,
    kCFNumberNSIntegerType = 15,
    kCFNumberCGFloatType = 16,
};

CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFTypeRef CFAutorelease(CFTypeRef object);
Boolean CFEqual(CFTypeRef a, CFTypeRef b);

CFTypeID CFGetTypeID(CFTypeRef object);
CFTypeID CFStringGetTypeID();
CFTypeID CFDictionaryGetTypeID();
CFTypeID CFArrayGetTypeID();
CFTypeID CFNumberGetTypeID();
CFTypeID CFBooleanGetTypeID();
CFTypeID CFDataGetTypeID();
CFTypeID CFDateGetTypeID();
CFTypeID CFNullGetTypeID();

CFStringRef CFStringCreateCopy(CFAllocatorRef allocator, CFStringRef string);
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char *text,
                                      CFStringEncoding encoding);
// Copies the text with its terminating NUL; false (and the buffer untouched beyond an
// empty string) when it does not fit.
Boolean CFStringGetCString(CFStringRef string, char *buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
CFIndex CFStringGetLength(CFStringRef string);

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);
const void *CFDictionaryGetValue(CFDictionaryRef dictionary, const void *key);
Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void *key);
using CFDictionaryApplierFunction = void (*)(const void *key, const void *value, void *context);
void CFDictionaryApplyFunction(CFDictionaryRef dictionary, CFDictionaryApplierFunction applier,
                               void *context);
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks *keyCallBacks,
                                                 const CFDictionaryValueCallBacks *valueCallBacks);
void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void *key, const void *value);
void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void *key);

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                       const CFArrayCallBacks *callBacks);
CFArrayRef CFArrayCreateCopy(CFAllocatorRef allocator, CFArrayRef array);
CFIndex CFArrayGetCount(CFArrayRef array);
const void *CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);
void CFArrayAppendValue(CFMutableArrayRef array, const void *value);
void CFArrayRemoveValueAtIndex(CFMutableArrayRef array, CFIndex index);
void CFArrayRemoveAllValues(CFMutableArrayRef array);
Boolean CFArrayContainsValue(CFArrayRef array, CFRange range, const void *value);
CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef array, CFRange range, const void *value);

CFDataRef CFDataCreate(CFAllocatorRef allocator, const std::uint8_t *bytes, CFIndex length);
CFDataRef CFDataCreateWithBytesNoCopy(CFAllocatorRef allocator, const std::uint8_t *bytes,
                                      CFIndex length, CFAllocatorRef bytesDeallocator);
const std::uint8_t *CFDataGetBytePtr(CFDataRef data);
CFIndex CFDataGetLength(CFDataRef data);

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void *value);
Boolean CFBooleanGetValue(CFBooleanRef boolean);
