// Property lists through libplist: serialisation in both formats, NSDictionary's files,
// Python's plistlib reading what we write and writing what we read, and hostile input.

#include "foundation/DeviceRoot.h"
#include "foundation/Foundation.h"
#include "foundation/NSPropertyList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Kind = NSNumber::Kind;

const NSPropertyListFormat kFormats[] = {NSPropertyListXMLFormat_v1_0,
                                         NSPropertyListBinaryFormat_v1_0};

const char *formatName(NSPropertyListFormat format)
{
    return format == NSPropertyListXMLFormat_v1_0 ? "XML" : "binary";
}

bool isKind(id object, Class cls)
{
    return object && msg<BOOL>(object, "isKindOfClass:"_sel, cls);
}

std::string text(NSData *data)
{
    return data ? std::string(static_cast<const char *>(data->bytes()), data->length()) : "";
}

// The bytes of `plist` in `format`, empty when it is refused.
std::string serialised(id plist, NSPropertyListFormat format)
{
    return text(NSPropertyListSerialization::dataFromPropertyList(plist, format, nullptr));
}

NSData *dataOf(const std::string &bytes)
{
    return NSData::dataWithBytes(bytes.data(), bytes.size());
}

id parse(const std::string &bytes)
{
    return NSPropertyListSerialization::propertyListWithData(dataOf(bytes), 0, nullptr, nullptr);
}

