#include "settings-panel/NSString+Camel.h"

#include "effects/CVCategory.h"

#include <string>

namespace {

// Font names are ASCII; any other character counts as not upper case.
bool isUpper(char character)
{
    return character >= 'A' && character <= 'Z';
}

NSString *camelCaseToSpaced(NSString *self, SEL)
{
    return CVCamelCaseToSpaced(self);
}

const bool kCategoryAdded = [] {
    CVAddCategoryMethod(NSString::class_(), "camelCaseToSpaced", camelCaseToSpaced);
    return true;
}();

} // namespace

NSString *CVCamelCaseToSpaced(NSString *text)
{
    if (!text)
        return NSString::stringWithString("");
    const std::string &input = text->str();
    std::string output;
    for (std::size_t index = 0; index < input.size(); ++index) {
        char character = input[index];
        if (index > 0) {
            bool previousUpper = isUpper(input[index - 1]);
            if (!previousUpper && isUpper(character))
                output += ' ';
            else if (previousUpper && !isUpper(character) && output.size() >= 2 &&
                     output[output.size() - 2] != ' ')
                output.insert(output.size() - 1, " ");
        }
        output += character;
    }
    return NSString::stringWithString(output);
}
