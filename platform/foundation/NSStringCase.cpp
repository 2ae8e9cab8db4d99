// The case mappings of NSString, through ICU.

#include "foundation/NSString.h"

#include <unicode/ustring.h>

#include <vector>

namespace {

using CaseMapping = int32_t (*)(UChar *, int32_t, const UChar *, int32_t, const char *,
                                UErrorCode *);

// A mapping may lengthen the text ("ß" becomes "SS"), so the output is sized by asking.
NSString *mapCase(const std::string &text, CaseMapping mapping)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t units = 0;
    u_strFromUTF8(nullptr, 0, &units, text.data(), static_cast<int32_t>(text.size()), &status);
    std::vector<UChar> source(units + 1);
    status = U_ZERO_ERROR;
    u_strFromUTF8(source.data(), units + 1, nullptr, text.data(), static_cast<int32_t>(text.size()),
                  &status);
    status = U_ZERO_ERROR;
    int32_t mappedUnits = mapping(nullptr, 0, source.data(), units, "", &status);
    std::vector<UChar> mapped(mappedUnits + 1);
    status = U_ZERO_ERROR;
    mapping(mapped.data(), mappedUnits + 1, source.data(), units, "", &status);
    int32_t bytes = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &bytes, mapped.data(), mappedUnits, &status);
    std::string result(bytes, '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(result.data(), bytes + 1, nullptr, mapped.data(), mappedUnits, &status);
    return NSString::stringWithString(result);
}

} // namespace

NSString *NSString::lowercaseString() const
{
    return mapCase(m_text, u_strToLower);
}

NSString *NSString::uppercaseString() const
{
    return mapCase(m_text, u_strToUpper);
}
