// Property lists through Foundation, XML or binary, within the depth, count and size
// limits. Reading is all or nothing; whatever is read must write in both formats and read
// back, and in binary (which keeps every value exactly) read back equal, unless it holds a
// value that equals nothing (NaN).

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSLog.h"
#include "foundation/NSPropertyList.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

void expectRoundTrip(id plist, NSPropertyListFormat format)
{
    NSString *why = nullptr;
    NSData *written = NSPropertyListSerialization::dataFromPropertyList(plist, format, &why);
    if (!written)
        return; // a few values the reader takes cannot be written (dates out of range)
    NSPropertyListFormat readFormat{};
    id reread = NSPropertyListSerialization::propertyListWithData(written, 0, &readFormat, nullptr);
    if (!reread)
        fail("a property list written by Foundation does not read back");
    if (readFormat != format)
        fail("a property list reads back in another format");
    if (format != NSPropertyListBinaryFormat_v1_0)
        return; // XML keeps whole seconds of dates and no sign of zero
    // A list that holds NaN equals nothing, not even a second reading of the same bytes, so
    // equality cannot judge it; nor can its bytes (shared objects are written once or at
    // every use).
    id twin = NSPropertyListSerialization::propertyListWithData(written, 0, nullptr, nullptr);
    if (!sim::objectsEqual(plist, reread) && sim::objectsEqual(reread, twin))
        fail("a binary property list reads back different");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool quiet = (sim::setLogToStandardError(false), true);
    (void)quiet;
    AutoreleasePool pool;
    NSData *input = NSData::dataWithBytesNoCopy(data, size);
    id plist = NSPropertyListSerialization::propertyListWithData(
        input, NSPropertyListMutableContainersAndLeaves, nullptr, nullptr);
    if (!plist)
        return 0;
    expectRoundTrip(plist, NSPropertyListBinaryFormat_v1_0);
    expectRoundTrip(plist, NSPropertyListXMLFormat_v1_0);
    return 0;
}
