// Property lists as the settings file uses them: a dictionary of about a thousand values
// (60 sections of 16 entries: booleans, small counts, reals, strings, a nested array) read
// and written in XML and binary, next to libplist alone doing the same (parsing into, or
// serialising from, its own tree), measured in the same run: the floor our conversion
// stands on. The file benchmarks write atomically (with its two fsyncs) and read back
// through NSDictionary, in a temporary device root.

#include "foundation/DeviceRoot.h"
#include "foundation/Foundation.h"
#include "foundation/NSPropertyList.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdlib>
#include <string>

namespace {

NSDictionary *settingsLikeDictionary()
{
    NSMutableDictionary *root = NSMutableDictionary::dictionary();
    for (int section = 0; section < 60; ++section) {
        NSMutableDictionary *entries = NSMutableDictionary::dictionary();
        for (int key = 0; key < 16; ++key) {
            NSString *name = NSString::stringWithFormat("option%02dOfSection%02d", key, section);
            id value = nil;
            switch (key % 5) {
            case 0:
                value = key % 2 ? kCFBooleanTrue : kCFBooleanFalse;
                break;
            case 1:
                value = NSNumber::numberWithUnsignedChar(static_cast<unsigned char>(key * 7));
                break;
            case 2:
                value = NSNumber::numberWithDouble(0.25 * key + section);
                break;
            case 3:
                value = NSString::stringWithFormat("com.example.section%d.value%d", section, key);
                break;
            default:
                value = NSArray::arrayWithObjects(
                    {NSNumber::numberWithInt(key), "item"_ns, NSNumber::numberWithInt(-section)});
            }
            entries->setObjectForKey(value, name);
        }
        root->setObjectForKey(entries, NSString::stringWithFormat("Section%02d", section));
    }
    return NSDictionary::dictionaryWithDictionary(root);
}

// Made once, kept for the process.
NSDictionary *settings()
{
    static NSDictionary *const dictionary = [] {
        AutoreleasePool pool;
        return retain(settingsLikeDictionary());
    }();
    return dictionary;
}

const std::string &serialised(NSPropertyListFormat format)
{
    static const std::string xml = [] {
        AutoreleasePool pool;
        NSData *data = NSPropertyListSerialization::dataFromPropertyList(
            settings(), NSPropertyListXMLFormat_v1_0, nullptr);
        return std::string(static_cast<const char *>(data->bytes()), data->length());
    }();
    static const std::string binary = [] {
        AutoreleasePool pool;
        NSData *data = NSPropertyListSerialization::dataFromPropertyList(
            settings(), NSPropertyListBinaryFormat_v1_0, nullptr);
        return std::string(static_cast<const char *>(data->bytes()), data->length());
    }();
    return format == NSPropertyListXMLFormat_v1_0 ? xml : binary;
}

void parse(benchmark::State &state, NSPropertyListFormat format)
{
    const std::string &bytes = serialised(format);
    for (auto _ : state) {
        AutoreleasePool pool;
        id plist = NSPropertyListSerialization::propertyListWithData(
            NSData::dataWithBytesNoCopy(bytes.data(), bytes.size()), NSPropertyListImmutable,
            nullptr, nullptr);
        if (!plist)
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(plist);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void libplistParse(benchmark::State &state, NSPropertyListFormat format)
{
    const std::string &bytes = serialised(format);
    for (auto _ : state) {
        plist_t root = nullptr;
        if (format == NSPropertyListXMLFormat_v1_0)
            plist_from_xml(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
        else
            plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
        benchmark::DoNotOptimize(root);
        plist_free(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void serialise(benchmark::State &state, NSPropertyListFormat format)
{
    for (auto _ : state) {
        AutoreleasePool pool;
        NSData *data =
            NSPropertyListSerialization::dataFromPropertyList(settings(), format, nullptr);
        if (!data)
            state.SkipWithError("serialise failed");
        benchmark::DoNotOptimize(data);
    }
}

void libplistSerialise(benchmark::State &state, NSPropertyListFormat format)
{
    const std::string &bytes = serialised(format);
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    for (auto _ : state) {
        char *out = nullptr;
        std::uint32_t length = 0;
        if (format == NSPropertyListXMLFormat_v1_0) {
            plist_to_xml(root, &out, &length);
            benchmark::DoNotOptimize(out);
            plist_to_xml_free(out);
        } else {
            plist_to_bin(root, &out, &length);
            benchmark::DoNotOptimize(out);
            plist_to_bin_free(out);
        }
    }
    plist_free(root);
}

BENCHMARK_CAPTURE(parse, xml, NSPropertyListXMLFormat_v1_0);
BENCHMARK_CAPTURE(libplistParse, xml_reference, NSPropertyListXMLFormat_v1_0);
BENCHMARK_CAPTURE(parse, binary, NSPropertyListBinaryFormat_v1_0);
BENCHMARK_CAPTURE(libplistParse, binary_reference, NSPropertyListBinaryFormat_v1_0);
BENCHMARK_CAPTURE(serialise, xml, NSPropertyListXMLFormat_v1_0);
BENCHMARK_CAPTURE(libplistSerialise, xml_reference, NSPropertyListXMLFormat_v1_0);
BENCHMARK_CAPTURE(serialise, binary, NSPropertyListBinaryFormat_v1_0);
BENCHMARK_CAPTURE(libplistSerialise, binary_reference, NSPropertyListBinaryFormat_v1_0);

class DeviceRoot {
public:
    DeviceRoot()
    {
        std::string pattern = "/tmp/plist-bench-XXXXXX";
        if (mkdtemp(pattern.data()))
            m_path = pattern;
        sim::setDeviceRoot(m_path);
        (void)sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences"));
    }
    ~DeviceRoot() { (void)std::system(("rm -rf '" + m_path + "'").c_str()); }

private:
    std::string m_path;
};

void writeFileAtomically(benchmark::State &state)
{
    DeviceRoot root;
    NSString *path = "/var/mobile/Library/Preferences/com.example.bench.plist"_ns;
    for (auto _ : state)
        if (!settings()->writeToFile(path, true))
            state.SkipWithError("write failed");
}
BENCHMARK(writeFileAtomically)->Unit(benchmark::kMicrosecond);

void readFile(benchmark::State &state)
{
    DeviceRoot root;
    NSString *path = "/var/mobile/Library/Preferences/com.example.bench.plist"_ns;
    if (!settings()->writeToFile(path, true))
        state.SkipWithError("write failed");
    for (auto _ : state) {
        AutoreleasePool pool;
        NSDictionary *read = NSDictionary::dictionaryWithContentsOfFile(path);
        if (!read)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(readFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
