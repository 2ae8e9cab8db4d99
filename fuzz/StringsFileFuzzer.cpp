// The strings files of the panel's bundle ("Settings.strings"), UTF-8 or UTF-16: read
// whole or refused whole, never in part. Every key and value read is valid UTF-8, since
// the bundle hands them to NSString.

#include "foundation/StringsFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Structure only (lead and continuation bytes), which is what a reader of the table
// depends on.
bool isValidUTF8(std::string_view text)
{
    for (std::size_t index = 0; index < text.size();) {
        auto lead = static_cast<unsigned char>(text[index]);
        std::size_t extra = lead < 0x80             ? 0
                            : (lead & 0xe0) == 0xc0 ? 1
                            : (lead & 0xf0) == 0xe0 ? 2
                            : (lead & 0xf8) == 0xf0 ? 3
                                                    : 4;
        if (extra == 4 || text.size() - index <= extra)
            return false;
        for (std::size_t next = 1; next <= extra; ++next)
            if ((static_cast<unsigned char>(text[index + next]) & 0xc0) != 0x80)
                return false;
        index += extra + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    auto table = sim::parseStringsFile({reinterpret_cast<const char *>(data), size});
    if (!table)
        return 0;
    for (const auto &[key, value] : *table)
        if (!isValidUTF8(key) || !isValidUTF8(value)) {
            std::fprintf(stderr, "fuzz: a strings table holds text that is not UTF-8\n");
            std::abort();
        }
    return 0;
}