// Serialises and parses again, checking the format is recognised.
id roundTrip(id plist, NSPropertyListFormat format, NSUInteger options = NSPropertyListImmutable)
{
    NSString *error = nil;
    NSData *data = NSPropertyListSerialization::dataFromPropertyList(plist, format, &error);
    EXPECT_NE(data, nullptr) << formatName(format) << ": " << sim::describe(error);
    if (!data)
        return nil;
    NSPropertyListFormat found = NSPropertyListOpenStepFormat;
    id back = NSPropertyListSerialization::propertyListWithData(data, options, &found, &error);
    EXPECT_NE(back, nullptr) << formatName(format) << ": " << sim::describe(error);
    EXPECT_EQ(found, format);
    return back;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

void writeFile(const std::string &path, const std::string &contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

std::vector<std::string> listDirectory(const std::string &path)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs a shell command, its output into the file `output`; its exit status.
int run(const std::string &command, const std::string &output = "/dev/null")
{
    int status = std::system((command + " >'" + output + "' 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `value` big-endian in `size` bytes: an object reference, an offset or a count.
std::string reference(std::uint64_t value, unsigned size = 4)
{
    std::string out;
    for (unsigned i = size; i-- > 0;)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// A binary property list made by hand: objects in order, 8-byte offsets, 4-byte
// references, the first object on top.
std::string binaryPlist(const std::vector<std::string> &objects)
{
    std::string out = "bplist00";
    std::string offsets;
    for (const auto &object : objects) {
        offsets += reference(out.size(), 8);
        out += object;
    }
    std::uint64_t tableOffset = out.size();
    out += offsets + std::string(6, '\0') + '\x08' + '\x04';
    return out + reference(objects.size(), 8) + reference(0, 8) + reference(tableOffset, 8);
}

// An array object holding the given references.
std::string arrayObject(const std::vector<std::uint64_t> &children)
{
    std::string out;
    if (children.size() < 15) // else the count follows as an integer object: 0x12, four bytes
        out += static_cast<char>(0xA0 | children.size());
    else
        out += "\xAF\x12" + reference(children.size(), 4);
    for (auto child : children)
        out += reference(child);
    return out;
}

const std::string kTrueObject(1, '\x09');

// Every byte value once, in order.
const std::string kAllBytes = [] {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}();

class PropertyList : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "plist-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        sim::setDeviceRoot(m_root);
        ASSERT_TRUE(sim::makeDirectories(sim::hostPath(kPreferences)));
    }

    void TearDown() override { (void)std::system(("rm -rf '" + m_root + "'").c_str()); }

    // A phone path in the preferences directory, and its host path.
    static NSString *phonePath(const char *name)
    {
        return NSString::stringWithFormat("%s/%s", kPreferences, name);
    }
    static std::string hostPath(const char *name) { return sim::hostPath(phonePath(name)->str()); }

    static constexpr const char *kPreferences = "/var/mobile/Library/Preferences";
    AutoreleasePool m_pool;
    std::string m_root;
};

// ---------------------------------------------------------------------------------------
// Serialisation

TEST_F(PropertyList, NumbersKeepTheirValueAndKindAndBooleansStayBooleans)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<NSNumber *, Kind> cases[] = {
        {NSNumber::numberWithChar(-128), Kind::LongLong},
        {NSNumber::numberWithUnsignedChar(255), Kind::LongLong},
        {NSNumber::numberWithInt(std::numeric_limits<int>::min()), Kind::LongLong},
        {NSNumber::numberWithUnsignedInt(std::numeric_limits<unsigned>::max()), Kind::LongLong},
        {NSNumber::numberWithInteger(std::numeric_limits<NSInteger>::min()), Kind::LongLong},
        {NSNumber::numberWithLongLong(0), Kind::LongLong},
        // Only values that do not fit a signed 64-bit integer come back unsigned.
        {NSNumber::numberWithUnsignedInteger(9223372036854775808UL), Kind::UnsignedInteger},
        {NSNumber::numberWithUnsignedInteger(std::numeric_limits<NSUInteger>::max()),
         Kind::UnsignedInteger},
        // A float comes back as the double it widens to.
        {NSNumber::numberWithFloat(0.1f), Kind::Double},
        {NSNumber::numberWithDouble(0.1), Kind::Double},
        {NSNumber::numberWithDouble(-2.5e300), Kind::Double},
        {NSNumber::numberWithDouble(1.0), Kind::Double},
        {NSNumber::numberWithDouble(5e-324), Kind::Double},
        {NSNumber::numberWithDouble(infinity), Kind::Double},
        {NSNumber::numberWithDouble(-infinity), Kind::Double},
    };
    for (NSPropertyListFormat format : kFormats) {
        for (const auto &[number, kind] : cases) {
            SCOPED_TRACE(std::string(formatName(format)) + " " + number->stringValue()->str() +
                         " kind " + number->objCType());
            auto *back = static_cast<NSNumber *>(roundTrip(number, format));
            ASSERT_TRUE(isKind(back, NSNumber::class_()));
            EXPECT_EQ(back->m_kind, kind);
            EXPECT_TRUE(back->isEqualToNumber(number));
        }
        auto *nan =
            static_cast<NSNumber *>(roundTrip(NSNumber::numberWithDouble(std::nan("")), format));
        ASSERT_NE(nan, nullptr);
        EXPECT_TRUE(std::isnan(nan->doubleValue()));
        EXPECT_EQ(roundTrip(kCFBooleanTrue, format), kCFBooleanTrue);
        EXPECT_EQ(roundTrip(kCFBooleanFalse, format), kCFBooleanFalse);
        auto *one = static_cast<NSNumber *>(roundTrip(NSNumber::numberWithInt(1), format));
        ASSERT_NE(one, nullptr);
        EXPECT_FALSE(one->isBoolean());
    }
    std::string xml = serialised(cases[7].first, NSPropertyListXMLFormat_v1_0);
    EXPECT_NE(xml.find("<integer>18446744073709551615</integer>"), std::string::npos) << xml;
    // Binary keeps the sign of zero (XML writes 0.0).
    auto *negativeZero = static_cast<NSNumber *>(
        roundTrip(NSNumber::numberWithDouble(-0.0), NSPropertyListBinaryFormat_v1_0));
    ASSERT_NE(negativeZero, nullptr);
    EXPECT_TRUE(std::signbit(negativeZero->doubleValue()));
}

// Five levels of dictionaries and arrays, with every kind of value at the bottom.
NSDictionary *nestedTree()
{
    NSMutableDictionary *leaves = NSMutableDictionary::dictionary();
    leaves->setObjectForKey(
        "caf\xC3\xA9 \xF0\x9F\x98\x80 \xE6\x97\xA5\xE6\x9C\xAC \xD7\xA9\xD7\x9C"_ns, "string"_ns);
    leaves->setObjectForKey(NSNumber::numberWithInt(-42), "int"_ns);
    leaves->setObjectForKey(NSNumber::numberWithDouble(3.25), "real"_ns);
    leaves->setObjectForKey(kCFBooleanTrue, "flag"_ns);
    leaves->setObjectForKey(NSData::dataWithBytes("\x00\x01\xFF", 3), "data"_ns);
    leaves->setObjectForKey(NSDate::dateWithTimeIntervalSince1970(1400000000), "date"_ns);
    leaves->setObjectForKey(NSArray::array(), "emptyArray"_ns);
    leaves->setObjectForKey(NSDictionary::dictionary(), "emptyDictionary"_ns);
    leaves->setObjectForKey(""_ns, "emptyString"_ns);
    leaves->setObjectForKey(NSData::dataWithBytes(nullptr, 0), "emptyData"_ns);
    leaves->setObjectForKey("value"_ns, "\xC3\xBC\x62\x65r-key \xF0\x9F\x94\x91"_ns);
    id level = leaves;
    for (int depth = 0; depth < 4; ++depth) {
        NSArray *array = NSArray::arrayWithObjects({level, NSNumber::numberWithInt(depth)});
        level = NSDictionary::dictionaryWithObjectsForKeys(
            {{NSString::stringWithFormat("level%d", depth), array}, {"sibling"_ns, "x"_ns}});
    }
    return static_cast<NSDictionary *>(level);
}

void expectMutability(id object, bool containers, bool leaves)
{
    if (isKind(object, NSDictionary::class_())) {
        EXPECT_EQ(isKind(object, NSMutableDictionary::class_()), containers);
        for (const auto &[key, value] : *static_cast<NSDictionary *>(object))
            expectMutability(value, containers, leaves);
    } else if (isKind(object, NSArray::class_())) {
        EXPECT_EQ(isKind(object, NSMutableArray::class_()), containers);
        for (const auto &element : *static_cast<NSArray *>(object))
            expectMutability(element, containers, leaves);
    } else if (isKind(object, NSString::class_())) {
        EXPECT_EQ(isKind(object, NSMutableString::class_()), leaves);
    }
}

TEST_F(PropertyList, NestedTreesRoundTripWithTheMutabilityAskedFor)
{
    NSDictionary *tree = nestedTree();
    for (NSPropertyListFormat format : kFormats) {
        SCOPED_TRACE(formatName(format));
        id immutable = roundTrip(tree, format, NSPropertyListImmutable);
        EXPECT_TRUE(sim::objectsEqual(immutable, tree)) << sim::describe(immutable);
        expectMutability(immutable, false, false);
        expectMutability(roundTrip(tree, format, NSPropertyListMutableContainers), true, false);
        id leaves = roundTrip(tree, format, NSPropertyListMutableContainersAndLeaves);
        expectMutability(leaves, true, true);
        EXPECT_TRUE(sim::objectsEqual(leaves, tree));
    }
}

TEST_F(PropertyList, DataAndDatesRoundTrip)
{
    for (NSPropertyListFormat format : kFormats) {
        for (NSData *data : {dataOf(kAllBytes), NSData::dataWithBytes(nullptr, 0)})
            EXPECT_TRUE(sim::objectsEqual(roundTrip(data, format), data)) << formatName(format);
    }
    auto date = [](double since1970, NSPropertyListFormat format) {
        auto *back = static_cast<NSDate *>(
            roundTrip(NSDate::dateWithTimeIntervalSince1970(since1970), format));
        EXPECT_TRUE(isKind(back, NSDate::class_())) << since1970;
        return back ? back->timeIntervalSince1970() : -1.0;
    };
    // Binary keeps microseconds, before 2001 as after, and dates far from 2001.
    for (double since1970 :
         {1400000000.25, 978307195.25, 0.0, 1e9 + 0.000001, -1e9 - 0.5, 32503680000.0})
        EXPECT_NEAR(date(since1970, NSPropertyListBinaryFormat_v1_0), since1970, 1e-6)
            << std::fixed << since1970;
    // XML keeps whole seconds, as the platform's XML does, beyond the 32-bit seconds from
    // 2001 that libplist's date API is limited to (1900-01-01 here).
    EXPECT_EQ(date(1400000000.75, NSPropertyListXMLFormat_v1_0), 1400000000.0);
    EXPECT_EQ(date(-2208988800.0, NSPropertyListXMLFormat_v1_0), -2208988800.0);
    std::string xml =
        serialised(NSDate::dateWithTimeIntervalSince1970(1400000000), NSPropertyListXMLFormat_v1_0);
    EXPECT_NE(xml.find("<date>2014-05-13T16:53:20Z</date>"), std::string::npos) << xml;
    auto *parsed = static_cast<NSDate *>(parse("<plist><date>3000-01-01T00:00:00Z</date></plist>"));
    ASSERT_TRUE(isKind(parsed, NSDate::class_()));
    EXPECT_EQ(parsed->timeIntervalSince1970(), 32503680000.0);

    // Past the years 1 to 4001, or not a number: refused.
    for (double since1970 : {-1e12, std::numeric_limits<double>::quiet_NaN()}) {
        NSString *error = nil;
        EXPECT_EQ(NSPropertyListSerialization::dataFromPropertyList(
                      NSDate::dateWithTimeIntervalSince1970(since1970),
                      NSPropertyListBinaryFormat_v1_0, &error),
                  nullptr);
        EXPECT_NE(sim::describe(error).find("date"), std::string::npos);
    }
}

TEST_F(PropertyList, ObjectsAPropertyListCannotHoldAreRefused)
{
    auto refused = [](id plist, const char *expected) {
        for (NSPropertyListFormat format : kFormats) {
            NSString *error = nil;
            EXPECT_EQ(NSPropertyListSerialization::dataFromPropertyList(plist, format, &error),
                      nullptr);
            ASSERT_NE(error, nullptr);
            EXPECT_NE(error->str().find(expected), std::string::npos) << error->str();
        }
    };
    refused(NSNull::null(), "NSNull");
    refused(NSArray::arrayWithObjects({"ok"_ns, NSNull::null()}), "NSNull");
    refused(NSDictionary::dictionaryWithObjectsForKeys({{NSNumber::numberWithInt(1), "v"_ns}}),
            "key is not a string");
    refused(
        NSDictionary::dictionaryWithObjectsForKeys(
            {{"outer"_ns, NSDictionary::dictionaryWithObjectsForKeys({{kCFBooleanTrue, "v"_ns}})}}),
        "key is not a string");
    refused(nil, "nil");
    refused(NSString::stringWithString(std::string_view("a\0b", 3)), "NUL");

    // A container that holds itself: refused by the depth limit, not a stack overflow.
    NSMutableArray *loop = NSMutableArray::array();
    loop->addObject(loop);
    refused(loop, "too deeply");
    loop->removeAllObjects(); // break the cycle so the array can go

    NSString *error = nil;
    EXPECT_EQ(NSPropertyListSerialization::dataFromPropertyList(
                  NSDictionary::dictionary(), NSPropertyListOpenStepFormat, &error),
              nullptr);
    EXPECT_NE(sim::describe(error).find("OpenStep"), std::string::npos);
    // Errors are optional.
    EXPECT_EQ(serialised(NSNull::null(), NSPropertyListXMLFormat_v1_0), "");
}

TEST_F(PropertyList, ClassIsRegisteredAndAnswersMessages)
{
    id cls = reinterpret_cast<id>(objc_getClass("NSPropertyListSerialization"));
    ASSERT_NE(cls, nil);
    NSString *error = nil;
    auto *data = msg<NSData *>(cls, "dataFromPropertyList:format:errorDescription:"_sel,
                               static_cast<id>(NSArray::arrayWithObjects({"a"_ns})),
                               NSPropertyListBinaryFormat_v1_0, &error);
    NSPropertyListFormat format = NSPropertyListOpenStepFormat;
    id back = msg<id>(cls, "propertyListWithData:options:format:error:"_sel, data,
                      NSUInteger{NSPropertyListImmutable}, &format, &error);
    EXPECT_TRUE(sim::objectsEqual(back, NSArray::arrayWithObjects({"a"_ns})));
    EXPECT_EQ(format, NSPropertyListBinaryFormat_v1_0);
}

// ---------------------------------------------------------------------------------------
// Hostile and broken input

TEST_F(PropertyList, GarbageInvalidTextAndBadReferencesRejectTheWholeInput)
{
    NSString *error = nil;
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithData(nil, 0, nullptr, &error), nullptr);
    EXPECT_NE(error, nullptr);
    std::vector<std::string> twice; // each level refers twice to the next: 2^60 values
    for (std::uint64_t i = 0; i < 60; ++i)
        twice.push_back(arrayObject({i + 1, i + 1}));
    twice.push_back(kTrueObject);
    const std::string rejected[] = {
        "", "hello", "bplist00", "bplist00" + std::string(40, '\xFF'),
        "<plist><array><true/></plist>",
        "<plist><dict><string>a</string><string>b</string></dict></plist>",
        "{ a = b; }", // OpenStep: libplist 2.2 has no parser for it
        "<!DOCTYPE p [<!ENTITY a \"aaaa\">]><plist><string>&a;</string></plist>", // no entities
        binaryPlist({arrayObject({1}), "\x80\x05"}), // a keyed-archiver UID
        // Invalid UTF-8 in XML; a binary "ASCII" string above 0x7F; a lone UTF-16 surrogate.
        "<plist><dict><key>ok</key><string>bad \xFF\xFE</string></dict></plist>",
        "<plist><dict><key>bad \xC3</key><string>ok</string></dict></plist>",
        "<plist><array><string>\xED\xA0\x80</string></array></plist>",
        binaryPlist({arrayObject({1}), "\x52\xC3\x28"}),
        binaryPlist({arrayObject({1}), std::string("\x61\xD8\x00", 3)}),
        // NUL characters: XML has none, and libplist would cut a key short at one.
        std::string("<plist><dict><key>a\0b</key><true/></dict></plist>", 49),
        std::string("<plist><string>a\0b</string></plist>", 35),
        binaryPlist(
            {"\xD1" + reference(1) + reference(2), std::string("\x53k\0y", 4), kTrueObject}),
        binaryPlist({arrayObject({1}), std::string("\x62\0a\0\0", 5)}),
        binaryPlist({"\xD1" + reference(1) + reference(1), kTrueObject}), // a key not a string
        // An array holding itself, two holding each other, a reference past the end.
        binaryPlist({arrayObject({0})}), binaryPlist({arrayObject({1}), arrayObject({0})}),
        binaryPlist({arrayObject({5})}), binaryPlist(twice)};
    for (const std::string &bytes : rejected)
        EXPECT_EQ(parse(bytes), nullptr) << testing::PrintToString(bytes);
    // The same binary strings with good text parse.
    EXPECT_NE(parse(binaryPlist({arrayObject({1}), "\x52\xC3\xA9"})), nullptr);
    EXPECT_NE(parse(binaryPlist({arrayObject({1}), std::string("\x61\x00\xE9", 3)})), nullptr);
}

// (Random corruption, in XML as in binary, is the property-list fuzz target's work.)
TEST_F(PropertyList, EveryTruncationOfABinaryListIsRefused)
{
    std::string binary = serialised(nestedTree(), NSPropertyListBinaryFormat_v1_0);
    ASSERT_NE(parse(binary), nullptr);
    for (std::size_t length = 0; length < binary.size(); ++length)
        EXPECT_EQ(parse(binary.substr(0, length)), nullptr) << "truncated to " << length;
}

std::string nestedXmlArrays(std::size_t depth)
{
    std::string open, close;
    for (std::size_t i = 0; i < depth; ++i) {
        open += "<array>";
        close += "</array>";
    }
    return "<plist>" + open + "<true/>" + close + "</plist>";
}

// `depth` arrays, each holding the next, the innermost holding true.
std::string nestedBinaryArrays(std::size_t depth)
{
    std::vector<std::string> objects;
    for (std::size_t i = 0; i < depth; ++i)
        objects.push_back(arrayObject({i + 1}));
    objects.push_back(kTrueObject);
    return binaryPlist(objects);
}

TEST_F(PropertyList, NestingIsLimited)
{
    for (auto nested : {nestedXmlArrays, nestedBinaryArrays}) {
        EXPECT_NE(parse(nested(sim::kPropertyListMaxDepth)), nullptr);
        EXPECT_EQ(parse(nested(sim::kPropertyListMaxDepth + 1)), nullptr);
        EXPECT_EQ(parse(nested(200000)), nullptr); // would overflow libplist's stack
    }
    // Comments and CDATA cannot hide nesting from the check.
    std::string hidden = "<plist>";
    for (int i = 0; i < 100000; ++i)
        hidden += "<array><!-- </x> -->";
    EXPECT_EQ(parse(hidden), nullptr);

    // What we write nests just as deep as we read.
    id deep = kCFBooleanTrue;
    for (unsigned i = 0; i < sim::kPropertyListMaxDepth; ++i)
        deep = NSArray::arrayWithObjects({deep});
    for (NSPropertyListFormat format : kFormats)
        EXPECT_TRUE(sim::objectsEqual(roundTrip(deep, format), deep));
    EXPECT_EQ(serialised(NSArray::arrayWithObjects({deep}), NSPropertyListXMLFormat_v1_0), "");
}

TEST_F(PropertyList, SharedBinaryObjectsAreReadButCannotHideDepth)
{
    // libplist recurses once per level, and a thread's stack may be small, so depth is
    // checked before it parses. A chain entered at every 400th link, last first: no walk
    // from one entry is deep, but the chain below the first entry is 20000 links long.
    const std::uint64_t length = 20000;
    std::vector<std::uint64_t> entries;
    for (std::uint64_t link = length; link-- > 0;)
        if (link % 400 == 0)
            entries.push_back(1 + link);
    std::vector<std::string> chain{arrayObject(entries)};
    for (std::uint64_t i = 1; i <= length; ++i)
        chain.push_back(arrayObject({i + 1}));
    chain.push_back(kTrueObject);
    NSString *error = nil;
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithData(dataOf(binaryPlist(chain)), 0,
                                                                nullptr, &error),
              nullptr);
    EXPECT_NE(sim::describe(error).find("binary property list is malformed or exceeds the limits"),
              std::string::npos)
        << sim::describe(error);
    // Modest sharing is fine (the platform's writer shares equal values), and a dictionary's
    // key (0xD1: one entry) and value may be any objects of the table.
    EXPECT_TRUE(sim::objectsEqual(
        parse(binaryPlist({arrayObject({1, 1, 1}), kTrueObject})),
        NSArray::arrayWithObjects({kCFBooleanTrue, kCFBooleanTrue, kCFBooleanTrue})));
    EXPECT_TRUE(sim::objectsEqual(
        parse(binaryPlist({"\xD1" + reference(1) + reference(2), "\x51k", kTrueObject})),
        NSDictionary::dictionaryWithObjectsForKeys({{"k"_ns, kCFBooleanTrue}})));
}

// ---------------------------------------------------------------------------------------
// NSDictionary's files

NSDictionary *settings()
{
    return NSDictionary::dictionaryWithObjectsForKeys(
        {{"enabled"_ns, kCFBooleanTrue},
         {"columns"_ns, NSNumber::numberWithUnsignedChar(5)},
         {"negative"_ns, NSNumber::numberWithInt(-3)},
         {"big"_ns, NSNumber::numberWithUnsignedInteger(18446744073709551615UL)},
         {"scale"_ns, NSNumber::numberWithDouble(0.75)},
         {"name"_ns, "Dock \xE2\x9C\x93"_ns},
         {"blob"_ns, NSData::dataWithBytes("\x01\x02", 2)},
         {"when"_ns, NSDate::dateWithTimeIntervalSince1970(1400000000)},
         {"pages"_ns, NSArray::arrayWithObjects({NSDictionary::dictionaryWithObjectsForKeys(
                                                     {{"icons"_ns, NSNumber::numberWithInt(24)}}),
                                                 NSArray::array()})}});
}

std::string binarySettings()
{
    return serialised(settings(), NSPropertyListBinaryFormat_v1_0);
}

TEST_F(PropertyList, FilesRoundTripAtomicallyAndDirectlyKeepingTheirPermissions)
{
    NSDictionary *written = settings();
    for (bool atomically : {true, false}) {
        SCOPED_TRACE(atomically ? "atomically" : "directly");
        const char *name = atomically ? "atomic.plist" : "direct.plist";
        ASSERT_TRUE(written->writeToFile(phonePath(name), atomically));
        NSDictionary *read = NSDictionary::dictionaryWithContentsOfFile(phonePath(name));
        EXPECT_TRUE(sim::objectsEqual(read, written)) << sim::describe(read);
        EXPECT_FALSE(isKind(read, NSMutableDictionary::class_()));
        EXPECT_EQ(readFile(hostPath(name)).rfind("<?xml", 0), 0u) << "written as XML";
        // Overwriting replaces the contents and keeps the file's permissions.
        ASSERT_EQ(chmod(hostPath(name).c_str(), 0600), 0);
        NSDictionary *smaller = NSDictionary::dictionaryWithObjectsForKeys({{"a"_ns, "b"_ns}});
        ASSERT_TRUE(smaller->writeToFile(phonePath(name), atomically));
        EXPECT_TRUE(sim::objectsEqual(NSDictionary::dictionaryWithContentsOfFile(phonePath(name)),
                                      smaller));
        struct stat info {};
        ASSERT_EQ(stat(hostPath(name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
    }
    EXPECT_EQ(listDirectory(sim::hostPath(kPreferences)),
              (std::vector<std::string>{"atomic.plist", "direct.plist"}))
        << "no temporary file is left behind";
}

TEST_F(PropertyList, BinaryFilesReadAndFilesThatAreNotDictionariesReadAsNil)
{
    writeFile(hostPath("binary.plist"), binarySettings());
    EXPECT_TRUE(sim::objectsEqual(
        NSDictionary::dictionaryWithContentsOfFile(phonePath("binary.plist")), settings()));

    writeFile(hostPath("array.plist"),
              serialised(NSArray::arrayWithObjects({"a"_ns}), NSPropertyListBinaryFormat_v1_0));
    writeFile(hostPath("garbage.plist"), "\x89PNG\r\n\x1a\n not a plist at all");
    writeFile(hostPath("empty.plist"), "");
    writeFile(hostPath("truncated.plist"),
              binarySettings().substr(0, binarySettings().size() - 10));
    // A FIFO is refused at once rather than waited on.
    ASSERT_EQ(mkfifo(hostPath("fifo.plist").c_str(), 0600), 0);
    EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile(nil), nullptr);
    for (NSString *path :
         {""_ns, NSString::stringWithUTF8String(kPreferences), phonePath("missing.plist"),
          phonePath("array.plist"), phonePath("garbage.plist"), phonePath("empty.plist"),
          phonePath("truncated.plist"), phonePath("fifo.plist")})
        EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile(path), nullptr) << path->str();
}

TEST_F(PropertyList, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    NSString *path = phonePath("kept.plist");
    NSDictionary *old = NSDictionary::dictionaryWithObjectsForKeys({{"old"_ns, kCFBooleanTrue}});
    ASSERT_TRUE(old->writeToFile(path, true));
    std::string before = readFile(hostPath("kept.plist"));

    // Objects a property list cannot hold, a missing directory (not created) or no path:
    // nothing is written, in either mode.
    NSDictionary *bad = NSDictionary::dictionaryWithObjectsForKeys(
        {{"fine"_ns, "x"_ns}, {"null"_ns, NSNull::null()}});
    NSDictionary *badKey =
        NSDictionary::dictionaryWithObjectsForKeys({{NSNumber::numberWithInt(3), "x"_ns}});
    for (bool atomically : {true, false}) {
        EXPECT_FALSE(bad->writeToFile(path, atomically));
        EXPECT_FALSE(badKey->writeToFile(path, atomically));
        EXPECT_FALSE(old->writeToFile(phonePath("Missing/x.plist"), atomically));
        EXPECT_FALSE(old->writeToFile(nil, atomically));
    }
    EXPECT_EQ(readFile(hostPath("kept.plist")), before);

    // The rename fails after the temporary file was written (the target is a directory).
    std::string directoryTarget = hostPath("directory.plist");
    ASSERT_EQ(mkdir(directoryTarget.c_str(), 0700), 0);
    writeFile(directoryTarget + "/inside", "x");
    EXPECT_FALSE(old->writeToFile(phonePath("directory.plist"), true));
    EXPECT_EQ(listDirectory(sim::hostPath(kPreferences)),
              (std::vector<std::string>{"directory.plist", "kept.plist"}));
    EXPECT_EQ(listDirectory(directoryTarget), std::vector<std::string>{"inside"});
    EXPECT_EQ(readFile(hostPath("kept.plist")), before);
}

// A writer killed between creating its temporary file and the rename leaves the file
// behind; the next atomic write of the same target removes it, but never the file of a
// writer that is still alive, nor a temporary file of another target.
TEST_F(PropertyList, AtomicWritesRemoveTheTemporaryFilesOfKilledWriters)
{
    pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    std::string orphan = ".kept.plist.tmp-" + std::to_string(gone) + "-0-123";
    std::string live = ".kept.plist.tmp-" + std::to_string(getppid()) + "-0-456";
    std::string otherTarget = ".other.plist.tmp-" + std::to_string(gone) + "-0-789";
    for (const std::string &name : {orphan, live, otherTarget})
        writeFile(hostPath(name.c_str()), "<?xml half written");

    ASSERT_TRUE(settings()->writeToFile(phonePath("kept.plist"), true));
    EXPECT_EQ(listDirectory(sim::hostPath(kPreferences)),
              (std::vector<std::string>{live, otherTarget, "kept.plist"}));
}

// ---------------------------------------------------------------------------------------
// Python's plistlib, another reader and writer

TEST_F(PropertyList, PythonReadsWhatWeWriteAndWeReadWhatItWritesInBinary)
{
    if (run("python3 -c 'import plistlib'") != 0) // the shell answers 127 without python3
        GTEST_SKIP() << "python3 with plistlib is not available";
    ASSERT_TRUE(settings()->writeToFile(phonePath("ours.plist"), true));
    writeFile(hostPath("ours.bplist"), binarySettings());
    std::string script = hostPath("check.py");
    writeFile(script, R"(import datetime, plistlib, sys
for path in sys.argv[2:]:
    d = plistlib.load(open(path, "rb"))
    assert d == {"enabled": True, "columns": 5, "negative": -3, "big": 18446744073709551615,
                 "scale": 0.75, "name": "Dock \u2713", "blob": b"\x01\x02", "pages": [{"icons": 24}, []],
                 "when": datetime.datetime(2014, 5, 13, 16, 53, 20)}, d
    assert d["enabled"] is True and type(d["columns"]) is int, d
plistlib.dump({"flag": False, "negative": -123456789012, "big": 18446744073709551615,
               "above": 9223372036854775808, "real": -1.5, "text": "\u00e9t\u00e9 \U0001F600 \u65e5\u672c",
               "data": bytes(range(256)), "date": datetime.datetime(2015, 6, 1, 12, 30, 45, 500000),
               "list": [{"deep": [[1]]}], "empty": {}}, open(sys.argv[1], "wb"), fmt=plistlib.FMT_BINARY)
)");
    ASSERT_EQ(run("python3 '" + script + "' '" + hostPath("python.plist") + "' '" +
                      hostPath("ours.plist") + "' '" + hostPath("ours.bplist") + "'",
                  hostPath("python.out")),
              0)
        << readFile(hostPath("python.out"));

    ASSERT_EQ(readFile(hostPath("python.plist")).rfind("bplist00", 0), 0u);
    NSDictionary *read = NSDictionary::dictionaryWithContentsOfFile(phonePath("python.plist"));
    NSDictionary *expected = NSDictionary::dictionaryWithObjectsForKeys(
        {{"flag"_ns, kCFBooleanFalse},
         {"negative"_ns, NSNumber::numberWithLongLong(-123456789012LL)},
         {"big"_ns, NSNumber::numberWithUnsignedInteger(18446744073709551615UL)},
         {"above"_ns, NSNumber::numberWithUnsignedInteger(9223372036854775808UL)},
         {"real"_ns, NSNumber::numberWithDouble(-1.5)},
         {"text"_ns, "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80 \xE6\x97\xA5\xE6\x9C\xAC"_ns},
         {"data"_ns, dataOf(kAllBytes)},
         {"date"_ns, NSDate::dateWithTimeIntervalSince1970(1433161845.5)},
         {"list"_ns, NSArray::arrayWithObjects({NSDictionary::dictionaryWithObjectsForKeys(
                         {{"deep"_ns, NSArray::arrayWithObjects({NSArray::arrayWithObjects(
                                          {NSNumber::numberWithInt(1)})})}})})},
         {"empty"_ns, NSDictionary::dictionary()}});
    EXPECT_TRUE(sim::objectsEqual(read, expected)) << sim::describe(read);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->objectForKey("flag"_ns), kCFBooleanFalse) << "a boolean, not the integer 0";
}

} // namespace
