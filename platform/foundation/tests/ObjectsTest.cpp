// Foundation's value objects and the Core Foundation names for them.

#include "foundation/CoreFoundation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FoundationObjects : public testing::Test {
    AutoreleasePool m_pool;
};

TEST_F(FoundationObjects, StringsCompareByContentAndCountUtf16Units)
{
    NSString *a = NSString::stringWithUTF8String("caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(a->length(), 7u); // é is one unit, the emoji two
    EXPECT_TRUE(sim::objectsEqual(a, NSString::stringWithString(a->str())));
    EXPECT_FALSE(sim::objectsEqual(a, "cafe"_ns));
    EXPECT_EQ(NSString::stringWithUTF8String(nullptr), nullptr);
    EXPECT_EQ(NSString::stringWithUTF8String("\xC3"), nullptr);         // cut short
    EXPECT_EQ(NSString::stringWithUTF8String("\xC0\xAF"), nullptr);     // overlong
    EXPECT_EQ(NSString::stringWithUTF8String("\xED\xA0\x80"), nullptr); // surrogate
    EXPECT_TRUE("HelveticaNeue"_ns->hasPrefix("Helvetica"_ns));
    EXPECT_TRUE("HelveticaNeue"_ns->hasSuffix("Neue"_ns));
}

TEST_F(FoundationObjects, StringsReadTheDecimalNumberAtTheirStart)
{
    const std::pair<const char *, double> readings[] = {
        {"2.5", 2.5}, {"  -4e2kg", -400}, {"+.5", 0.5}, {"7.", 7},  {"1e", 1},  {"abc", 0},
        {"", 0},      {".", 0},           {"-", 0},     {"inf", 0}, {"nan", 0}, {"-infinity", 0},
        {"0x10", 0},  {"0x1p3", 0},       {"1,5", 1},
    };
    for (const auto &[text, expected] : readings) {
        NSString *string = NSString::stringWithUTF8String(text);
        EXPECT_EQ(msg<double>(string, "doubleValue"_sel), expected) << text;
        EXPECT_EQ(msg<float>(string, "floatValue"_sel), static_cast<float>(expected)) << text;
    }
}

TEST_F(FoundationObjects, FormatsInsertDescriptions)
{
    NSString *line =
        NSString::stringWithFormat("[Corvane][ERROR]: %s: Key '%@' is not a string (!?) %d %.2f %@",
                                   "fn", NSNumber::numberWithInt(5), 42, 1.5, nil);
    EXPECT_EQ(line->str(), "[Corvane][ERROR]: fn: Key '5' is not a string (!?) 42 1.50 (null)");
    EXPECT_EQ(NSString::stringWithFormat("%@", NSArray::arrayWithObjects({"a"_ns, "b"_ns}))->str(),
              "(\n    a,\n    b\n)");
    EXPECT_EQ(NSString::stringWithFormat("%lu%%", 7ul)->str(), "7%");
    EXPECT_EQ(NSString::stringWithFormat("%@", NSNumber::numberWithFloat(1.45f))->str(), "1.45");
}

TEST_F(FoundationObjects, NumbersKeepTheirKindAndConvertLikeCasts)
{
    EXPECT_STREQ(NSNumber::numberWithBool(true)->objCType(), "c");
    EXPECT_TRUE(NSNumber::numberWithBool(true)->isBoolean());
    EXPECT_STREQ(NSNumber::numberWithUnsignedChar(200)->objCType(), "C");
    EXPECT_STREQ(NSNumber::numberWithUnsignedInteger(3)->objCType(), "Q");
    EXPECT_STREQ(NSNumber::numberWithFloat(1.5f)->objCType(), "f");
    EXPECT_EQ(NSNumber::numberWithInt(300)->charValue(), 44); // wraps like (signed char)300
    EXPECT_EQ(NSNumber::numberWithInt(-1)->unsignedCharValue(), 255);
    EXPECT_EQ(NSNumber::numberWithDouble(2.9)->intValue(), 2);
    EXPECT_EQ(NSNumber::numberWithDouble(1e300)->intValue(), -1); // saturates, then narrows
    EXPECT_EQ(NSNumber::numberWithDouble(NAN)->intValue(), 0);
    EXPECT_EQ(NSNumber::numberWithFloat(0.8f)->doubleValue(), static_cast<double>(0.8f));
    EXPECT_TRUE(sim::objectsEqual(NSNumber::numberWithInt(1), NSNumber::numberWithDouble(1.0)));
    EXPECT_FALSE(
        sim::objectsEqual(NSNumber::numberWithInt(-1), NSNumber::numberWithUnsignedInteger(~0ul)));
    EXPECT_EQ(NSNumber::numberWithBool(false), kCFBooleanFalse);

    // The same by message, as code that holds the number as `id` asks.
    id setting = NSNumber::numberWithDouble(0.75);
    EXPECT_TRUE(msg<BOOL>(setting, "boolValue"_sel));
    EXPECT_EQ(msg<float>(setting, "floatValue"_sel), 0.75f);
    EXPECT_EQ(msg<int>(setting, "intValue"_sel), 0);
    EXPECT_FALSE(msg<BOOL>(NSNumber::numberWithBool(false), "boolValue"_sel));
    EXPECT_EQ(msg<NSInteger>(NSNumber::numberWithInt(-3), "integerValue"_sel), -3);
}

TEST_F(FoundationObjects, DictionariesFindEqualKeysSurviveRemovalAndCopyMutableKeys)
{
    NSMutableDictionary *dictionary = NSMutableDictionary::dictionary();
    for (int i = 0; i < 50; ++i)
        dictionary->setObjectForKey(NSNumber::numberWithInt(i),
                                    NSString::stringWithFormat("key%d", i));
    dictionary->setObjectForKey(NSNumber::numberWithInt(-7), "key7"_ns); // replaces
    EXPECT_EQ(dictionary->count(), 50u);
    for (int i = 0; i < 50; i += 2)
        dictionary->removeObjectForKey(NSString::stringWithFormat("key%d", i));
    EXPECT_EQ(dictionary->count(), 25u);
    for (int i = 1; i < 50; i += 2) {
        auto *value = static_cast<NSNumber *>(
            dictionary->objectForKey(NSString::stringWithFormat("key%d", i)));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(value->intValue(), i == 7 ? -7 : i);
    }
    EXPECT_EQ(dictionary->objectForKey("key4"_ns), nullptr);
    EXPECT_EQ(dictionary->objectForKey(nil), nullptr);
    // A mutable key is copied on insertion.
    NSMutableString *key = NSMutableString::string();
    key->setString("pages"_ns);
    dictionary->setObjectForKey("value"_ns, key);
    key->setString("dock"_ns);
    EXPECT_NE(dictionary->objectForKey("pages"_ns), nullptr);
    EXPECT_EQ(dictionary->objectForKey("dock"_ns), nullptr);
}

TEST_F(FoundationObjects, CollectionsCompareDeeply)
{
    NSDictionary *a = NSDictionary::dictionaryWithObjectsForKeys(
        {{"list"_ns, NSArray::arrayWithObjects({NSNumber::numberWithInt(1), "x"_ns})},
         {"flag"_ns, kCFBooleanTrue}});
    NSMutableDictionary *b = NSMutableDictionary::dictionary();
    b->setObjectForKey(kCFBooleanTrue, "flag"_ns);
    b->setObjectForKey(NSArray::arrayWithObjects({NSNumber::numberWithDouble(1), "x"_ns}),
                       "list"_ns);
    EXPECT_TRUE(sim::objectsEqual(a, b));
    b->setObjectForKey(kCFBooleanFalse, "flag"_ns);
    EXPECT_FALSE(sim::objectsEqual(a, b));
}

TEST(FoundationObjectsDeathTest, IndexPastTheEndStopsLoudly)
{
    EXPECT_DEATH(NSArray::array()->objectAtIndex(0), "index 0 beyond bounds");
}

void collect(const void *key, const void *value, void *context)
{
    static_cast<std::vector<std::string> *>(context)->push_back(
        sim::describe(static_cast<id>(const_cast<void *>(key))) + "=" +
        sim::describe(static_cast<id>(const_cast<void *>(value))));
}

TEST_F(FoundationObjects, CoreFoundationNamesAreTheSameObjects)
{
    CFMutableDictionaryRef dictionary = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(dictionary, "a"_ns, NSNumber::numberWithInt(1));
    CFDictionarySetValue(dictionary, "b"_ns, kCFBooleanTrue);
    std::vector<std::string> seen;
    CFDictionaryApplyFunction(dictionary, collect, &seen);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"a=1", "b=1"}));
    EXPECT_EQ(CFGetTypeID(dictionary), CFDictionaryGetTypeID());
    EXPECT_EQ(CFGetTypeID("x"_ns), CFStringGetTypeID());
    EXPECT_EQ(CFGetTypeID(NSMutableString::string()), CFStringGetTypeID());
    EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
    EXPECT_NE(CFGetTypeID(NSArray::array()), CFStringGetTypeID());
    CFRelease(dictionary);

    char buffer[4];
    EXPECT_TRUE(CFStringGetCString("abc"_ns, buffer, sizeof buffer, kCFStringEncodingUTF8));
    EXPECT_FALSE(CFStringGetCString("abcd"_ns, buffer, sizeof buffer, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "abc") << "untouched by the copy that did not fit";
    CFStringRef copy = CFStringCreateCopy(kCFAllocatorDefault, "abc"_ns);
    EXPECT_TRUE(CFEqual(copy, "abc"_ns));
    CFRelease(copy);
    signed char small = 0;
    EXPECT_TRUE(CFNumberGetValue(NSNumber::numberWithInt(-3), kCFNumberSInt8Type, &small));
    EXPECT_EQ(small, -3);

    CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(array, "a"_ns);
    CFArrayAppendValue(array, "b"_ns);
    EXPECT_TRUE(
        CFArrayContainsValue(array, CFRangeMake(0, 2), NSString::stringWithUTF8String("b")));
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(0, 1), "b"_ns), -1);
    CFRelease(array);
}

TEST_F(FoundationObjects, DataMayReferToBytesWithoutCopying)
{
    std::uint8_t bytes[] = {1, 2, 3};
    NSData *view = NSData::dataWithBytesNoCopy(bytes, sizeof bytes);
    NSData *copy = NSData::dataWithBytes(bytes, sizeof bytes);
    EXPECT_EQ(view->bytes(), bytes);
    EXPECT_NE(copy->bytes(), static_cast<const void *>(bytes));
    EXPECT_TRUE(view->isEqualToData(copy));
    bytes[0] = 9;
    EXPECT_FALSE(view->isEqualToData(copy));
}

} // namespace
