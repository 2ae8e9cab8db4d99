#include "foundation/CoreFoundation.h"

#include <cstdlib>
#include <cstring>

namespace {

id object(CFTypeRef reference)
{
    return static_cast<id>(const_cast<void *>(reference));
}

// An identifier per Core Foundation type: the Foundation class that stands for it.
// Mutable and immutable forms share their type, as on the platform.
CFTypeID typeOf(Class cls)
{
    return reinterpret_cast<CFTypeID>(cls);
}

double readCoreFoundationVersion()
{
    const char *fromProfile = std::getenv("CORVANE_CF_VERSION");
    return fromProfile ? std::strtod(fromProfile, nullptr) : 1240.1;
}

const char kNullAllocator = 0;

} // namespace

const CFAllocatorRef kCFAllocatorNull = &kNullAllocator;
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks{};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks{};
const CFArrayCallBacks kCFTypeArrayCallBacks{};
double kCFCoreFoundationVersionNumber = readCoreFoundationVersion();

CFTypeRef CFRetain(CFTypeRef reference)
{
    return objc_retain(object(reference));
}

void CFRelease(CFTypeRef reference)
{
    objc_release(object(reference));
}

CFTypeRef CFAutorelease(CFTypeRef reference)
{
    return objc_autorelease(object(reference));
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
    return sim::objectsEqual(object(a), object(b));
}

CFTypeID CFGetTypeID(CFTypeRef reference)
{
    id target = object(reference);
    if (!target)
        return 0;
    if (target == kCFBooleanTrue || target == kCFBooleanFalse)
        return CFBooleanGetTypeID();
    for (Class cls : {NSString::class_(), NSDictionary::class_(), NSArray::class_(),
                      NSNumber::class_(), NSData::class_(), NSDate::class_(), NSNull::class_()})
        if (msg<BOOL>(target, "isKindOfClass:"_sel, cls))
            return typeOf(cls);
    return typeOf(object_getClass(target));
}

CFTypeID CFStringGetTypeID()
{
    return typeOf(NSString::class_());
}

CFTypeID CFDictionaryGetTypeID()
{
    return typeOf(NSDictionary::class_());
}

CFTypeID CFArrayGetTypeID()
{
    return typeOf(NSArray::class_());
}

CFTypeID CFNumberGetTypeID()
{
    return typeOf(NSNumber::class_());
}

CFTypeID CFBooleanGetTypeID()
{
    return typeOf(NSNumber::class_()) + 1;
}

CFTypeID CFDataGetTypeID()
{
    return typeOf(NSData::class_());
}

CFTypeID CFDateGetTypeID()
{
    return typeOf(NSDate::class_());
}

CFTypeID CFNullGetTypeID()
{
    return typeOf(NSNull::class_());
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef string)
{
    return string ? static_cast<NSString *>(msg<id>(string, "copy"_sel)) : nullptr;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char *text, CFStringEncoding)
{
    return retain(NSString::stringWithUTF8String(text));
}

Boolean CFStringGetCString(CFStringRef string, char *buffer, CFIndex bufferSize, CFStringEncoding)
{
    if (!string || !buffer || bufferSize <= 0)
        return false;
    const std::string &text = string->str();
    if (static_cast<CFIndex>(text.size()) + 1 > bufferSize)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

CFIndex CFStringGetLength(CFStringRef string)
{
    return string ? static_cast<CFIndex>(string->length()) : 0;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary)
{
    return dictionary ? static_cast<CFIndex>(dictionary->count()) : 0;
}

const void *CFDictionaryGetValue(CFDictionaryRef dictionary, const void *key)
{
    return dictionary ? dictionary->objectForKey(object(key)) : nullptr;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void *key)
{
    return CFDictionaryGetValue(dictionary, key) != nullptr;
}

void CFDictionaryApplyFunction(CFDictionaryRef dictionary, CFDictionaryApplierFunction applier,
                               void *context)
{
    if (!dictionary || !applier)
        return;
    // The applier may not change the dictionary; holding the entries keeps them alive
    // even if it releases the dictionary's last other owner.
    auto entries = dictionary->m_entries;
    for (const auto &[key, value] : entries)
        applier(key.get(), value.get(), context);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex,
                                                 const CFDictionaryKeyCallBacks *,
                                                 const CFDictionaryValueCallBacks *)
{
    return retain(NSMutableDictionary::dictionary());
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void *key, const void *value)
{
    if (dictionary)
        dictionary->setObjectForKey(object(value), object(key));
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void *key)
{
    if (dictionary)
        dictionary->removeObjectForKey(object(key));
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex, const CFArrayCallBacks *)
{
    return retain(NSMutableArray::array());
}

CFArrayRef CFArrayCreateCopy(CFAllocatorRef, CFArrayRef array)
{
    return retain(NSArray::arrayWithArray(array));
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
    return array ? static_cast<CFIndex>(array->count()) : 0;
}

const void *CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
    if (!array)
        return nullptr;
    return array->objectAtIndex(static_cast<NSUInteger>(index));
}

void CFArrayAppendValue(CFMutableArrayRef array, const void *value)
{
    if (array)
        array->addObject(object(value));
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef array, CFIndex index)
{
    if (array)
        array->removeObjectAtIndex(static_cast<NSUInteger>(index));
}

void CFArrayRemoveAllValues(CFMutableArrayRef array)
{
    if (array)
        array->removeAllObjects();
}

CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef array, CFRange range, const void *value)
{
    if (!array)
        return -1;
    CFIndex end = std::min<CFIndex>(range.location + range.length, CFArrayGetCount(array));
    for (CFIndex i = std::max<CFIndex>(range.location, 0); i < end; ++i)
        if (sim::objectsEqual(array->m_objects[static_cast<size_t>(i)], object(value)))
            return i;
    return -1;
}

Boolean CFArrayContainsValue(CFArrayRef array, CFRange range, const void *value)
{
    return CFArrayGetFirstIndexOfValue(array, range, value) >= 0;
}

CFDataRef CFDataCreate(CFAllocatorRef, const std::uint8_t *bytes, CFIndex length)
{
    return retain(NSData::dataWithBytes(bytes, length > 0 ? static_cast<NSUInteger>(length) : 0));
}

CFDataRef CFDataCreateWithBytesNoCopy(CFAllocatorRef, const std::uint8_t *bytes, CFIndex length,
                                      CFAllocatorRef)
{
    return retain(
        NSData::dataWithBytesNoCopy(bytes, length > 0 ? static_cast<NSUInteger>(length) : 0));
}

const std::uint8_t *CFDataGetBytePtr(CFDataRef data)
{
    return data ? static_cast<const std::uint8_t *>(data->bytes()) : nullptr;
}

CFIndex CFDataGetLength(CFDataRef data)
{
    return data ? static_cast<CFIndex>(data->length()) : 0;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void *value)
{
    if (!number || !value)
        return false;
    switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
        *static_cast<signed char *>(value) = number->charValue();
        return true;
    case kCFNumberSInt16Type:
        *static_cast<short *>(value) = static_cast<short>(number->longLongValue());
        return true;
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
        *static_cast<int *>(value) = number->intValue();
        return true;
    case kCFNumberSInt64Type:
    case kCFNumberNSIntegerType:
        *static_cast<long long *>(value) = number->longLongValue();
        return true;
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
        *static_cast<float *>(value) = number->floatValue();
        return true;
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
    case kCFNumberCGFloatType:
        *static_cast<double *>(value) = number->doubleValue();
        return true;
    }
    return false;
}

Boolean CFBooleanGetValue(CFBooleanRef boolean)
{
    return boolean && boolean->boolValue();
}
